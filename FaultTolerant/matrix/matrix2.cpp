#include "FaultTolerant/matrix/matrix2.h"

#include <utility>

namespace {

using cd = std::complex<double>;

/// a * b on the real and imaginary parts (the same rounding as std::complex for finite values,
/// without its NaN recovery branch in the search's inner loop).
inline cd times(cd a, cd b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

inline cd plus(cd a, cd b) {
    return {a.real() + b.real(), a.imag() + b.imag()};
}

inline cd minus(cd a, cd b) {
    return {a.real() - b.real(), a.imag() - b.imag()};
}

}  // namespace

Matrix2 Matrix2::Adjoint() const {
    return matrix2_of(std::conj(e[0]), std::conj(e[2]), std::conj(e[1]), std::conj(e[3]));
}

Matrix2 Matrix2::Transpose() const {
    return matrix2_of(e[0], e[2], e[1], e[3]);
}

cd Matrix2::Determinant() const {
    Matrix2 m = *this;
    cd det(1);
    for (int k = 0; k < 2; ++k) {
        int pivot = k;
        for (int r = k + 1; r < 2; ++r)
            if (std::abs(m(r, k)) > std::abs(m(pivot, k))) pivot = r;
        if (std::abs(m(pivot, k)) == 0.0) return cd(0);
        if (pivot != k) {
            for (int c = 0; c < 2; ++c) std::swap(m(k, c), m(pivot, c));
            det = -det;
        }
        det *= m(k, k);
        for (int r = k + 1; r < 2; ++r) {
            const cd f = m(r, k) / m(k, k);
            for (int c = k; c < 2; ++c) m(r, c) -= f * m(k, c);
        }
    }
    return det;
}

bool Matrix2::operator==(const Matrix2& other) const {
    for (int k = 0; k < 4; ++k)
        if (e[k] != other.e[k]) return false;
    return true;
}

Matrix2 operator*(const Matrix2& a, const Matrix2& b) {
    Matrix2 p;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            p(r, c) = plus(plus(cd(0.0, 0.0), times(a(r, 0), b(0, c))), times(a(r, 1), b(1, c)));
    return p;
}

Matrix2 operator*(cd scalar, const Matrix2& m) {
    Matrix2 result = m;
    for (cd& x : result.e) x *= scalar;
    return result;
}

Matrix2 minv(const Matrix2& a) {
    const cd det = minus(times(a.e[0], a.e[3]), times(a.e[1], a.e[2]));
    // 1 / det = conj(det) / |det|^2
    const double n = det.real() * det.real() + det.imag() * det.imag();
    const cd inverse(det.real() / n, -det.imag() / n);
    const cd zero(0.0, 0.0);
    const cd adjugate[4] = {a.e[3], minus(zero, a.e[1]), minus(zero, a.e[2]), a.e[0]};
    Matrix2 r;
    for (int k = 0; k < 4; ++k) r.e[k] = times(adjugate[k], inverse);
    return r;
}

void pm(const Matrix2& m) {
    for (int r = 0; r < 2; ++r)
        std::printf("(%6.5e, %6.5e)   (%6.5e, %6.5e)  \n", m(r, 0).real(), m(r, 0).imag(),
                    m(r, 1).real(), m(r, 1).imag());
}

void pm(const Matrix2& m, FILE* file) {
    for (int r = 0; r < 2; ++r)
        std::fprintf(file, "(%19.15e, %19.15e)   (%19.15e, %19.15e)\n", m(r, 0).real(),
                     m(r, 0).imag(), m(r, 1).real(), m(r, 1).imag());
}
