// Number-theoretic approximation of Z rotations and of one-qubit unitaries.

#include "FaultTolerant/grid/rz_approximation.h"

#include <algorithm>
#include <cmath>

#include "FaultTolerant/grid/exact_synthesis.h"
#include "FaultTolerant/grid/grid_problem.h"
#include "FaultTolerant/grid/norm_equation.h"

namespace grid {

namespace {

using boost::multiprecision::atan2;
using boost::multiprecision::cos;
using boost::multiprecision::sin;
using boost::multiprecision::sqrt;

/// Pollard rho iterations granted to one composite cofactor of a norm equation; a candidate
/// that needs more is skipped for the next one, which is usually easy.
constexpr int kFactoringBudget = 400;
/// Solutions examined per level at most (far more than a level ever holds near the answer).
constexpr size_t kSolutionsPerLevel = 4096;
/// Enumeration steps one search may take over all its levels (a generic angle needs a few
/// hundred at most; each step costs a few microseconds).
constexpr long long kSearchNodes = 5000;
/// The generic angle (radians) of the split of a degenerate rotation: far from every multiple
/// of π/8.
constexpr int kSplitAngleHundredths = 29;

struct Complex {
    Real re, im;
};

Complex value_of(const ZOmega& x) {
    Complex v, conjugate_value;
    zomega_embed(x, v.re, v.im, conjugate_value.re, conjugate_value.im);
    return v;
}

Complex multiply(const Complex& a, const Complex& b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

Complex conjugate(const Complex& a) {
    return {a.re, -a.im};
}

Complex entry(const RealMatrix2& m, int r, int c) {
    return {m.re[r][c], m.im[r][c]};
}

void set_entry(RealMatrix2& m, int r, int c, const Complex& v) {
    m.re[r][c] = v.re;
    m.im[r][c] = v.im;
}

/// Square root with the argument halved (principal branch).
Complex complex_sqrt(const Complex& a) {
    const Real modulus = sqrt(sqrt(a.re * a.re + a.im * a.im));
    const Real half = atan2(a.im, a.re) / 2;
    return {modulus * cos(half), modulus * sin(half)};
}

/// Concatenation of sequences in left-to-right order, without the identity placeholders "I".
std::string join(std::initializer_list<std::string> parts) {
    std::string whole;
    for (const std::string& p : parts)
        if (p != "I") whole += p;
    return whole.empty() ? "I" : whole;
}

/// Candidate order: best achieved distance first (largest Re(z̄ u)), ties by coordinates.
struct Candidate {
    Real score;
    ZOmega u;
};

bool before(const Candidate& a, const Candidate& b) {
    if (a.score != b.score) return a.score > b.score;
    for (int i = 0; i < 4; ++i)
        if (a.u.c[i] != b.u.c[i]) return a.u.c[i] < b.u.c[i];
    return false;
}

/// The exact unitary [[u, −t† ω^m], [t, u† ω^m]] / √2^k, its letters and their check; false
/// when any step fails.
bool complete_candidate(const ZOmega& u, const ZOmega& t, int m, int k, const RealMatrix2& target,
                        double threshold, std::string& letters) {
    ExactUnitary v;
    v.m[0][0] = u;
    v.m[0][1] = zomega_times_omega_power(-t.conj(), m);
    v.m[1][0] = t;
    v.m[1][1] = zomega_times_omega_power(u.conj(), m);
    v.k = k;
    if (!v.is_unitary()) return false;
    std::string seq;
    if (!exact_synthesis(v, seq)) return false;
    ExactUnitary rebuilt;
    if (!exact_from_letters(seq, rebuilt) || !exact_equal_up_to_phase(v, rebuilt)) return false;
    if (grid_distance(target, rebuilt) > threshold) return false;
    letters = seq.empty() ? "I" : seq;
    return true;
}

}  // namespace

RealMatrix2 rz_matrix(const Real& theta) {
    RealMatrix2 m;
    const Real c = cos(theta / 2), s = sin(theta / 2);
    set_entry(m, 0, 0, {c, -s});
    set_entry(m, 0, 1, {0, 0});
    set_entry(m, 1, 0, {0, 0});
    set_entry(m, 1, 1, {c, s});
    return m;
}

Real grid_distance(const RealMatrix2& target, const ExactUnitary& u) {
    Complex trace{0, 0};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            const Complex p = multiply(conjugate(entry(target, r, c)), value_of(u.m[r][c]));
            trace.re += p.re;
            trace.im += p.im;
        }
    const Real scale = boost::multiprecision::pow(sqrt(Real(2)), u.k);
    const Real modulus = sqrt(trace.re * trace.re + trace.im * trace.im) / scale;
    const Real d2 = (2 - modulus) / 2;
    return d2 > 0 ? Real(sqrt(d2)) : Real(0);
}

double ft_sequence_distance_to_rz(const std::string& letters, double angle) {
    ExactUnitary u;
    if (!exact_from_letters(letters, u)) return -1;
    return static_cast<double>(grid_distance(rz_matrix(Real(angle) * real_pi() / 4), u));
}

namespace {

/// The grid search proper; false when it found nothing within its bounds.
bool search_rz(const Real& theta, double threshold, std::string& letters, GridStats& s) {
    const RealMatrix2 target = rz_matrix(theta);
    if (grid_distance(target, ExactUnitary::identity()) <= threshold) {
        letters = "I";
        return true;
    }

    // A unitary [[u, −t† ω^m], [t, u† ω^m]] / √2^k has determinant ω^m, so it can be close to
    // e^{imπ/8} Rz(θ) only: u / √2^k near e^{−i(θ − mπ/4)/2}. Even m give products with an
    // even number of T gates, odd m an odd number; both m = 0 and m = 1 are searched, level by
    // level, so that the first success has the fewest T gates.
    //
    // Region of u/√2^k: the unit disk cut by Re(z̄ w) ≥ 1 − δ, z = e^{−i(θ − mπ/4)/2}; there the
    // distance is sqrt(1 − Re(z̄ w)) ≤ sqrt(δ). A hair inside the threshold, so that rounding at
    // the edge cannot matter; the final check is against the threshold itself.
    const Real tau = Real(std::min(threshold, 0.5)) * (1 - Real(1) / 1000000);
    const Real delta = tau * tau;
    const Real half_chord = sqrt(1 - (1 - delta) * (1 - delta));
    const Real root2 = sqrt(Real(2));
    struct Search {
        Real cphi, sphi;
        GridProblem problem;
        long long nodes;  // enumeration steps spent on this m
    };
    std::vector<Search> searches;
    for (int m = 0; m < 2; ++m) {
        const Real phi = -(theta - m * real_pi() / 4) / 2;
        const Real cphi = cos(phi), sphi = sin(phi);
        // The enclosing ellipse of the box [1 − δ, 1] × [−h, h] (in coordinates along z),
        // scaled by √2 from the box's inscribed ellipse.
        Ellipse region;
        const Real p0 = 1 - delta / 2;
        region.cx = p0 * cphi;
        region.cy = p0 * sphi;
        const Real along = 1 / (root2 * delta / 2), across = 1 / (root2 * half_chord);
        region.l[0][0] = along * cphi;
        region.l[0][1] = along * sphi;
        region.l[1][0] = -across * sphi;
        region.l[1][1] = across * cphi;
        // u• / √2^k in the unit disk, a hair larger so that points on its edge (u = 1 for T,
        // for instance) survive rounding; the exact test ξ ≥ 0 drops any point beyond it.
        Ellipse disk;
        disk.l[0][0] = disk.l[1][1] = 1 - boost::multiprecision::pow(Real(10), -40);
        searches.push_back({cphi, sphi, GridProblem(region, disk), 0});
    }

    const int max_level = 8 + 4 * static_cast<int>(std::ceil(std::log2(1 / threshold)));
    Integer power = 1;  // 2^k
    std::vector<ZOmega> solutions;
    std::vector<Candidate> candidates;
    for (int k = 0; k <= max_level; ++k, power *= 2) {
        const Real scale = sqrt(Real(power));
        for (int m = 0; m < 2; ++m) {
            Search& search = searches[m];
            if (search.nodes > kSearchNodes) continue;
            const long long before_level = search.nodes;
            search.problem.solutions(k, kSolutionsPerLevel, kSearchNodes - search.nodes + 1,
                                     solutions, search.nodes);
            s.nodes += search.nodes - before_level;
            candidates.clear();
            for (ZOmega& u : solutions) {
                Real re, im, re2, im2;
                zomega_embed(u, re, im, re2, im2);
                const Real score = (re * search.cphi + im * search.sphi) / scale;
                if (score < 1 - delta) continue;
                candidates.push_back({score, std::move(u)});
            }
            std::sort(candidates.begin(), candidates.end(), before);
            for (const Candidate& c : candidates) {
                const ZRoot2 xi = ZRoot2(power, 0) - c.u.norm_sq();
                if (!xi.doubly_positive()) continue;
                ++s.candidates;
                ZOmega t;
                const NormEquation r = solve_norm_equation(xi, kFactoringBudget, t);
                if (r == NormEquation::TimedOut) ++s.timed_out;
                if (r != NormEquation::Solved) continue;
                if (complete_candidate(c.u, t, m, k, target, threshold, letters)) {
                    s.level = k;
                    return true;
                }
            }
        }
        if (searches[0].nodes > kSearchNodes && searches[1].nodes > kSearchNodes) return false;
    }
    return false;
}

}  // namespace

bool grid_approximate_rz(const Real& theta, double threshold, std::string& letters,
                         GridStats* stats) {
    GridStats local;
    GridStats& s = stats != nullptr ? *stats : local;
    s = GridStats{};
    if (!(threshold >= kFinestThreshold)) return false;
    if (search_rz(theta, threshold, letters, s)) return true;
    // Degenerate: Rz(θ) = Rz(θ − α) Rz(α), both generic, each to half the threshold (the
    // distances add up), checked as a whole.
    s.split = true;
    const Real alpha = Real(kSplitAngleHundredths) / 100;
    std::string first, second;
    GridStats part;
    if (!search_rz(theta - alpha, threshold / 2, first, part)) return false;
    s.nodes += part.nodes;
    if (!search_rz(alpha, threshold / 2, second, part)) return false;
    s.nodes += part.nodes;
    ExactUnitary rebuilt;
    const std::string whole = join({first, second});
    if (!exact_from_letters(whole, rebuilt) || grid_distance(rz_matrix(theta), rebuilt) > threshold)
        return false;
    letters = whole;
    return true;
}

bool grid_sequence_for_rz(double angle, double threshold, std::string& letters) {
    if (!std::isfinite(angle)) return false;
    return grid_approximate_rz(Real(angle) * real_pi() / 4, threshold, letters);
}

bool grid_sequence_for_matrix(const Matrix2& m, double threshold, std::string& letters) {
    Complex a{m(0, 0).real(), m(0, 0).imag()}, b{m(0, 1).real(), m(0, 1).imag()};
    const Complex c{m(1, 0).real(), m(1, 0).imag()}, d{m(1, 1).real(), m(1, 1).imag()};
    for (const Complex& x : {a, b, c, d})
        if (!boost::multiprecision::isfinite(x.re) || !boost::multiprecision::isfinite(x.im))
            return false;
    // Into SU(2): divide by a square root of the determinant, then make the rows exactly
    // orthonormal from the first row, [[a, b], [−b̄, ā]].
    const Complex ad = multiply(a, d), bc = multiply(b, c);
    const Complex root = complex_sqrt({ad.re - bc.re, ad.im - bc.im});
    const Real root_norm = root.re * root.re + root.im * root.im;
    if (root_norm == 0) return false;
    const Complex inverse{root.re / root_norm, -root.im / root_norm};
    a = multiply(a, inverse);
    b = multiply(b, inverse);
    const Real length = sqrt(a.re * a.re + a.im * a.im + b.re * b.re + b.im * b.im);
    if (length == 0) return false;
    a = {a.re / length, a.im / length};
    b = {b.re / length, b.im / length};
    RealMatrix2 target;
    set_entry(target, 0, 0, a);
    set_entry(target, 0, 1, b);
    set_entry(target, 1, 0, {-b.re, b.im});
    set_entry(target, 1, 1, conjugate(a));

    // Rz(α) Rx(β) Rz(γ) = [[e^{−i(α+γ)/2} cos(β/2), −i e^{−i(α−γ)/2} sin(β/2)], ...], and
    // Rx(β) = H Rz(β) H.
    const Real abs_a = sqrt(a.re * a.re + a.im * a.im), abs_b = sqrt(b.re * b.re + b.im * b.im);
    const Real beta = 2 * atan2(abs_b, abs_a);
    const Real sum = abs_a > 0 ? Real(-2 * atan2(a.im, a.re)) : Real(0);
    const Real difference = abs_b > 0 ? Real(-2 * atan2(b.im, b.re) - real_pi()) : Real(0);
    const Real alpha = (sum + difference) / 2, gamma = (sum - difference) / 2;

    // Each part within share × threshold; the distances add up (the operator norm does, and
    // the distance is the operator norm up to phase over √2), so three thirds stay within.
    for (double share : {1.0 / 3, 1.0 / 4, 1.0 / 6}) {
        std::string sa, sb, sc;
        const double part = threshold * share;
        if (!grid_approximate_rz(alpha, part, sa) || !grid_approximate_rz(beta, part, sb) ||
            !grid_approximate_rz(gamma, part, sc))
            return false;
        const std::string whole = join({sa, "H", sb, "H", sc});
        ExactUnitary rebuilt;
        if (!exact_from_letters(whole, rebuilt)) return false;
        if (grid_distance(target, rebuilt) <= threshold) {
            letters = whole;
            return true;
        }
    }
    return false;
}

}  // namespace grid
