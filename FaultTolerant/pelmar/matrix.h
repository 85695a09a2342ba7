#pragma once
// Dense complex matrix (column-major) used by the fault-tolerant conversion, and the complex
// helpers on plain (re, im) pairs used by the exhaustive search.

#include <complex>
#include <iostream>
#include <vector>

template <typename T>
class Matrix {
  public:
    std::vector<T> data;  // element (r, c) at r + c * rows
    unsigned rows = 0;
    unsigned cols = 0;
    std::vector<T> work;  // scratch row of cols entries

    Matrix() = default;
    Matrix(unsigned rows, unsigned cols)
        : data(size_t(rows) * cols, T(0)), rows(rows), cols(cols), work(cols, T(0)) {}

    T& operator()(unsigned r, unsigned c) { return data[r + size_t(c) * rows]; }
    const T& operator()(unsigned r, unsigned c) const { return data[r + size_t(c) * rows]; }

    /// \brief Matrix product in place; reports incompatible shapes on the error stream.
    Matrix& operator*=(const Matrix& other) {
        if (cols != other.rows) {
            std::cerr << "Incompatible matrices passed to Matrix *=\n";
            return *this;
        }
        *this = *this * other;
        return *this;
    }

    /// \brief Matrix product. NOTE: incompatible shapes are reported (as *= does) and give a
    /// zero matrix instead of reading past the end of the operands.
    Matrix operator*(const Matrix& other) const {
        Matrix result(rows, other.cols);
        if (cols != other.rows) {
            std::cerr << "Incompatible matrices passed to Matrix *\n";
            return result;
        }
        for (unsigned c = 0; c < other.cols; ++c)
            for (unsigned k = 0; k < cols; ++k) {
                const T b = other(k, c);
                for (unsigned r = 0; r < rows; ++r) result(r, c) += (*this)(r, k) * b;
            }
        return result;
    }

    /// \brief Element-wise sum. NOTE: incompatible shapes are reported and leave *this's copy
    /// unchanged instead of reading past the end of the other operand.
    Matrix operator+(const Matrix& other) const {
        Matrix result = *this;
        if (rows != other.rows || cols != other.cols) {
            std::cerr << "Incompatible matrices passed to Matrix +\n";
            return result;
        }
        for (size_t i = 0; i < data.size(); ++i) result.data[i] += other.data[i];
        return result;
    }

    /// \brief Conjugate transpose.
    Matrix Adjoint() const {
        Matrix result(cols, rows);
        for (unsigned r = 0; r < rows; ++r)
            for (unsigned c = 0; c < cols; ++c) result(c, r) = std::conj((*this)(r, c));
        return result;
    }

    /// \brief Determinant by Gaussian elimination with partial pivoting.
    T Determinant() const {
        if (rows != cols) return T(0);
        Matrix m = *this;
        T det(1);
        for (unsigned k = 0; k < rows; ++k) {
            unsigned pivot = k;
            for (unsigned r = k + 1; r < rows; ++r)
                if (std::abs(m(r, k)) > std::abs(m(pivot, k))) pivot = r;
            if (std::abs(m(pivot, k)) == 0.0) return T(0);
            if (pivot != k) {
                for (unsigned c = 0; c < cols; ++c) std::swap(m(k, c), m(pivot, c));
                det = -det;
            }
            det *= m(k, k);
            for (unsigned r = k + 1; r < rows; ++r) {
                T f = m(r, k) / m(k, k);
                for (unsigned c = k; c < cols; ++c) m(r, c) -= f * m(k, c);
            }
        }
        return det;
    }
};

template <typename T>
Matrix<T> operator*(const T& scalar, const Matrix<T>& m) {
    Matrix<T> result = m;
    for (T& x : result.data) x *= scalar;
    return result;
}

using CMatrix = Matrix<std::complex<double>>;

/// Complex number as a plain pair of doubles, for the exhaustive search's inner loops.
struct cplx {
    double re;
    double im;
};

/// *out = a * b
inline void cm(cplx a, cplx b, cplx* out) {
    *out = {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
/// *out = a + b
inline void ca(cplx a, cplx b, cplx* out) {
    *out = {a.re + b.re, a.im + b.im};
}
/// *out = a - b
inline void cs(cplx a, cplx b, cplx* out) {
    *out = {a.re - b.re, a.im - b.im};
}
/// *out = conj(a)
inline void cc(cplx a, cplx* out) {
    *out = {a.re, -a.im};
}
/// *out = 0
inline void cz(cplx* out) {
    *out = {0.0, 0.0};
}
