// Benchmarks of the fault-tolerant window conversion.
//
//   CacheHits/<n>         a line of n fractional Z rotations between CNOTs, all served from the
//                         cache: time per rotation should stay flat as n grows (linear pass).
//   CacheMissSearch/<e>/<k>  cache misses through the conversion with the exhaustive search at
//                         threshold 10^-e, on the first k of 20 fixed random angles in
//                         [-0.5, 0.5] (π/4 units); counters: seconds per rotation, mean and
//                         largest T count, the lower bound 3 log2(1/threshold) and the largest
//                         distance reached (md_tri).
//   SolovayKitaev/<d>     cache misses with Solovay-Kitaev depth d on the same 20 angles;
//                         counters: seconds per rotation, mean length, mean and largest distance.
//
// Searches print their progress on standard output; it is silenced while they run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <random>
#include <vector>

#include "FaultTolerant/ft_conversion.h"
#include "FaultTolerant/gate_sequence.h"
#include "FaultTolerant/matrix/matrix2.h"
#include "circuit/graph_circuit.h"

namespace {

std::vector<double> angles() {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> remainder(-0.5, 0.5);
    std::vector<double> a(20);
    for (double& x : a) x = remainder(rng);
    return a;
}

double cpu_seconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

/// Redirects standard output to /dev/null while alive.
class Silence {
  public:
    Silence() : saved_(dup(1)) {
        std::fflush(stdout);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~Silence() {
        std::cout.flush();
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }

  private:
    int saved_;
};

LineOfGates rotation_line(const std::vector<double>& a, int n) {
    LineOfGates line;
    line.gates.push_back(Gate(IN, 0, 0, 0, -1, 0, 0));
    for (int i = 0; i < n; ++i) {
        line.gates.push_back(Gate(RZ, a[size_t(i) % a.size()], 0, 0, -1, 0, 2 + 2 * i));
        line.gates.push_back(Gate(CNOT, 0, 0, 0, 0, 1, 3 + 2 * i));
    }
    line.gates.push_back(Gate(OUT, 0, 0, 0, -1, 0, 1));
    return line;
}

int t_count(const LineOfGates& line) {
    int n = 0;
    for (const Gate& g : line.gates) n += g.type == T || g.type == T_dag;
    return n;
}

double md_tri_of(const LineOfGates& line, double angle) {
    Matrix2 product = matrix2_identity();
    for (const Gate& g : line.gates) {
        if (!is_1Q_gate(g.type)) continue;
        Matrix2 f;
        ft_window_factor(g, f);
        product = product * f;
    }
    return md_tri(product, ft_rz_matrix(angle));
}

void CacheHits(benchmark::State& state) {
    const int n = int(state.range(0));
    const std::vector<double> a = angles();
    GraphCircuit circuit("bench", FTS, qec_none, 0);
    for (double x : a) circuit.ft_table.insert_FT_table(x, 1e-2, "HTHTHTSHTHTHT(SH)THT");
    for (auto _ : state) {
        state.PauseTiming();
        LineOfGates line = rotation_line(a, n);
        state.ResumeTiming();
        Silence quiet;
        circuit.convert_1Q_window_to_FT(line, 1e-2, 0);
        benchmark::DoNotOptimize(line.gates.size());
    }
    state.counters["ns_per_rotation"] = benchmark::Counter(
        double(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(CacheHits)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);

/// One conversion of a single-rotation line per angle with a fresh cache; fills the counters.
void convert_each(benchmark::State& state, double threshold, int mode, size_t count) {
    const std::vector<double> all = angles();
    double seconds = 0, t_sum = 0, t_max = 0, d_sum = 0, d_max = 0, length = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < count; ++i) {
            GraphCircuit circuit("bench", FTS, qec_none, 0);
            LineOfGates line = rotation_line({all[i]}, 1);
            const double start = cpu_seconds();
            {
                Silence quiet;
                circuit.convert_1Q_window_to_FT(line, threshold, mode);
            }
            seconds += cpu_seconds() - start;
            const int t = t_count(line);
            const double d = md_tri_of(line, all[i]);
            t_sum += t;
            t_max = std::max(t_max, double(t));
            d_sum += d;
            d_max = std::max(d_max, d);
            length += double(line.gates.size() - 3);
        }
    }
    const double runs = double(state.iterations() * count);
    state.counters["s_per_rotation"] = seconds / runs;
    state.counters["T_mean"] = t_sum / runs;
    state.counters["T_max"] = t_max;
    state.counters["T_bound"] = 3 * std::log2(1 / threshold);
    state.counters["length_mean"] = length / runs;
    state.counters["dist_mean"] = d_sum / runs;
    state.counters["dist_max"] = d_max;
}

void CacheMissSearch(benchmark::State& state) {
    const double threshold = std::pow(10.0, -double(state.range(0)));
    convert_each(state, threshold, 0, size_t(state.range(1)));
}
BENCHMARK(CacheMissSearch)
    ->Args({2, 20})
    ->Args({3, 20})
    ->Args({4, 2})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void SolovayKitaev(benchmark::State& state) {
    convert_each(state, 1e-2, int(state.range(0)), 20);
}
BENCHMARK(SolovayKitaev)->DenseRange(1, 4)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
