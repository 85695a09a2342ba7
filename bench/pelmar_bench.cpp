// Solovay-Kitaev benchmarks: building the epsilon net (what every ftpelmar call paid before the
// net was shared), and the recursion at depths 1 to 4 on random rotations and on the small Z
// rotations that cache misses hand over. Counters: sequence length and distance to the target
// (proj_trace_dist, up to sign), averaged over the rotations; T_count counts the letters "T" and
// "t" of the raw sequence (before any later merging of T pairs).

#include <benchmark/benchmark.h>

#include <complex>
#include <random>
#include <vector>

#include "FaultTolerant/pelmar/ftpelmar.h"
#include "FaultTolerant/pelmar/net.h"
#include "FaultTolerant/pelmar/su2.h"

namespace {

using cd = std::complex<double>;

std::vector<Matrix2> random_rotations() {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> u(-3.0, 3.0);
    std::vector<Matrix2> result;
    for (int i = 0; i < 20; ++i) result.push_back(su2::cart3_to_mat({u(rng), u(rng), u(rng)}));
    return result;
}

/// Rz(a pi/4) for 20 remainder angles a in [-0.5, 0.5].
std::vector<Matrix2> z_rotations() {
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> u(-0.5, 0.5);
    std::vector<Matrix2> result;
    for (int i = 0; i < 20; ++i) {
        const double theta = u(rng) * 3.14159265358979323846 / 4;
        result.push_back(
            matrix2_of(std::polar(1.0, -theta / 2), 0.0, 0.0, std::polar(1.0, theta / 2)));
    }
    return result;
}

void BM_NetBuild(benchmark::State& state) {
    const double r = 0.7071067811865475;
    const cd h[4] = {cd(0, r), cd(0, r), cd(0, r), cd(0, -r)};
    const cd t[4] = {cd(0.9238795325112867, -0.3826834323650898), 0.0, 0.0,
                     cd(0.9238795325112867, 0.3826834323650898)};
    const cd* matrices[2] = {h, t};
    size_t knots = 0;
    size_t tiles = 0;
    for (auto _ : state) {
        Net net(0.18);
        net.generate("HT", matrices, 2, static_cast<int>(state.range(0)));
        knots = net.knots().size();
        tiles = net.tiles().size();
    }
    state.counters["knots"] = static_cast<double>(knots);
    state.counters["tiles"] = static_cast<double>(tiles);
}
BENCHMARK(BM_NetBuild)->Arg(10)->Arg(14)->Unit(benchmark::kMillisecond);

void run_sk(benchmark::State& state, const std::vector<Matrix2>& targets) {
    Net& net = ftpelmar_net();
    const int depth = static_cast<int>(state.range(0));
    double length = 0;
    double distance = 0;
    double worst = 0;
    double t_count = 0;
    for (const Matrix2& U : targets) {
        const Net::knot k = net.solovay_kitaev(U, depth);
        const double d = su2::proj_trace_dist(U, k.matrix);
        length += k.length;
        distance += d;
        worst = std::max(worst, d);
        for (char c : k.labels) t_count += c != 'H';
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(net.solovay_kitaev(targets[i], depth));
        i = (i + 1) % targets.size();
    }
    state.counters["length"] = length / targets.size();
    state.counters["distance"] = distance / targets.size();
    state.counters["worst"] = worst;
    state.counters["T_count"] = t_count / targets.size();
}

void BM_SolovayKitaevRandom(benchmark::State& state) {
    static const std::vector<Matrix2> targets = random_rotations();
    run_sk(state, targets);
}
BENCHMARK(BM_SolovayKitaevRandom)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_SolovayKitaevZ(benchmark::State& state) {
    static const std::vector<Matrix2> targets = z_rotations();
    run_sk(state, targets);
}
BENCHMARK(BM_SolovayKitaevZ)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
