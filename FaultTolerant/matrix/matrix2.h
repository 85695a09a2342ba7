#pragma once
// The 2x2 complex matrix of the fault-tolerant conversion: window products, the targets and
// products of the exhaustive search, the knots and factors of Solovay-Kitaev. One type and one
// product for all of them, so that a matrix handed from one to the other needs no conversion.

#include <cmath>
#include <complex>
#include <cstdio>

/// A 2x2 complex matrix in row-major order: m00, m01, m10, m11. In memory the entries are eight
/// doubles, real and imaginary parts interleaved: re m00, im m00, re m01, im m01, re m10, ...
/// Value-initialised to zero.
struct Matrix2 {
    std::complex<double> e[4] = {};

    std::complex<double>& operator()(int r, int c) { return e[2 * r + c]; }
    const std::complex<double>& operator()(int r, int c) const { return e[2 * r + c]; }

    /// \brief Conjugate transpose.
    Matrix2 Adjoint() const;
    /// \brief Transpose.
    Matrix2 Transpose() const;
    /// \brief Determinant by Gaussian elimination with partial pivoting (as for any square
    /// matrix; 0 when a pivot column is all zero).
    std::complex<double> Determinant() const;
    /// \brief Entry-wise equality (exact).
    bool operator==(const Matrix2& other) const;
};

/// \brief The matrix with rows (m00, m01) and (m10, m11). A constant expression, so that
/// constant matrices are built at compile time.
constexpr Matrix2 matrix2_of(std::complex<double> m00, std::complex<double> m01,
                             std::complex<double> m10, std::complex<double> m11) {
    return Matrix2{{m00, m01, m10, m11}};
}
/// \brief The identity.
constexpr Matrix2 matrix2_identity() {
    return matrix2_of(1.0, 0.0, 0.0, 1.0);
}

/// \brief Product a x b. Each entry is summed from +0 in the order of k (so an entry whose two
/// terms are exact zeros is +0): every caller sees the same rounding. O(1).
Matrix2 operator*(const Matrix2& a, const Matrix2& b);
/// \brief Every entry times `scalar`.
Matrix2 operator*(std::complex<double> scalar, const Matrix2& m);

/// \brief Inverse: adjugate divided by the determinant (no test for a singular matrix).
Matrix2 minv(const Matrix2& a);

/// \brief |tr(a^dagger b)|^2; 4 for unitaries equal up to a global phase. The inner loop of the
/// exhaustive search, hence inline and written on the real and imaginary parts.
inline double md(const Matrix2& a, const Matrix2& b) {
    double re = 0.0, im = 0.0;
    for (int k = 0; k < 4; ++k) {
        const double ar = a.e[k].real(), ai = -a.e[k].imag();  // conj(a)
        const double br = b.e[k].real(), bi = b.e[k].imag();
        re = re + (ar * br - ai * bi);
        im = im + (ar * bi + ai * br);
    }
    return re * re + im * im;
}

/// \brief The distance sqrt((2 - sqrt(x)) / 2) for a value x of md.
inline double md_to_tri(double x) {
    // NOTE: for matrices equal up to phase, md can round to just above 4; clamping keeps the
    // distance 0 instead of NaN (a NaN would also break the ordered maps keyed by distance).
    const double h = (2.0 - std::sqrt(x)) / 2.0;
    return h < 0.0 ? 0.0 : std::sqrt(h);
}

/// \brief Phase-blind distance sqrt((2 - sqrt(md(a, b))) / 2) in [0, 1] for unitaries; 0 exactly
/// when a and b differ by a global phase. Invariant under multiplying both by one unitary.
inline double md_tri(const Matrix2& a, const Matrix2& b) {
    return md_to_tri(md(a, b));
}

/// \brief Prints `m` on standard output, one row a line, "(%6.5e, %6.5e)   (%6.5e, %6.5e)  ".
void pm(const Matrix2& m);
/// \brief Writes `m` to `file`, one row a line, "(%19.15e, %19.15e)   (%19.15e, %19.15e)".
void pm(const Matrix2& m, FILE* file);

// ---- The names each search knows the type by ----
//
// The exhaustive search calls it MtxTavex (the eight interleaved doubles), Solovay-Kitaev and
// the conversion Matrix<std::complex<double>> or CMatrix; all are this one type, always 2x2, so
// the conversions between them are plain copies.

using MtxTavex = Matrix2;
template <typename T>
using Matrix = Matrix2;
using CMatrix = Matrix2;

/// \brief Copies `m` into `out` (the search's form of the same matrix).
inline void matrix_to_mtxtavex(const CMatrix& m, MtxTavex& out) {
    out = m;
}
/// \brief Copies `m` into `out` (the conversion's form of the same matrix).
inline void mtxtavex_to_matrix(const MtxTavex& m, CMatrix& out) {
    out = m;
}
/// \brief Sets `m` to zero.
inline void mz(MtxTavex& m) {
    m = Matrix2{};
}
/// \brief Sets `m` to the identity.
inline void mi(MtxTavex& m) {
    m = matrix2_identity();
}
/// \brief Product a x b.
inline MtxTavex mm(MtxTavex a, MtxTavex b) {
    return a * b;
}
