// Tile table: the layout file, the 18 keys and their code slots, angle classes and windows.
#include "cost/tile_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "cost/logical_cost.h"
#include "support/fatal_capture.h"
#include "support/test_env.h"

namespace {

using testfatal::fatal_message;

const std::map<std::string, int> kFourQubits = {{"q0", 0}, {"q1", 1}, {"q2", 2}, {"q3", 3}};

/// Writes a layout file in a scratch folder and returns its path.
std::string layout_file(const std::string& name, const std::string& text) {
    // The process id keeps parallel test processes out of each other's folders.
    const std::string dir =
        testenv::make_scratch_dir("tile_" + name + "_" + std::to_string(getpid()), false);
    const std::string path = dir + "/c.txt.layout";
    testenv::write_file(path, text);
    return path;
}

double table_ops(const tileTable& t, tileGate2D key, int slot) {
    return t.ops_table.at(key).v[slot];
}
double table_cyc(const tileTable& t, tileGate2D key, int slot) {
    return t.cyc_table.at(key).v[slot];
}

}  // namespace

TEST(TileLayout, TwoByTwoGridAndAdjacency) {
    tileTable t(kFourQubits, LP, 1, layout_file("grid", "q0 q1\nq2 q3\n"));
    EXPECT_EQ(t.layout.at(0), std::make_pair(0, 0));
    EXPECT_EQ(t.layout.at(1), std::make_pair(1, 0));
    EXPECT_EQ(t.layout.at(2), std::make_pair(0, 1));
    EXPECT_EQ(t.layout.at(3), std::make_pair(1, 1));
    // Level 1 under code 0 prices horizontal and vertical CNOTs differently.
    ASSERT_NE(table_ops(t, tgHCNOT, 0), table_ops(t, tgVCNOT, 0));
    for (int cycles : {0, 1}) {
        const auto& table = cycles == 0 ? t.ops_table : t.cyc_table;
        EXPECT_EQ(t.getOpsCyc(qec_code0, CNOT, 0, 0, 1, cycles), table.at(tgHCNOT).v[0]);
        EXPECT_EQ(t.getOpsCyc(qec_code0, CNOT, 0, 0, 2, cycles), table.at(tgVCNOT).v[0]);
        EXPECT_EQ(t.getOpsCyc(qec_code0, CNOT, 0, 0, 3, cycles), table.at(tgVCNOT).v[0]);
        EXPECT_EQ(t.getOpsCyc(qec_code0, CNOT, 0, 1, 0, cycles), table.at(tgHCNOT).v[0]);
        EXPECT_EQ(t.getOpsCyc(qec_code1, SWAP, 0, 2, 3, cycles), table.at(tgHSWAP).v[1]);
        EXPECT_EQ(t.getOpsCyc(qec_code2, GEO, 3.0, 1, 3, cycles), table.at(tgVGeo).v[2]);
    }
}

TEST(TileLayout, TableEntriesComeFromTheCostModel) {
    tileTable t(kFourQubits, QD, 2, layout_file("entries", "q0 q1 q2 q3\n"));
    EXPECT_EQ(table_ops(t, tgHCNOT, 0), ops_hCNOT(2, QD, qec_code0));
    EXPECT_EQ(table_ops(t, tgVSWAP, 1), ops_vSWAP(2, QD, qec_code1));
    EXPECT_EQ(table_ops(t, tgVCZ, 2), ops_vCZ(2, QD, qec_code3));  // two-qubit slot 2 is code 3
    EXPECT_EQ(table_cyc(t, tgHGeo, 2), cyc_hGeo(2, QD, qec_code3));
    EXPECT_EQ(table_ops(t, tgRxOdd, 0), ops_Rx(2, QD, qec_code0, 1.0));
    EXPECT_EQ(table_ops(t, tgRyHalf, 1), ops_Ry(2, QD, qec_code1, 2.0));
    EXPECT_EQ(table_cyc(t, tgRzPi, 2), cyc_Rz(2, QD, qec_code2, 4.0));
    EXPECT_EQ(table_cyc(t, tgH, 1), cyc_H(2, QD, qec_code1));
    EXPECT_EQ(table_ops(t, tgRzPi, 0), 247964);  // hand-computed in logical_cost_test
}

TEST(TileLayout, BlankLinesCountAsRowsAndNamesListedTwiceKeepTheirFirstPlace) {
    tileTable t(kFourQubits, SC, 0, layout_file("rows", "q0 q1\n\n   \nq2 q0\n"));
    EXPECT_EQ(t.layout.at(0), std::make_pair(0, 0));
    EXPECT_EQ(t.layout.at(2), std::make_pair(0, 3));
    EXPECT_EQ(t.layout.count(3), 0u);  // q3 is not placed: (0, 0) at lookup
}

