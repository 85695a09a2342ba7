#pragma once
// The two-dimensional grid problem: all u in Z[ω] with u in one ellipse and its √2-conjugate u•
// in another, at every scale √2^k. Solved by lattice enumeration: Z[ω] embeds in R⁴ as
// u ↦ (u, u•); the two ellipses bound a four-dimensional ellipsoid, whose lattice points are
// listed with an LLL-reduced basis (reduced once, since scaling does not change its shape).

#include <vector>

#include "FaultTolerant/grid/extended_real.h"
#include "FaultTolerant/grid/ring.h"

namespace grid {

/// {p in C : |L (p − c)| ≤ 1}, L a real invertible 2×2 matrix acting on (Re, Im).
struct Ellipse {
    Real cx = 0, cy = 0;
    Real l[2][2] = {{1, 0}, {0, 1}};

    /// \brief |L (p − c)|² for p = (x, y).
    Real form(const Real& x, const Real& y) const;
};

/// The real coordinates of an element of Z[ω] and of its √2-conjugate.
void zomega_embed(const ZOmega& u, Real& re, Real& im, Real& re2, Real& im2);

class GridProblem {
  public:
    /// \brief Prepares the search for u with u / √2^k in `first` and u• / √2^k in `second`.
    GridProblem(const Ellipse& first, const Ellipse& second);

    /// \brief All solutions at scale √2^k, in a fixed order (by the enumeration's coordinates),
    /// at most `limit` of them, visiting at most `max_nodes` nodes of the enumeration tree (the
    /// number visited is added to `nodes`); false when a bound cut the list short.
    bool solutions(int k, size_t limit, long long max_nodes, std::vector<ZOmega>& out,
                   long long& nodes) const;

  private:
    Ellipse first_, second_;
    Real basis_[4][4];      // reduced basis: embedded vectors (rows)
    Integer coords_[4][4];  // the same basis in coordinates over 1, ω, ω², ω³
    Real gs_norm_[4];       // squared Gram-Schmidt lengths
    Real mu_[4][4];         // Gram-Schmidt coefficients mu[i][j], j < i
    Real target_[4];        // centre of the ellipsoid at k = 0, embedded

    void reduce();
    void gram_schmidt();
};

}  // namespace grid
