// Physical operation prices: reading "CostGateCount.txt", the shipped table, lines and windows.
#include "cost/cost_gate_count.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "cost/logical_cost.h"
#include "support/fatal_capture.h"
#include "support/machine_descriptions.h"
#include "support/test_env.h"

namespace {

using testpmd::kAllPmds;

/// Adds `text` to a fresh table and returns the fatal message ("" if none).
std::string load_error(const std::string& text) {
    return testfatal::fatal_message([&] {
        CostGateCount table;
        table.add_rows(text, "CostGateCount.txt");
    });
}

const std::string kNinePrices = " 1 2 3 4 5 6 7 8 9\n";

Gate record(Gate_type kind, int index, double angle = 0) {
    return Gate(kind, angle, 0, 0, -1, 0, index);
}

}  // namespace

// ---- The shipped table -----------------------------------------------------------------------

TEST(ShippedCostTable, EveryKindThatCanOccurHasAFinitePriceEverywhere) {
    CostGateCount table;
    table.set_cost_table();  // the copy of data/CostGateCount.txt in the test folder
    for (Gate_type kind :
         {I,    RX,   RY, RZ,   X,    Y,        Z,  H,   S,     S_dag,   T,     T_dag,  RXY,
          ASQU, CNOT, CZ, SWAP, ZENO, ZENO_dag, CP, GEO, ISWAP, Toffoli, PERES, Fredkin}) {
        for (PMD_type pmd : kAllPmds) {
            const int price = table.get_gate_cost(kind, pmd);
            EXPECT_GE(price, 0) << kind << " on " << pmd;
            EXPECT_LT(price, kUnavailableGate) << kind << " on " << pmd;
        }
    }
}

TEST(ShippedCostTable, NativeTwoQubitGatesAndRotationsMatchTheLevelZeroLogicalTable) {
    CostGateCount table;
    table.set_cost_table();
    for (PMD_type pmd : {QD, SC, IT, NA, LP, NP}) {
        SCOPED_TRACE(pmd);
        EXPECT_EQ(table.get_gate_cost(CNOT, pmd), ops_hCNOT(0, pmd, qec_code0));
        EXPECT_EQ(table.get_gate_cost(CZ, pmd), ops_hCZ(0, pmd, qec_code0));
        EXPECT_EQ(table.get_gate_cost(GEO, pmd), ops_hGeo(0, pmd, qec_code0));
        EXPECT_EQ(table.get_gate_cost(SWAP, pmd), ops_hSWAP(0, pmd, qec_code0));
        EXPECT_EQ(table.get_gate_cost(H, pmd), ops_H(0, pmd, qec_code0));
        EXPECT_EQ(table.get_gate_cost(RZ, pmd), ops_Rz(0, pmd, qec_code0, 1.0));
        EXPECT_EQ(table.get_gate_cost(RX, pmd), ops_Rx(0, pmd, qec_code0, 1.0));
        EXPECT_EQ(table.get_gate_cost(RY, pmd), ops_Ry(0, pmd, qec_code0, 1.0));
        // Named gates cost what their rotation costs.
        EXPECT_EQ(table.get_gate_cost(X, pmd), table.get_gate_cost(RX, pmd));
        EXPECT_EQ(table.get_gate_cost(Y, pmd), table.get_gate_cost(RY, pmd));
        for (Gate_type z : {Z, S, S_dag, T, T_dag})
            EXPECT_EQ(table.get_gate_cost(z, pmd), table.get_gate_cost(RZ, pmd));
    }
}

