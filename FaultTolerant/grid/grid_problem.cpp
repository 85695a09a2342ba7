// The two-dimensional grid problem by LLL reduction and Fincke-Pohst enumeration.

#include "FaultTolerant/grid/grid_problem.h"

#include <algorithm>
#include <array>
#include <utility>

namespace grid {

namespace {

using boost::multiprecision::ceil;
using boost::multiprecision::floor;
using boost::multiprecision::round;
using boost::multiprecision::sqrt;

constexpr int kMaxReductionSteps = 20000;

Real dot(const Real (&a)[4], const Real (&b)[4]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
}

void apply(const Ellipse& e, const Real& x, const Real& y, Real& ox, Real& oy) {
    ox = e.l[0][0] * x + e.l[0][1] * y;
    oy = e.l[1][0] * x + e.l[1][1] * y;
}

/// Interval of the real s with |s a + w|² ≤ r2 (a, w in the plane); false when empty. With
/// a = 0 the interval is everything or nothing.
bool quadratic_interval(const Real (&a)[2], const Real (&w)[2], const Real& r2, Real& lo, Real& hi,
                        bool& bounded) {
    const Real aa = a[0] * a[0] + a[1] * a[1];
    const Real aw = a[0] * w[0] + a[1] * w[1];
    const Real ww = w[0] * w[0] + w[1] * w[1];
    if (aa == 0) {
        bounded = false;
        return ww <= r2;
    }
    const Real disc = aw * aw - aa * (ww - r2);
    if (disc < 0) return false;
    const Real root = sqrt(disc);
    lo = (-aw - root) / aa;
    hi = (-aw + root) / aa;
    bounded = true;
    return true;
}

/// Lists the lattice points y (coefficients over the reduced basis) of the ellipsoid
/// |V y − t|² ≤ 2 r2 whose two halves (the planes of u and of u•) each satisfy
/// |part(V y − t)|² ≤ r2. The two outer coordinates run over the ellipsoid's ranges; the two
/// inner ones over the exact intersection of the two half-conditions, so that a region lying
/// along a short lattice direction (an angle near a multiple of π/8, where the solutions come in
/// long rows) costs one step per row instead of one per point of the row.
struct Enumeration {
    const Real (*basis)[4];
    const Real (*mu)[4];
    const Real* gs_norm;
    const Real* target;
    Real r2;
    Real center[4];
    Real y[4];
    size_t limit;
    long long max_nodes;
    long long nodes = 0;
    bool complete = true;
    std::vector<std::array<Real, 4>> found;

    /// Offset V (y restricted to coordinates above `i`) − t.
    void offset(int i, Real (&w)[4]) const {
        for (int c = 0; c < 4; ++c) {
            w[c] = -target[c];
            for (int j = i + 1; j < 4; ++j) w[c] += y[j] * basis[j][c];
        }
    }

    /// Narrows [lo, hi] for coordinate i (0 or 1) by both half-conditions.
    bool narrow(int i, Real& lo, Real& hi) const {
        Real w[4];
        offset(i, w);
        for (int half = 0; half < 4; half += 2) {
            Real l, h;
            bool bounded = false;
            if (i == 0) {
                const Real a[2] = {basis[0][half], basis[0][half + 1]};
                const Real ww[2] = {w[half], w[half + 1]};
                if (!quadratic_interval(a, ww, r2, l, h, bounded)) return false;
            } else {
                // Coordinate 1 with coordinate 0 free: only the part of the offset across
                // b0 counts, |y1 (b1·n) + w·n| ≤ r along the unit normal n of b0.
                const Real a0 = basis[0][half], a1 = basis[0][half + 1];
                const Real norm = sqrt(a0 * a0 + a1 * a1);
                if (norm == 0) continue;
                const Real n0 = -a1 / norm, n1 = a0 / norm;
                const Real slope[2] = {basis[1][half] * n0 + basis[1][half + 1] * n1, 0};
                const Real rest[2] = {w[half] * n0 + w[half + 1] * n1, 0};
                if (!quadratic_interval(slope, rest, r2, l, h, bounded)) return false;
            }
            if (!bounded) continue;
            if (l > lo) lo = l;
            if (h < hi) hi = h;
        }
        return lo <= hi;
    }

    void walk(int i, const Real& budget) {
        if (!complete) return;
        // Centre of coordinate i given the coordinates above it.
        Real c = center[i];
        for (int j = i + 1; j < 4; ++j) c -= mu[j][i] * (y[j] - center[j]);
        const Real width = sqrt(budget / gs_norm[i]);
        Real lo = c - width, hi = c + width;
        if (i <= 1 && !narrow(i, lo, hi)) return;
        const Real first = ceil(lo), last = floor(hi);
        for (Real v = first; v <= last; v += 1) {
            if (++nodes > max_nodes || found.size() >= limit) {
                complete = false;
                return;
            }
            y[i] = v;
            const Real d = v - c;
            const Real rest = budget - gs_norm[i] * d * d;
            if (rest < 0) continue;
            if (i == 0)
                found.push_back({y[0], y[1], y[2], y[3]});
            else
                walk(i - 1, rest);
            if (!complete) return;
        }
    }
};

}  // namespace

Real Ellipse::form(const Real& x, const Real& y) const {
    Real a, b;
    apply(*this, x - cx, y - cy, a, b);
    return a * a + b * b;
}

void zomega_embed(const ZOmega& u, Real& re, Real& im, Real& re2, Real& im2) {
    static const Real r = sqrt(Real(2)) / 2;
    const Real c0(u.c[0]), c1(u.c[1]), c2(u.c[2]), c3(u.c[3]);
    re = c0 + (c1 - c3) * r;
    im = c2 + (c1 + c3) * r;
    // u• has ω ↦ −ω.
    re2 = c0 - (c1 - c3) * r;
    im2 = c2 - (c1 + c3) * r;
}

GridProblem::GridProblem(const Ellipse& first, const Ellipse& second)
    : first_(first), second_(second) {
    for (int j = 0; j < 4; ++j) {
        ZOmega e{0, 0, 0, 0};
        e.c[j] = 1;
        Real re, im, re2, im2;
        zomega_embed(e, re, im, re2, im2);
        apply(first_, re, im, basis_[j][0], basis_[j][1]);
        apply(second_, re2, im2, basis_[j][2], basis_[j][3]);
        for (int i = 0; i < 4; ++i) coords_[j][i] = (i == j) ? 1 : 0;
    }
    apply(first_, first_.cx, first_.cy, target_[0], target_[1]);
    apply(second_, second_.cx, second_.cy, target_[2], target_[3]);
    reduce();
}

void GridProblem::gram_schmidt() {
    Real star[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 4; ++c) star[i][c] = basis_[i][c];
        for (int j = 0; j < i; ++j) {
            mu_[i][j] = dot(basis_[i], star[j]) / gs_norm_[j];
            for (int c = 0; c < 4; ++c) star[i][c] -= mu_[i][j] * star[j][c];
        }
        gs_norm_[i] = dot(star[i], star[i]);
    }
}

