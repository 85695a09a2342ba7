// The façade's members: each forwards to the subsystem that does the work.

#include "circuit/graph_circuit.h"

#include "FaultTolerant/ft_conversion.h"
#include "circuit/netlist_writer.h"
#include "cost/circuit_cost.h"
#include "mapping/ctl_conversion.h"
#include "mapping/multi_qubit_mapping.h"
#include "mapping/named_gate_decomposition.h"
#include "mapping/two_qubit_mapping.h"
#include "optimise/critical_reduction.h"
#include "optimise/line_merge.h"
#include "optimise/line_reduction.h"
#include "optimise/two_qubit_reduction.h"

using line::Strategy;

namespace {

FtCache cache_of(GraphCircuit& c) {
    return FtCache{c.ft_table, c.ft_cache_hits, c.ft_cache_misses, c.ft_unconverted,
                   c.ft_log_failed};
}

}  // namespace

GraphCircuit::GraphCircuit(std::string file_name, PMD_type pmd, qecCode code, int level)
    : pmd(pmd), code(code), level(level), file_name(std::move(file_name)) {}

GraphCircuit::~GraphCircuit() = default;

void GraphCircuit::set_dummy_node(int n) {
    cost_gate_count.set_cost_table();
    const std::string layout_file = file_name + ".layout";
    if (code != qec_none) tile_table = tileTable(qubit_line, pmd, level, layout_file);
    make_lines(n);
    // New lines and prices: nothing the line reduction remembered holds for them (the edit
    // counts start again from 0).
    line_reduction_memo = line::ReductionMemo();
}

// ---- Netlist writing ----

void GraphCircuit::output_circuit(std::string file_name) {
    write_netlist_file(*this, pmd, file_name);
}

std::string GraphCircuit::output_circuit_in_string() {
    return netlist_string_text(*this, pmd);
}

void GraphCircuit::print_circuit() {
    const CostModel cost = cost_model();
    print_circuit_listing(*this, pmd, [&](Gate_type kind) { return cost.gate_price(kind); });
}

void GraphCircuit::print_graph_circuit() {
    print_graph(*this);
}

std::string netlist_file_text(const GraphCircuit& circuit) {
    return netlist_file_text(circuit, circuit.pmd);
}

// ---- Mapping ----

void GraphCircuit::add_CNOT(int control, int target) {
    mapping::add_CNOT(*this, pmd, control, target);
}
void GraphCircuit::add_CZ(int control, int target) {
    mapping::add_CZ(*this, pmd, control, target);
}
void GraphCircuit::add_CP(int control, int target, double angle) {
    mapping::add_CP(*this, pmd, control, target, angle);
}
void GraphCircuit::add_GEO(int control, int target, double angle) {
    mapping::add_GEO(*this, pmd, control, target, angle);
}
void GraphCircuit::add_TOF(int control1, int control2, int target) {
    mapping::add_TOF(*this, pmd, control1, control2, target);
}
void GraphCircuit::add_PERES(int control1, int control2, int target) {
    mapping::add_PERES(*this, pmd, control1, control2, target);
}
void GraphCircuit::add_PERESd(int control1, int control2, int target) {
    mapping::add_PERESd(*this, pmd, control1, control2, target);
}
void GraphCircuit::add_SWAP(int a, int b) {
    mapping::add_SWAP(*this, pmd, a, b);
}
void GraphCircuit::add_ISWAP(int a, int b, double angle) {
    mapping::add_ISWAP(*this, pmd, a, b, angle);
}
void GraphCircuit::add_ZENO(int a, int b) {
    mapping::add_ZENO(*this, pmd, a, b);
}
void GraphCircuit::add_ZENOd(int a, int b) {
    mapping::add_ZENOd(*this, pmd, a, b);
}
void GraphCircuit::add_CkNOT(std::vector<int>& qubits) {
    mapping::add_CkNOT(*this, pmd, qubits);
}
void GraphCircuit::add_CV(int n, int control, int target, int k) {
    mapping::add_CV(*this, pmd, n, control, target, k);
}
void GraphCircuit::add_CkZ(std::vector<int>& qubits) {
    mapping::add_CkZ(*this, pmd, qubits);
}
void GraphCircuit::decompose_XYZSTH_gate() {
    mapping::decompose_XYZSTH_gate(*this, pmd, level);
}
void GraphCircuit::convert_to_CTL() {
    mapping::convert_to_CTL(*this);
}