TEST(ShippedCostTable, NativeGatesCostOneAndCompositesSumTheirParts) {
    CostGateCount table;
    table.set_cost_table();
    EXPECT_EQ(table.get_gate_cost(CP, SC), 1);
    EXPECT_EQ(table.get_gate_cost(ZENO_dag, SC), 1);
    EXPECT_EQ(table.get_gate_cost(GEO, IT), 1);
    EXPECT_EQ(table.get_gate_cost(SWAP, LP), 1);
    EXPECT_EQ(table.get_gate_cost(H, CTL), 1);
    // PERES = CNOT + Toffoli, Fredkin = CNOT + Toffoli + CNOT on every description.
    for (PMD_type pmd : kAllPmds) {
        const int cnot = table.get_gate_cost(CNOT, pmd), tof = table.get_gate_cost(Toffoli, pmd);
        EXPECT_EQ(table.get_gate_cost(PERES, pmd), cnot + tof) << pmd;
        EXPECT_EQ(table.get_gate_cost(Fredkin, pmd), 2 * cnot + tof) << pmd;
    }
    // SC: SWAP = ISWAP(2), CP(4), RZ, RZ.
    EXPECT_EQ(table.get_gate_cost(SWAP, SC), table.get_gate_cost(ISWAP, SC) +
                                                 table.get_gate_cost(CP, SC) +
                                                 2 * table.get_gate_cost(RZ, SC));
    // NP: CZ = H, CNOT, H.
    EXPECT_EQ(table.get_gate_cost(CZ, NP),
              2 * table.get_gate_cost(H, NP) + table.get_gate_cost(CNOT, NP));
}

// ---- Reading rows ----------------------------------------------------------------------------

TEST(CostTableRows, PricesDashCommentsBlankAndSeparatorOnlyLines) {
    CostGateCount table;
    table.add_rows(
        "# a comment\n\n\r\n \t \n"
        "CZ 1 - 3 4 5 6 7 8 9\r\n"
        "H\t2 2 2 2 2 2 2 2 2\n",
        "CostGateCount.txt");
    EXPECT_EQ(table.get_gate_cost(CZ, QD), 1);
    EXPECT_EQ(table.get_gate_cost(CZ, SC), kUnavailableGate);
    EXPECT_EQ(table.get_gate_cost(CZ, FTS), 9);
    EXPECT_EQ(table.get_gate_cost(H, NP), 2);
    EXPECT_EQ(table.table.size(), 2u);
}

TEST(CostTableRows, FirstRowOfAKeywordCountsAcrossCallsToo) {
    CostGateCount table;
    table.add_rows("T 1 1 1 1 1 1 1 1 1\nT 5 5 5 5 5 5 5 5 5\n", "CostGateCount.txt");
    table.add_rows("T 7 7 7 7 7 7 7 7 7\n", "CostGateCount.txt");
    EXPECT_EQ(table.get_gate_cost(T, LP), 1);
}

TEST(CostTableRows, ZenoDagRowOrFallbackToZeno) {
    CostGateCount fallback;
    fallback.add_rows("ZENO 4 4 4 4 4 4 4 4 4\n", "CostGateCount.txt");
    EXPECT_EQ(fallback.get_gate_cost(ZENO_dag, SC), 4);
    CostGateCount own;
    own.add_rows("ZENO 4 4 4 4 4 4 4 4 4\nZENO_dag 6 6 6 6 6 6 6 6 6\n", "CostGateCount.txt");
    EXPECT_EQ(own.get_gate_cost(ZENO_dag, SC), 6);
}

TEST(CostTableRows, MarkersCostNothingEvenWithAnEmptyTable) {
    CostGateCount table;
    for (Gate_type m : {IN, OUT, SOURCE, SINK}) EXPECT_EQ(table.get_gate_cost(m, QD), 0);
}

struct BadRow {
    const char* name;
    std::string text;
    std::string message;
};

void PrintTo(const BadRow& row, std::ostream* out) {
    *out << row.name;
}

class CostTableBadInput : public testing::TestWithParam<BadRow> {};

