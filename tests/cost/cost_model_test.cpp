// The cost model: every measure asks the table it names, the numbered modes map onto the
// measures, and a model moved to another description prices on that description only.
#include "cost/cost_model.h"

#include <gtest/gtest.h>

#include <list>

namespace {

const Gate_type kKinds[] = {I, RX, RY, RZ, X, Z, H, S, T, T_dag, CNOT, CZ, CP, GEO, SWAP, ISWAP};
const PMD_type kPmds[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};

}  // namespace

TEST(CostModel, NumberedModesNameTheMeasures) {
    EXPECT_EQ(measure_of_mode(0), Measure::GateCount);
    EXPECT_EQ(measure_of_mode(1), Measure::Cycles);
    EXPECT_EQ(measure_of_mode(2), Measure::LogicalOps);
    EXPECT_EQ(measure_of_mode(3), Measure::LogicalCycles);
    // Any other number prices as the gate count, as the stages always did.
    for (int mode : {-1, 4, 17}) EXPECT_EQ(measure_of_mode(mode), Measure::GateCount) << mode;
    EXPECT_EQ(ops_measure(qec_none), Measure::GateCount);
    EXPECT_EQ(cycles_measure(qec_none), Measure::Cycles);
    for (qecCode code : {qec_code0, qec_code1, qec_code2, qec_code3}) {
        EXPECT_EQ(ops_measure(code), Measure::LogicalOps);
        EXPECT_EQ(cycles_measure(code), Measure::LogicalCycles);
    }
}

TEST(CostModel, PhysicalMeasuresAskTheirTablesOnEveryDescription) {
    CostGateCount prices;
    prices.set_cost_table();  // the copy of data/CostGateCount.txt in the test folder
    const tileTable tiles;
    for (PMD_type pmd : kPmds) {
        const CostModel model(prices, tiles, pmd, qec_none);
        for (Gate_type kind : kKinds) {
            for (double angle : {0.0, 1.0, 2.0, 3.5, 6.0, -2.0}) {
                const Gate g(kind, angle, 0, 0, 0, 1, 7);
                EXPECT_EQ(model.record_cost(g, Measure::GateCount), prices.get_gate_cost(kind, pmd))
                    << kind << " on " << pmd;
                EXPECT_EQ(model.record_cost(g, Measure::Cycles),
                          CostCycleCount::get_cycle_cost(kind, pmd, angle))
                    << kind << " on " << pmd << " angle " << angle;
            }
            EXPECT_EQ(model.gate_price(kind), prices.get_gate_cost(kind, pmd));
        }
    }
}

TEST(CostModel, WindowsAndOtherDescriptions) {
    CostGateCount prices;
    prices.set_cost_table();
    const tileTable tiles;
    const CostModel sc(prices, tiles, SC, qec_none);
    std::list<Gate> line = {Gate(IN, 0, 0, 0, -1, 0, 0),  Gate(RZ, 1, 0, 0, -1, 0, 4),
                            Gate(CNOT, 0, 0, 0, 0, 1, 5), Gate(RX, 2, 0, 0, -1, 0, 6),
                            Gate(H, 0, 0, 0, -1, 0, 8),   Gate(OUT, 0, 0, 0, -1, 0, 2)};
    for (Measure m : {Measure::GateCount, Measure::Cycles}) {
        const int from = 5, to = 2;  // from the CNOT to OUT
        const double expected = m == Measure::GateCount
                                    ? prices.get_window_gate_cost(line, from, to, SC)
                                    : CostCycleCount::get_window_cycle_cost(line, from, to, SC);
        EXPECT_EQ(sc.window_cost(line, from, to, m), expected);
        EXPECT_EQ(sc.window_cost(line, -1, -1, m),
                  m == Measure::GateCount
                      ? prices.get_window_gate_cost(line, -1, -1, SC)
                      : CostCycleCount::get_window_cycle_cost(line, -1, -1, SC));
    }
    // The whole-line cost is the gate count under every physical measure.
    for (Measure m : {Measure::GateCount, Measure::Cycles})
        EXPECT_EQ(sc.line_cost(line, m), prices.get_line_gate_cost(line, SC));
    const CostModel it = sc.on(IT);
    EXPECT_EQ(it.pmd, IT);
    EXPECT_EQ(it.code, qec_none);
    EXPECT_EQ(&it.cost_gate_count, &prices);
    for (Gate_type kind : kKinds) EXPECT_EQ(it.gate_price(kind), prices.get_gate_cost(kind, IT));
}
