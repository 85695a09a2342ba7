#pragma once
// 2x2 complex matrix as eight doubles, the working type of the exhaustive search, and the matrix
// helpers on it.

#include <cmath>
#include <cstdio>

#include "FaultTolerant/pelmar/matrix.h"

/// A 2x2 complex matrix, row-major with real and imaginary parts interleaved:
/// re m00, im m00, re m01, im m01, re m10, im m10, re m11, im m11.
struct MtxTavex {
    double v[8];
};

/// \brief Element-wise copy of a 2x2 complex matrix into `out`.
void matrix_to_mtxtavex(const CMatrix& m, MtxTavex& out);
/// \brief Element-wise copy of `m` into the 2x2 complex matrix `out` (resized to 2x2).
void mtxtavex_to_matrix(const MtxTavex& m, CMatrix& out);

/// \brief Sets `m` to the zero matrix.
void mz(MtxTavex& m);
/// \brief Sets `m` to the identity.
void mi(MtxTavex& m);
/// \brief Product a x b.
MtxTavex mm(MtxTavex a, MtxTavex b);
/// \brief Inverse: adjugate divided by the determinant.
MtxTavex minv(MtxTavex a);
/// \brief |tr(a^dagger b)|^2; 4 for unitaries equal up to a global phase.
inline double md(MtxTavex a, MtxTavex b) {
    cplx tr;
    cz(&tr);
    for (int k = 0; k < 4; ++k) {
        cplx conj_a, term;
        cc({a.v[2 * k], a.v[2 * k + 1]}, &conj_a);
        cm(conj_a, {b.v[2 * k], b.v[2 * k + 1]}, &term);
        ca(tr, term, &tr);
    }
    return tr.re * tr.re + tr.im * tr.im;
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
inline double md_tri(MtxTavex a, MtxTavex b) {
    return md_to_tri(md(a, b));
}
/// \brief Prints `m` on standard output, one row a line, "(%6.5e, %6.5e)   (%6.5e, %6.5e)  ".
void pm(MtxTavex m);
/// \brief Writes `m` to `file`, one row a line, "(%19.15e, %19.15e)   (%19.15e, %19.15e)".
void pm(MtxTavex m, FILE* file);
