#include "FaultTolerant/tavex/mtx_tavex.h"

#include <cmath>

namespace {

cplx at(const MtxTavex& m, int k) {
    return {m.v[2 * k], m.v[2 * k + 1]};
}

void put(MtxTavex& m, int k, cplx c) {
    m.v[2 * k] = c.re;
    m.v[2 * k + 1] = c.im;
}

/// a * b + c * d
cplx dot2(cplx a, cplx b, cplx c, cplx d) {
    cplx p, q, r;
    cm(a, b, &p);
    cm(c, d, &q);
    ca(p, q, &r);
    return r;
}

}  // namespace

void matrix_to_mtxtavex(const CMatrix& m, MtxTavex& out) {
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            out.v[4 * r + 2 * c] = m(r, c).real();
            out.v[4 * r + 2 * c + 1] = m(r, c).imag();
        }
}

void mtxtavex_to_matrix(const MtxTavex& m, CMatrix& out) {
    if (out.rows != 2 || out.cols != 2) out = CMatrix(2, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            out(r, c) = std::complex<double>(m.v[4 * r + 2 * c], m.v[4 * r + 2 * c + 1]);
}

void mz(MtxTavex& m) {
    for (double& x : m.v) x = 0.0;
}

void mi(MtxTavex& m) {
    mz(m);
    m.v[0] = 1.0;
    m.v[6] = 1.0;
}

MtxTavex mm(MtxTavex a, MtxTavex b) {
    MtxTavex p;
    put(p, 0, dot2(at(a, 0), at(b, 0), at(a, 1), at(b, 2)));
    put(p, 1, dot2(at(a, 0), at(b, 1), at(a, 1), at(b, 3)));
    put(p, 2, dot2(at(a, 2), at(b, 0), at(a, 3), at(b, 2)));
    put(p, 3, dot2(at(a, 2), at(b, 1), at(a, 3), at(b, 3)));
    return p;
}

MtxTavex minv(MtxTavex a) {
    cplx ad, bc, det;
    cm(at(a, 0), at(a, 3), &ad);
    cm(at(a, 1), at(a, 2), &bc);
    cs(ad, bc, &det);
    // 1 / det = conj(det) / |det|^2
    const double n = det.re * det.re + det.im * det.im;
    const cplx inv = {det.re / n, -det.im / n};
    cplx zero, neg_b, neg_c;
    cz(&zero);
    cs(zero, at(a, 1), &neg_b);
    cs(zero, at(a, 2), &neg_c);
    const cplx adj[4] = {at(a, 3), neg_b, neg_c, at(a, 0)};
    MtxTavex r;
    for (int k = 0; k < 4; ++k) {
        cplx e;
        cm(adj[k], inv, &e);
        put(r, k, e);
    }
    return r;
}

void pm(MtxTavex m) {
    for (int r = 0; r < 2; ++r)
        std::printf("(%6.5e, %6.5e)   (%6.5e, %6.5e)  \n", m.v[4 * r], m.v[4 * r + 1],
                    m.v[4 * r + 2], m.v[4 * r + 3]);
}

void pm(MtxTavex m, FILE* file) {
    for (int r = 0; r < 2; ++r)
        std::fprintf(file, "(%19.15e, %19.15e)   (%19.15e, %19.15e)\n", m.v[4 * r], m.v[4 * r + 1],
                     m.v[4 * r + 2], m.v[4 * r + 3]);
}
