// Whole-program property test: random netlists of every keyword, on every machine description
// and at both optimisation levels, run through the marovin executable; the output file must hold
// the input's unitary up to a global phase (both files list gates in operator order). A failing
// netlist is shrunk line by line, written to the working directory, and replayed pass by pass in
// process to name the first stage that changes the unitary.
//
// MAROVIN_E2E_CIRCUITS (default 40) sets the number of circuits per description and
// MAROVIN_E2E_GATES (default 12) the largest number of gate lines; the long run in
// scripts/long_property_test.sh raises both.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "support/random_netlist.h"
#include "support/test_env.h"
#include "support/unitary.h"

namespace {

constexpr double kTolerance = 1e-7;

int circuits_per_description() {
    const char* value = std::getenv("MAROVIN_E2E_CIRCUITS");
    const int n = value ? std::atoi(value) : 0;
    return n > 0 ? n : 40;
}

int max_gates() {
    const char* value = std::getenv("MAROVIN_E2E_GATES");
    const int n = value ? std::atoi(value) : 0;
    return n > 0 ? n : 12;
}

unsigned seed_base() {
    const char* value = std::getenv("MAROVIN_E2E_SEED");
    return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : 0u;
}

enum class Outcome { Equivalent, NotEquivalent, Failed };

struct ProgramRun {
    Outcome outcome;
    std::string detail;
};

// A machine description and an optimisation level (--optimise).
struct Road {
    PMD_type pmd;
    int level;
};

void PrintTo(const Road& road, std::ostream* out) {
    *out << pmd_keyword(road.pmd) << " at level " << road.level;
}

std::string road_name(const testing::TestParamInfo<Road>& info) {
    return std::string(pmd_keyword(info.param.pmd)) + "_level" + std::to_string(info.param.level);
}

std::vector<Road> every_road() {
    std::vector<Road> roads;
    for (int level : {1, 2})
        for (PMD_type pmd : {QD, SC, IT, NA, LP, NP, CTL, FTS}) roads.push_back({pmd, level});
    return roads;
}

/// Runs marovin on the netlist text in `dir` and compares the output file with the input.
ProgramRun run_text(const std::string& dir, const std::string& input, Road road) {
    const PMD_type pmd = road.pmd;
    testenv::write_file(dir + "/in.txt", input);
    std::remove((dir + "/out.txt").c_str());
    std::string console;
    const int status =
        testenv::run_command(dir,
                             std::string("'") + MAROVIN_BINARY + "' --optimise " +
                                 std::to_string(road.level) + " in.txt out.txt " + pmd_keyword(pmd),
                             console);
    if (status != 0)
        return {Outcome::Failed, "exit status " + std::to_string(status) + "\n" + console};
    const std::string output = testenv::read_file(dir + "/out.txt");
    const sim::Unitary expected = sim::netlist_unitary(input, sim::Order::Operator);
    const sim::Unitary actual = sim::netlist_unitary(output, sim::Order::Operator);
    if (!sim::equal_up_to_phase(expected, actual, kTolerance)) {
        return {Outcome::NotEquivalent,
                "difference up to phase " +
                    std::to_string(sim::max_difference_up_to_phase(expected, actual)) +
                    "\noutput file:\n" + output};
    }
    return {Outcome::Equivalent, ""};
}

ProgramRun run_program(const std::string& dir, const testrandom::RandomNetlist& netlist,
                       Road road) {
    return run_text(dir, testrandom::netlist_text(netlist), road);
}

bool fails(const ProgramRun& run) {
    return run.outcome == Outcome::NotEquivalent || run.outcome == Outcome::Failed;
}

/// Drops gate lines, one at a time, while the program still fails on what is left.
testrandom::RandomNetlist shrink(const std::string& dir, testrandom::RandomNetlist netlist,
                                 Road road) {
    bool smaller = true;
    int budget = 120;
    while (smaller && budget > 0) {
        smaller = false;
        for (size_t i = netlist.gates.size(); i-- > 0 && budget > 0;) {
            testrandom::RandomNetlist candidate = netlist;
            candidate.gates.erase(candidate.gates.begin() + static_cast<long>(i));
            --budget;
            if (fails(run_program(dir, candidate, road))) {
                netlist = candidate;
                smaller = true;
            }
        }
    }
    return netlist;
}

/// Replays the synthesis stages in process on the netlist (read in time order, as the forward
/// synthesis reads it) and names the first stage after which the circuit's unitary, global
/// phase included, differs from the netlist's.
std::string first_breaking_stage(const testrandom::RandomNetlist& netlist, PMD_type pmd) {
    std::string text = testrandom::netlist_text(netlist, /*reversed=*/true);
    const sim::Unitary reference = sim::netlist_unitary(text, sim::Order::Time);
    FatalHandler previous = set_fatal_handler(throwing_fatal_handler);
    std::ostringstream report;
    testing::internal::CaptureStdout();
    try {
        GraphCircuit c("in.txt", pmd, qec_none, 0);
        c.read_netlist(text);
        auto check = [&](const char* stage) {
            const sim::Unitary u = sim::circuit_unitary(c);
            if (sim::equal_exact(reference, u, kTolerance)) return true;
            report << "first stage that changes the unitary: " << stage
                   << (sim::equal_up_to_phase(reference, u, kTolerance) ? " (global phase only)"
                                                                        : "")
                   << "\n";
            return false;
        };
        bool ok = check("read_netlist (mapping)");
        for (int i = 0; ok && i < 3; ++i) {
            c.reduce1Qgate();
            ok = check("reduce1Qgate");
            if (ok) c.reduce2Qgate();
            ok = ok && check("reduce2Qgate");
        }
        if (ok) c.decompose_XYZSTH_gate();
        ok = ok && check("decompose_XYZSTH_gate");
        for (int i = 0; ok && i < 2; ++i) {
            c.reduce_critical();
            ok = check("reduce_critical");
        }
        if (ok) {
            std::string written = c.output_circuit_in_string();
            GraphCircuit again("in.txt", pmd, qec_none, 0);
            again.read_netlist(written);
            if (!sim::equal_exact(reference, sim::circuit_unitary(again), kTolerance))
                report << "first stage that changes the unitary: output_circuit_in_string and "
                          "read back\n";
            else
                report << "the stages replayed in process keep the unitary; look at the driver "
                          "(orientation, choice, file rewrites)\n";
        }
    } catch (const FatalError& e) {
        report << "replay ended with a fatal error: " << e.message << "\n";
    }
    testing::internal::GetCapturedStdout();
    set_fatal_handler(previous);
    return report.str();
}

class WholeProgram : public testing::TestWithParam<Road> {};

TEST_P(WholeProgram, OutputEqualsInputUpToPhase) {
    const Road road = GetParam();
    const PMD_type pmd = road.pmd;
    const std::string dir = testenv::make_scratch_dir(std::string("e2e_") + pmd_keyword(pmd) + "_" +
                                                      std::to_string(road.level));
    const int circuits = circuits_per_description();
    int failures = 0;
    for (int i = 0; i < circuits && failures < 2; ++i) {
        const unsigned seed =
            seed_base() + 100000u * static_cast<unsigned>(pmd) + static_cast<unsigned>(i);
        std::mt19937 rng(seed);
        const int qubits = 1 + static_cast<int>(rng() % 6);
        const int gates = 1 + static_cast<int>(rng() % static_cast<unsigned>(max_gates()));
        const testrandom::RandomNetlist netlist = testrandom::random_netlist(rng, qubits, gates);
        const ProgramRun run = run_program(dir, netlist, road);
        if (!fails(run)) continue;
        ++failures;
        const testrandom::RandomNetlist small = shrink(dir, netlist, road);
        const ProgramRun small_run = run_program(dir, small, road);
        const std::string name = std::string("failed_e2e_") + pmd_keyword(pmd) + "_level" +
                                 std::to_string(road.level) + "_" + std::to_string(seed) + ".txt";
        testenv::write_file(name, testrandom::netlist_text(small));
        ADD_FAILURE() << "seed " << seed << ": "
                      << (run.outcome == Outcome::Failed ? "the program failed"
                                                         : "output not equivalent")
                      << "\nshrunk netlist written to " << name << ":\n"
                      << testrandom::netlist_text(small) << small_run.detail << "\n"
                      << first_breaking_stage(small, pmd);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, WholeProgram, testing::ValuesIn(every_road()),
                         road_name);

// Published benchmark circuits of at most six qubits, when the shared benchmark folder lies
// beside the source tree (or beside the folder holding it, for a work tree).
const char* const kSharedCircuits[] = {"qasm/basis_trotter_n4.txt",
                                       "qasm/dnn_n2.txt",
                                       "qasm/qaoa_n3.txt",
                                       "qasm/qft_n4.txt",
                                       "qasm/vqe_n4.txt",
                                       "qc/barenco_tof_3.txt",
                                       "qc/mod5_4.txt",
                                       "qc/qft_4.txt",
                                       "qc/tof_3.txt",
                                       "real/4mod5-v0_19.txt",
                                       "real/ham3_103.txt",
                                       "real/hwb4_51.txt",
                                       "real/mod5adder_129.txt",
                                       "real/rd32-v0_67.txt"};

class SharedCircuit : public testing::TestWithParam<Road> {};

TEST_P(SharedCircuit, OutputEqualsInputUpToPhase) {
    const Road road = GetParam();
    const std::string folder = testenv::shared_bench_folder();
    if (folder.empty()) GTEST_SKIP() << "no shared benchmark circuits beside the source tree";
    const std::string dir = testenv::make_scratch_dir(
        std::string("e2e_shared_") + pmd_keyword(road.pmd) + "_" + std::to_string(road.level));
    for (const char* name : kSharedCircuits) {
        const ProgramRun run = run_text(dir, testenv::read_file(folder + name), road);
        EXPECT_EQ(run.outcome, Outcome::Equivalent) << name << "\n" << run.detail;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDescription, SharedCircuit, testing::ValuesIn(every_road()),
                         road_name);

}  // namespace