// ---- One-qubit line reduction ----

void GraphCircuit::reduce1Qgate() {
    line::reduce_lines(*this, cost_model(), line_reduction_memo);
}
void GraphCircuit::simplify(LineOfGates& L, int from, int to, int mode) {
    line::simplify(cost_model(), L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::simplify1(LineOfGates& L, int from, int to, int mode) {
    line::simplify1(cost_model(), L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::simplify2(LineOfGates& L, int from, int to, int mode) {
    line::simplify2(cost_model(), L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::simplify3(LineOfGates& L, int from, int to, int mode) {
    line::simplify3(cost_model(), L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::interchangeXLZR(LineOfGates& L, int from, int to, int mode) {
    line::interchange_xlzr(cost_model(), L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::interchangeXRZL(LineOfGates& L, int from, int to, int mode) {
    line::interchange_xrzl(cost_model(), L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::movementXLZR(int q, LineOfGates& L, int from, int to, int mode) {
    line::movement_xlzr(cost_model(), q, L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::movementXRZL(int q, LineOfGates& L, int from, int to, int mode) {
    line::movement_xrzl(cost_model(), q, L, from, to, measure_of_mode(mode), Strategy::Incremental);
}
void GraphCircuit::split_angles(LineOfGates& L) {
    line::split_angles(L, gate_counter);
}
void GraphCircuit::merge_H_gate(LineOfGates& L) {
    line::merge_H_gate(cost_model(), L);
}
void GraphCircuit::change_RXY2_gate(LineOfGates& L) {
    line::change_RXY2_gate(cost_model(), L);
}
void GraphCircuit::merge_RXY2_gate(LineOfGates& L) {
    line::merge_RXY2_gate(cost_model(), L);
}
void GraphCircuit::interchange_RZ_gate(LineOfGates& L) {
    line::interchange_RZ_gate(cost_model(), L);
}
void GraphCircuit::merge_ASQU_gate(LineOfGates& L) {
    line::merge_ASQU_gate(cost_model(), L);
}
void GraphCircuit::merge_RXY3_gate(LineOfGates& L) {
    line::merge_RXY3_gate(cost_model(), L);
}

// ---- Two-qubit and critical-path reduction ----

void GraphCircuit::reduce2Qgate() {
    ::reduce2Qgate(*this, cost_model());
}
void GraphCircuit::reduce_critical() {
    level = 0;
    ::reduce_critical(*this, cost_model(), &line_reduction_memo);
}

// ---- Counts ----

double GraphCircuit::num_ops(PMD_type pmd) {
    return ::num_ops(*this, cost_model(), pmd);
}
bool GraphCircuit::ops_from_kind_counts(PMD_type pmd, double& total) const {
    return ::ops_from_kind_counts(*this, cost_model(), pmd, total);
}
double GraphCircuit::num_cycles(PMD_type pmd) {
    return ::num_cycles(*this, cost_model(), pmd);
}
void GraphCircuit::find_critical_path(std::vector<Vertex>& path) {
    ::find_critical_path(*this, cost_model(), path);
}

// ---- Fault-tolerant conversion ----

void GraphCircuit::convert_FT(double threshold, int ft_mode, FtMethod method) {
    ::convert_FT(*this, cost_model(), cache_of(*this), threshold, ft_mode, method);
}
void GraphCircuit::convert_1Q_window_to_FT(LineOfGates& line, double threshold, int ft_mode,
                                           FtMethod method) {
    ::convert_1Q_window_to_FT(line, gate_counter, cache_of(*this), threshold, ft_mode, method);
}
Matrix2 GraphCircuit::convert_matrix(std::list<Gate>& gates, std::list<Gate>::iterator first,
                                     std::list<Gate>::iterator last) {
    return ::convert_matrix(gates, first, last, ft_log_failed);
}
void GraphCircuit::insert_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                                 std::list<Gate>::iterator last, std::string& seq) {
    ::insert_FT_seq(gates, first, last, seq, gate_counter);
}
void GraphCircuit::insert_inv_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                                     std::list<Gate>::iterator last, std::string& seq) {
    ::insert_inv_FT_seq(gates, first, last, seq, gate_counter);
}