// LLL with δ = 0.99 on the embedded basis, with the Gram-Schmidt data updated in place
// (size reduction and swap formulas); it is recomputed from the final basis for the
// enumeration. The embedded vectors keep the precision loss to about the square root of the
// ellipsoid's aspect ratio (a Gram matrix would square it).
void GridProblem::reduce() {
    const Real delta = Real(99) / 100;
    gram_schmidt();
    auto size_reduce = [this](int k, int l) {
        const Real r = round(mu_[k][l]);
        if (r == 0) return;
        const Integer ri = r.convert_to<Integer>();
        for (int c = 0; c < 4; ++c) {
            basis_[k][c] -= r * basis_[l][c];
            coords_[k][c] -= ri * coords_[l][c];
        }
        mu_[k][l] -= r;
        for (int i = 0; i < l; ++i) mu_[k][i] -= r * mu_[l][i];
    };
    auto swap = [this](int k) {
        for (int c = 0; c < 4; ++c) {
            std::swap(basis_[k][c], basis_[k - 1][c]);
            std::swap(coords_[k][c], coords_[k - 1][c]);
        }
        for (int j = 0; j < k - 1; ++j) std::swap(mu_[k][j], mu_[k - 1][j]);
        const Real m = mu_[k][k - 1];
        const Real b = gs_norm_[k] + m * m * gs_norm_[k - 1];
        mu_[k][k - 1] = m * gs_norm_[k - 1] / b;
        gs_norm_[k] = gs_norm_[k - 1] * gs_norm_[k] / b;
        gs_norm_[k - 1] = b;
        for (int i = k + 1; i < 4; ++i) {
            const Real t = mu_[i][k];
            mu_[i][k] = mu_[i][k - 1] - m * t;
            mu_[i][k - 1] = t + mu_[k][k - 1] * mu_[i][k];
        }
    };
    int k = 1;
    for (int step = 0; k < 4 && step < kMaxReductionSteps; ++step) {
        size_reduce(k, k - 1);
        if (gs_norm_[k] < (delta - mu_[k][k - 1] * mu_[k][k - 1]) * gs_norm_[k - 1]) {
            swap(k);
            k = std::max(k - 1, 1);
            continue;
        }
        for (int l = k - 2; l >= 0; --l) size_reduce(k, l);
        ++k;
    }
    gram_schmidt();
}

bool GridProblem::solutions(int k, size_t limit, long long max_nodes, std::vector<ZOmega>& out,
                            long long& nodes) const {
    out.clear();
    // Scale √2^k: the ellipsoid |V y − √2^k t|² ≤ 2·2^k holds every solution.
    const Real scale = sqrt(boost::multiprecision::pow(Real(2), k));
    Real t[4];
    for (int c = 0; c < 4; ++c) t[c] = target_[c] * scale;
    // Coordinates of t in the reduced basis: τ_i = <t, b*_i>/|b*_i|² = y_i + Σ_{j>i} mu_ji y_j.
    Real star[4][4], tau[4];
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 4; ++c) star[i][c] = basis_[i][c];
        for (int j = 0; j < i; ++j)
            for (int c = 0; c < 4; ++c) star[i][c] -= mu_[i][j] * star[j][c];
        tau[i] = dot(t, star[i]) / gs_norm_[i];
    }
    Enumeration e{basis_,    mu_, gs_norm_, t, scale * scale, {}, {}, limit * 8 + 64,
                  max_nodes, 0,   true,     {}};
    for (int i = 3; i >= 0; --i) {
        e.center[i] = tau[i];
        for (int j = i + 1; j < 4; ++j) e.center[i] -= mu_[j][i] * e.center[j];
    }
    e.walk(3, 2 * scale * scale);
    nodes += e.nodes;

    const Real inverse_scale = 1 / scale;
    for (const auto& y : e.found) {
        ZOmega u{0, 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            const Integer yi = y[i].convert_to<Integer>();
            if (yi == 0) continue;
            for (int c = 0; c < 4; ++c) u.c[c] += yi * coords_[i][c];
        }
        Real re, im, re2, im2;
        zomega_embed(u, re, im, re2, im2);
        if (first_.form(re * inverse_scale, im * inverse_scale) > 1) continue;
        if (second_.form(re2 * inverse_scale, im2 * inverse_scale) > 1) continue;
        if (out.size() >= limit) return false;
        out.push_back(std::move(u));
    }
    return e.complete;
}

}  // namespace grid