TEST(TileLayout, UnknownNameIsAddedWithLineZero) {
    // qX is unknown: it joins the name map (3 names) and is counted (3 names in the file).
    const std::map<std::string, int> two = {{"q0", 0}, {"q1", 1}};
    EXPECT_EQ(fatal_message([&] { tileTable t(two, SC, 0, layout_file("unknown", "q0 q1 qX\n")); }),
              "");
    EXPECT_EQ(fatal_message([&] { tileTable t(two, SC, 0, layout_file("unknown2", "q0 qX\n")); }),
              "#qubit readed does not match!");
}

TEST(TileLayout, CountMismatchAndMissingFile) {
    EXPECT_EQ(
        fatal_message([&] { tileTable t(kFourQubits, SC, 0, layout_file("few", "q0 q1\nq2\n")); }),
        "#qubit readed does not match!");
    EXPECT_EQ(fatal_message([&] {
                  tileTable t(kFourQubits, SC, 0, layout_file("dup", "q0 q1\nq2 q3 q3\n"));
              }),
              "#qubit readed does not match!");
    const std::string missing = testenv::make_scratch_dir("tile_missing", false) + "/none.layout";
    EXPECT_EQ(fatal_message([&] { tileTable t(kFourQubits, SC, 0, missing); }),
              "cannot find qubit layout information: " + missing);
    const std::string folder = testenv::make_scratch_dir("tile_folder.layout", false);
    EXPECT_EQ(fatal_message([&] { tileTable t(kFourQubits, SC, 0, folder); }),
              "cannot find qubit layout information: " + folder);
}

TEST(TileLayoutDeathTest, MissingFileEndsWithStatusOne) {
    EXPECT_EXIT(tileTable(kFourQubits, SC, 0, "no_such_circuit.txt.layout"),
                testing::ExitedWithCode(1), "");
}

// ---- Keys and angles -------------------------------------------------------------------------

struct KeyCase {
    Gate_type type;
    double angle;
    int key;  // -1: costs 0 without a lookup
};

void PrintTo(const KeyCase& k, std::ostream* out) {
    *out << "kind " << k.type << " angle " << k.angle;
}

class TileKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(TileKeys, Lookup) {
    static const tileTable t(kFourQubits, NP, 1, layout_file("keys", "q0 q1\nq2 q3\n"));
    const KeyCase& k = GetParam();
    for (qecCode code : {qec_code0, qec_code1, qec_code2}) {
        for (int cycles : {0, 1}) {
            const double expected = k.key < 0 ? 0.0
                                              : (cycles == 0 ? t.ops_table : t.cyc_table)
                                                    .at(static_cast<tileGate2D>(k.key))
                                                    .v[code];
            const bool two = is_2Q_gate(k.type);
            EXPECT_EQ(t.getOpsCyc(code, k.type, k.angle, two ? 0 : -1, two ? 2 : 1, cycles),
                      expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Classes, TileKeys,
    testing::Values(KeyCase{RX, 1.0, 0}, KeyCase{RX, -7.0, 0}, KeyCase{RX, 6.0, 1},
                    KeyCase{RX, -4.0, 2}, KeyCase{RY, 3.0, 3}, KeyCase{RY, -2.0, 4},
                    KeyCase{RY, 4.0, 5}, KeyCase{RZ, 9.0, 6}, KeyCase{RZ, -2.0, 7},
                    KeyCase{RZ, -12.0, 8}, KeyCase{RZ, 0.0, -1}, KeyCase{RZ, 8.0, -1},
                    KeyCase{H, 0, 9}, KeyCase{T, 0, 6}, KeyCase{T_dag, 0, 6}, KeyCase{S, 0, 7},
                    KeyCase{S_dag, 0, 7}, KeyCase{X, 0, 2}, KeyCase{Y, 0, 5}, KeyCase{Z, 0, 8},
                    KeyCase{CNOT, 0, 11}, KeyCase{CZ, 0, 13}, KeyCase{CP, 4.0, 13},
                    KeyCase{CP, 12.0, 13}, KeyCase{GEO, 1.0, 15}, KeyCase{SWAP, 0, 17},
                    KeyCase{I, 0, -1}, KeyCase{RXY, 0, -1}, KeyCase{ZENO, 0, -1},
                    KeyCase{CP, 0, -1}, KeyCase{IN, 0, -1}, KeyCase{OUT, 3.0, -1},
                    KeyCase{SINK, 0, -1}));

struct BadGate {
    Gate_type type;
    double angle;
    const char* message;
};

void PrintTo(const BadGate& b, std::ostream* out) {
    *out << "kind " << b.type << " angle " << b.angle;
}

class TileUnsupported : public testing::TestWithParam<BadGate> {};

TEST_P(TileUnsupported, EndsWithMessage) {
    static const tileTable t(kFourQubits, NP, 1, layout_file("bad", "q0 q1\nq2 q3\n"));
    const BadGate& b = GetParam();
    EXPECT_EQ(fatal_message([&] { t.getOpsCyc(qec_code0, b.type, b.angle, 0, 1, 0); }), b.message);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, TileUnsupported,
    testing::Values(BadGate{RZ, 17.0, "error! not supported gate 3 angle: 9"},
                    BadGate{RX, 0.5, "error! not supported gate 1 angle: 0.5"},
                    BadGate{CP, 2.0, "error! not supported gate 25 angle: 2"},
                    BadGate{CP, -4.0, "error! not supported gate 25 angle: -4"},
                    BadGate{ISWAP, 2.0, "error! not supported gate 27 angle: 2"},
                    BadGate{RXY, 1.0, "error! not supported gate 12 angle: 1"}));

TEST(TileTableDeathTest, UnsupportedGateEndsWithStatusOne) {
    const tileTable t(kFourQubits, NP, 1, layout_file("death", "q0 q1\nq2 q3\n"));
    EXPECT_EXIT(t.getOpsCyc(qec_code0, RZ, 17.0, -1, 0, 0), testing::ExitedWithCode(1), "");
}

// ---- Lines and windows -----------------------------------------------------------------------

TEST(TileWindows, LineAndWindowSums) {
    const tileTable t(kFourQubits, SC, 1, layout_file("windows", "q0 q1\nq2 q3\n"));
    const double h = t.ops_table.at(tgH).v[0], rz = t.ops_table.at(tgRzHalf).v[0],
                 hcx = t.ops_table.at(tgHCNOT).v[0];
    std::list<Gate> line = {Gate(IN, 0, 0, 0, -1, 0, 0),  Gate(H, 0, 0, 0, -1, 0, 8),
                            Gate(RZ, 2, 0, 0, -1, 0, 9),  Gate(CNOT, 0, 0, 0, 0, 1, 10),
                            Gate(RZ, 2, 0, 0, -1, 0, 11), Gate(OUT, 0, 0, 0, -1, 0, 4),
                            Gate(H, 0, 0, 0, -1, 0, 12)};
    EXPECT_EQ(t.getLineOpsCost(line, qec_code0), h + 2 * rz + hcx);
    EXPECT_EQ(t.getWindowOpsCycCost(line, qec_code0, -1, -1, 0),
              h + 2 * rz + hcx);  // to last record
    EXPECT_EQ(t.getWindowOpsCycCost(line, qec_code0, 8, 10, 0), h + rz);
    EXPECT_EQ(t.getWindowOpsCycCost(line, qec_code0, 9, 9, 0), 0);
    EXPECT_EQ(t.getWindowOpsCycCost(line, qec_code0, 9, 11, 1),
              t.cyc_table.at(tgRzHalf).v[0] + t.cyc_table.at(tgHCNOT).v[0]);
    std::list<Gate> empty;
    EXPECT_EQ(t.getWindowOpsCycCost(empty, qec_code0, -1, -1, 0), 0);
    EXPECT_EQ(t.getLineOpsCost(empty, qec_code0), 0);
}

// ---- Shipped examples ------------------------------------------------------------------------

TEST(ExampleLayouts, EveryExampleNetlistHasAMatchingLayout) {
    namespace fs = std::filesystem;
    int netlists = 0;
    for (const auto& entry : fs::directory_iterator(testenv::source_path("examples"))) {
        const fs::path path = entry.path();
        if (path.extension() != ".txt" || fs::is_symlink(path)) continue;
        std::string text = testenv::read_file(path.string());
        if (text.find(".qubit") == std::string::npos) continue;  // a data file, not a netlist
        ++netlists;
        SCOPED_TRACE(path.string());
        ASSERT_TRUE(fs::exists(path.string() + ".layout"));
        const std::string message = fatal_message([&] {
            GraphCircuit c(path.string(), CTL, qec_code0, 1);
            c.read_netlist(text);
            EXPECT_EQ(c.tile_table.layout.size(), c.qubit_line.size());
        });
        EXPECT_EQ(message, "");
    }
    EXPECT_GT(netlists, 0);
}
