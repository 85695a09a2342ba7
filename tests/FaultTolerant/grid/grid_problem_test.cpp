// The two-dimensional grid problem against brute force: every u in a box that covers both
// ellipses is classified directly, and the enumeration must list exactly the points inside.

#include "FaultTolerant/grid/grid_problem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>

using namespace grid;

namespace {

struct Shape {
    double cx, cy, l00, l01, l10, l11;  // the ellipse |L (p − c)| ≤ 1
};

Ellipse make(const Shape& s) {
    Ellipse e;
    e.cx = s.cx;
    e.cy = s.cy;
    e.l[0][0] = s.l00;
    e.l[0][1] = s.l01;
    e.l[1][0] = s.l10;
    e.l[1][1] = s.l11;
    return e;
}

double form(const Shape& s, double x, double y) {
    const double a = s.l00 * (x - s.cx) + s.l01 * (y - s.cy);
    const double b = s.l10 * (x - s.cx) + s.l11 * (y - s.cy);
    return a * a + b * b;
}

/// Radius of a disk about the origin that holds the ellipse (centre plus the largest axis,
/// bounded by the inverse of the smallest singular value of L).
double reach(const Shape& s) {
    const double det = std::abs(s.l00 * s.l11 - s.l01 * s.l10);
    const double frob = std::sqrt(s.l00 * s.l00 + s.l01 * s.l01 + s.l10 * s.l10 + s.l11 * s.l11);
    return std::hypot(s.cx, s.cy) + frob / det;
}

std::string key(const ZOmega& u) {
    return u.to_string();
}

void compare_with_brute_force(const Shape& a, const Shape& b, int max_level) {
    const GridProblem problem(make(a), make(b));
    for (int k = 0; k <= max_level; ++k) {
        const double scale = std::sqrt(std::pow(2.0, k));
        const double ra = reach(a) * scale, rb = reach(b) * scale;
        const int bound = static_cast<int>(std::sqrt((ra * ra + rb * rb) / 2)) + 1;
        std::set<std::string> inside, edge;
        const double r = std::sqrt(0.5);
        for (int c0 = -bound; c0 <= bound; ++c0)
            for (int c1 = -bound; c1 <= bound; ++c1)
                for (int c2 = -bound; c2 <= bound; ++c2)
                    for (int c3 = -bound; c3 <= bound; ++c3) {
                        const double re = c0 + (c1 - c3) * r, im = c2 + (c1 + c3) * r;
                        const double re2 = c0 - (c1 - c3) * r, im2 = c2 - (c1 + c3) * r;
                        const double fa = form(a, re / scale, im / scale);
                        const double fb = form(b, re2 / scale, im2 / scale);
                        const std::string id = key(ZOmega(c0, c1, c2, c3));
                        if (fa < 1 - 1e-9 && fb < 1 - 1e-9) inside.insert(id);
                        if (fa <= 1 + 1e-9 && fb <= 1 + 1e-9) edge.insert(id);
                    }
        std::vector<ZOmega> found;
        long long nodes = 0;
        ASSERT_TRUE(problem.solutions(k, 100000, 10000000, found, nodes)) << "k " << k;
        std::set<std::string> listed;
        for (const ZOmega& u : found) {
            EXPECT_TRUE(listed.insert(key(u)).second) << "listed twice: " << key(u);
            EXPECT_TRUE(edge.count(key(u))) << "outside: " << key(u) << " at k " << k;
        }
        for (const std::string& id : inside) EXPECT_TRUE(listed.count(id)) << "missed " << id;
    }
}

}  // namespace

TEST(GridProblemByHand, UnitDisksHoldTheUnitsAtLevelZero) {
    // |u| ≤ 1 and |u•| ≤ 1: exactly the eight powers of ω and 0.
    const GridProblem problem(Ellipse{}, Ellipse{});
    std::vector<ZOmega> found;
    long long nodes = 0;
    ASSERT_TRUE(problem.solutions(0, 100, 100000, found, nodes));
    EXPECT_EQ(found.size(), 9u);
}

TEST(GridProblemByHand, LimitCutsTheListShort) {
    const GridProblem problem(Ellipse{}, Ellipse{});
    std::vector<ZOmega> found;
    long long nodes = 0;
    EXPECT_FALSE(problem.solutions(6, 3, 100000, found, nodes));
    EXPECT_LE(found.size(), 3u);
}

TEST(GridProblem, RoundEllipsesAgainstBruteForce) {
    compare_with_brute_force({0.3, -0.2, 1.5, 0.2, -0.1, 1.1}, {0, 0, 1, 0, 0, 1}, 4);
    compare_with_brute_force({-0.5, 0.6, 2.5, 0, 0, 0.9}, {0.2, 0.1, 1.3, 0.4, 0.4, 1.3}, 4);
}

TEST(GridProblem, ThinSlantedEllipsesAgainstBruteForce) {
    // Shapes like the search region: long and thin, slanted, near the unit circle.
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> angle(-3.14159, 3.14159);
    for (int i = 0; i < 4; ++i) {
        const double phi = angle(rng), c = std::cos(phi), s = std::sin(phi);
        const double along = 40, across = 4;  // semi-axes 0.025 towards the centre, 0.25 across
        const Shape region{0.95 * c, 0.95 * s, along * c, along * s, -across * s, across * c};
        compare_with_brute_force(region, {0, 0, 1, 0, 0, 1}, 6);
    }
}
