// Cache-miss search time and sequence quality of the exhaustive search on Z rotations.
//
// Each benchmark runs one search per angle of a fixed set of 20 random angles (remainders in
// [-0.5, 0.5] units of pi/4, as the conversion hands them over) at threshold 10^(-arg/10), and
// reports the processor seconds per rotation and the T count of the results next to the lower bound
// of about 3 log2(1/threshold) T gates for a Z rotation. A second argument limits the number of
// angles (the finest thresholds take long). Per-angle lines go to the error stream.
//
//   tavex_bench --benchmark_filter='ZRotations/20/'   # 1e-2, all 20 angles
//   tavex_bench --benchmark_filter='ZRotations/40/1'  # 1e-4, first angle only

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <random>
#include <vector>

#include "FaultTolerant/tavex/tavex.h"

namespace {

std::vector<double> angles() {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> remainder(-0.5, 0.5);
    std::vector<double> a(20);
    for (double& x : a) x = remainder(rng);
    return a;
}

Matrix2 rotation_z(double angle_pi4) {
    const double half = angle_pi4 * M_PI / 8;
    return matrix2_of({std::cos(half), -std::sin(half)}, 0.0, 0.0,
                      {std::cos(half), std::sin(half)});
}

// Processor time of this process: the machine may be shared, so wall time would mislead.
double cpu_seconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

int t_count(const std::string& seq) {
    int n = 0;
    for (char c : seq) n += c == 'T' || c == 't';
    return n;
}

void ZRotations(benchmark::State& state) {
    const double threshold = std::pow(10.0, -double(state.range(0)) / 10.0);
    const std::vector<double> all = angles();
    const size_t count = std::min(all.size(), size_t(state.range(1)));
    double seconds = 0, t_sum = 0, t_max = 0;
    int found = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < count; ++i) {
            // The search prints its progress; keep the benchmark output readable.
            const double start = cpu_seconds();
            Tavex tavex(10200, 15);
            std::cout.setstate(std::ios::failbit);
            const std::string seq = tavex.ft_tavex(rotation_z(all[i]), threshold);
            std::cout.clear();
            const double s = cpu_seconds() - start;
            const int t = t_count(seq);
            seconds += s;
            if (!seq.empty()) {
                ++found;
                t_sum += t;
                t_max = std::max(t_max, double(t));
            }
            std::cerr << "threshold " << threshold << " angle " << all[i] << " seconds " << s
                      << " T " << t << " labels-string " << (seq.empty() ? "(none)" : seq) << "\n";
        }
    }
    state.counters["s_per_rotation"] = seconds / double(count);
    state.counters["T_mean"] = found > 0 ? t_sum / found : 0;
    state.counters["T_max"] = t_max;
    state.counters["T_bound"] = 3 * std::log2(1 / threshold);
    state.counters["found"] = found;
}

BENCHMARK(ZRotations)
    ->Args({20, 20})
    ->Args({30, 20})
    ->Args({40, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