TEST_P(CostTableBadInput, OneClearMessage) {
    EXPECT_EQ(load_error(GetParam().text), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CostTableBadInput,
    testing::Values(
        BadRow{"UnknownKeyword", "H" + kNinePrices + "PERES_dag" + kNinePrices,
               "Unsupported gate! PERES_dag"},
        BadRow{"HashGlued", "#comment 1 2\n", "Unsupported gate! #comment"},
        BadRow{"TooFewPrices", "# x\nH" + kNinePrices + "CNOT 1 2 3 4 5 6 7 8\n",
               "CostGateCount.txt line 3: row \"CNOT\" has 8 prices, 9 expected (QD SC IT NA LP "
               "NP ND CTL FTS)"},
        BadRow{"KeywordOnly", "RZ\n",
               "CostGateCount.txt line 1: row \"RZ\" has 0 prices, 9 expected (QD SC IT NA LP NP "
               "ND CTL FTS)"},
        BadRow{"TooManyPrices", "RZ" + kNinePrices.substr(0, kNinePrices.size() - 1) + " 10\n",
               "CostGateCount.txt line 1: row \"RZ\" has 10 prices, 9 expected (QD SC IT NA LP "
               "NP ND CTL FTS)"},
        BadRow{"NonNumeric", "\nRX 1 2 3 x4 5 6 7 8 9\n",
               "CostGateCount.txt line 2: price \"x4\" of row \"RX\" is not a non-negative whole "
               "number or \"-\""},
        BadRow{"TrailingText", "RX 1 2 3 4k 5 6 7 8 9\n",
               "CostGateCount.txt line 1: price \"4k\" of row \"RX\" is not a non-negative whole "
               "number or \"-\""},
        BadRow{"Negative", "RX 1 2 3 -4 5 6 7 8 9\n",
               "CostGateCount.txt line 1: price \"-4\" of row \"RX\" is not a non-negative whole "
               "number or \"-\""},
        BadRow{"Overflow", "RX 1 2 3 99999999999 5 6 7 8 9\n",
               "CostGateCount.txt line 1: price \"99999999999\" of row \"RX\" is not a "
               "non-negative whole number or \"-\""},
        BadRow{"LineTooLong", "# " + std::string(98, 'x') + "\n",
               "CostGateCount.txt line 1: line longer than 99 characters"}),
    [](const testing::TestParamInfo<BadRow>& info) { return std::string(info.param.name); });

TEST(CostTableRows, LineOfExactly99CharactersIsRead) {
    EXPECT_EQ(load_error("# " + std::string(97, 'x') + "\n"), "");
}

TEST(CostTableRows, KindWithoutRowStopsInsteadOfGuessing) {
    CostGateCount table;
    table.add_rows("H" + kNinePrices, "CostGateCount.txt");
    EXPECT_EQ(testfatal::fatal_message([&] { table.get_gate_cost(CNOT, QD); }),
              "CostGateCount.txt has no row for gate CNOT");
}

TEST(CostTableFileDeathTest, MissingFileEndsWithStatusOne) {
    const std::string dir = testenv::make_scratch_dir("cost_no_table", false);
    EXPECT_EXIT(
        {
            if (chdir(dir.c_str()) != 0) std::exit(3);
            CostGateCount table;
            table.set_cost_table();
        },
        testing::ExitedWithCode(1), "");
}

TEST(CostTableFile, MissingFileMessage) {
    const std::string dir = testenv::make_scratch_dir("cost_no_table_msg", false);
    const testenv::ScopedDirectory inside(dir);
    EXPECT_EQ(testfatal::fatal_message([] {
                  CostGateCount table;
                  table.set_cost_table();
              }),
              "Cannot open file: CostGateCount.txt");
}

// ---- Lines and windows -----------------------------------------------------------------------

TEST(CostWindows, LineCostStopsAtTheFirstOut) {
    CostGateCount table;
    table.add_rows("H 3 3 3 3 3 3 3 3 3\nT 1 1 1 1 1 1 1 1 1\n", "CostGateCount.txt");
    std::list<Gate> line = {record(IN, 0), record(H, 4), record(T, 5), record(OUT, 2),
                            record(H, 6)};
    EXPECT_EQ(table.get_line_gate_cost(line, QD), 4);
    std::list<Gate> only_out = {record(OUT, 2), record(H, 4)};
    EXPECT_EQ(table.get_line_gate_cost(only_out, QD), 0);
}

TEST(CostWindows, WholeLineAndIndexWindows) {
    CostGateCount table;
    table.add_rows("H 3 3 3 3 3 3 3 3 3\nT 1 1 1 1 1 1 1 1 1\nCZ 10 10 10 10 10 10 10 10 10\n",
                   "CostGateCount.txt");
    std::list<Gate> line = {record(IN, 0), record(H, 4), record(T, 5),
                            record(CZ, 6), record(T, 7), record(OUT, 2)};
    EXPECT_EQ(table.get_window_gate_cost(line, -1, -1, QD), 3 + 1 + 10 + 1);
    EXPECT_EQ(table.get_window_gate_cost(line, 4, 6, QD), 4);   // H, T
    EXPECT_EQ(table.get_window_gate_cost(line, 0, 7, QD), 14);  // IN, H, T, CZ
    EXPECT_EQ(table.get_window_gate_cost(line, 5, 5, QD), 12);  // from T to the list's end
    EXPECT_EQ(table.get_window_gate_cost(line, 99, 7, QD), 0);  // no start record
    EXPECT_EQ(table.get_window_gate_cost(line, 6, 4, QD), 11);  // end before start: to the end
    // Cycles over the same windows (QD: H 12, T 1, CZ 3).
    EXPECT_EQ(CostCycleCount::get_window_cycle_cost(line, -1, -1, QD), 12 + 1 + 3 + 1);
    EXPECT_EQ(CostCycleCount::get_window_cycle_cost(line, 4, 6, QD), 13);
}

TEST(CostWindows, RepeatedIndexUsesItsLastOccurrence) {
    std::list<Gate> line = {record(IN, 0), record(H, 4), record(H, 9),
                            record(T, 4),  record(T, 8), record(OUT, 2)};
    // The window starts at the second record with index 4 (the T) and ends before index 8.
    EXPECT_EQ(CostCycleCount::get_window_cycle_cost(line, 4, 8, QD), 1);
    std::list<Gate> tiny = {record(IN, 0), record(OUT, 2)};
    EXPECT_EQ(CostCycleCount::get_window_cycle_cost(tiny, -1, -1, QD), 0);
    std::list<Gate> empty;
    EXPECT_EQ(CostCycleCount::get_window_cycle_cost(empty, -1, -1, QD), 0);
}

// ---- Composite prices against the mappings ----------------------------------------------------

namespace {

struct Composite {
    Gate_type kind;
    void (*append)(GraphCircuit&);
};

const Composite kComposites[] = {
    {CNOT, [](GraphCircuit& c) { c.add_CNOT(0, 1); }},
    {CZ, [](GraphCircuit& c) { c.add_CZ(0, 1); }},
    {CP, [](GraphCircuit& c) { c.add_CP(0, 1, 1.0); }},  // a general angle
    {GEO, [](GraphCircuit& c) { c.add_GEO(0, 1, 1.0); }},
    {SWAP, [](GraphCircuit& c) { c.add_SWAP(0, 1); }},
    {ISWAP, [](GraphCircuit& c) { c.add_ISWAP(0, 1, 1.0); }},
    {ZENO, [](GraphCircuit& c) { c.add_ZENO(0, 1); }},
    {ZENO_dag, [](GraphCircuit& c) { c.add_ZENOd(0, 1); }},
    {Toffoli, [](GraphCircuit& c) { c.add_TOF(0, 1, 2); }},
    {PERES, [](GraphCircuit& c) { c.add_PERES(0, 1, 2); }},
    {Fredkin,
     [](GraphCircuit& c) {
         c.add_CNOT(2, 1);
         c.add_TOF(0, 1, 2);
         c.add_CNOT(2, 1);
     }},
};

class CompositePrices : public testing::TestWithParam<PMD_type> {};

}  // namespace

TEST_P(CompositePrices, EqualTheOperationCountOfTheMappedGates) {
    const PMD_type pmd = GetParam();
    for (const Composite& composite : kComposites) {
        GraphCircuit c("composite", pmd, qec_none, 0);
        c.set_dummy_node(3);
        composite.append(c);
        bool native = false;  // the mapping appends a gate of the kind itself
        for (auto [it, end] = boost::vertices(c.graph); it != end; ++it)
            native |= boost::get(boost::vertex_gate, c.graph, *it) == composite.kind;
        const int price = c.cost_gate_count.get_gate_cost(composite.kind, pmd);
        if (native)
            EXPECT_EQ(price, 1) << gate_keyword(composite.kind) << " on " << pmd_keyword(pmd);
        else
            EXPECT_EQ(c.num_ops(pmd), price)
                << gate_keyword(composite.kind) << " on " << pmd_keyword(pmd);
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, CompositePrices, testing::ValuesIn(kAllPmds),
                         [](const testing::TestParamInfo<PMD_type>& info) {
                             return std::string(pmd_keyword(info.param));
                         });
