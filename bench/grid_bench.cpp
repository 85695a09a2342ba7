// Benchmark of the number-theoretic rotation synthesis (a program, not a Google Benchmark):
//
//   grid_bench [FT_table.txt]
//
// Per threshold (the program's distance ε, 1e-4 to 1e-15), over 100 random angles: median and
// worst time per rotation (best of three runs of each, the machine being shared), mean and worst
// T count, beside 3·log2(1/ε) and the same in the operator norm (ε_op = √2·ε), and how many
// rotations needed the split of degenerate angles. With a cache file of the exhaustive search,
// its sequences at 1e-2 and 1e-3 are compared with the grid method's on the same angles.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "FaultTolerant/ft_table.h"
#include "FaultTolerant/grid/exact_unitary.h"
#include "FaultTolerant/grid/rz_approximation.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double milliseconds_of_best_run(double theta, double eps, std::string& letters,
                                grid::GridStats& stats) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (!grid::grid_approximate_rz(grid::Real(theta), eps, letters, &stats)) letters.clear();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

void random_angle_table() {
    std::printf("%-8s %10s %10s %8s %7s %12s %14s %6s %6s\n", "eps", "median_ms", "worst_ms",
                "mean_T", "worst_T", "3log2(1/e)", "3log2(1/e_op)", "split", "failed");
    for (double eps : {1e-4, 1e-6, 1e-8, 1e-10, 1e-12, 1e-15}) {
        std::mt19937 rng(2024);
        std::uniform_real_distribution<double> angle(-kPi, kPi);
        std::vector<double> times;
        double total_t = 0;
        int worst_t = 0, splits = 0, failed = 0;
        for (int i = 0; i < 100; ++i) {
            const double theta = angle(rng);
            std::string letters;
            grid::GridStats stats;
            times.push_back(milliseconds_of_best_run(theta, eps, letters, stats));
            if (letters.empty()) {
                ++failed;
                continue;
            }
            const int t = grid::t_count(letters);
            total_t += t;
            worst_t = std::max(worst_t, t);
            splits += stats.split ? 1 : 0;
        }
        std::sort(times.begin(), times.end());
        std::printf("%-8.0e %10.2f %10.2f %8.1f %7d %12.1f %14.1f %6d %6d\n", eps,
                    (times[49] + times[50]) / 2, times.back(), total_t / (100 - failed), worst_t,
                    3 * std::log2(1 / eps), 3 * std::log2(1 / (std::sqrt(2.0) * eps)), splits,
                    failed);
    }
}

/// The exhaustive search's cached sequences against the grid method on the same angles.
void compare_with_cache(const char* path) {
    std::ifstream in(path);
    if (!in) {
        std::printf("cannot read %s: no comparison with the exhaustive search\n", path);
        return;
    }
    FT_table cache;
    ft_table_read(in, cache);
    std::printf("\n%-8s %7s %16s %10s\n", "eps", "angles", "exhaustive_T", "grid_T");
    for (double eps : {1e-2, 1e-3}) {
        int angles = 0;
        double exhaustive = 0, grid_total = 0;
        for (const auto& [angle, entries] : cache.table) {
            const auto hit = std::find_if(entries.begin(), entries.end(),
                                          [&](const FT_entry& e) { return e.dist <= eps; });
            if (hit == entries.end()) continue;
            std::string letters;
            if (!grid::grid_sequence_for_rz(angle, eps, letters)) continue;
            ++angles;
            exhaustive += grid::t_count(hit->seq);
            grid_total += grid::t_count(letters);
        }
        if (angles == 0) continue;
        std::printf("%-8.0e %7d %16.1f %10.1f\n", eps, angles, exhaustive / angles,
                    grid_total / angles);
    }
}

}  // namespace

int main(int argc, char** argv) {
    random_angle_table();
    compare_with_cache(argc > 1 ? argv[1] : "FT_table.txt");
    return 0;
}
