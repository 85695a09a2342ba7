#pragma once
// The circuit as the driver synthesises it: the circuit graph (circuit_graph.h) together with
// the machine description, code and level it is synthesised for and the tables it owns (price
// table, tile table, sequence cache and its counters, memo of the line reduction). The members
// named after the steps of the synthesis forward to the subsystems: mapping/ (the add_ family,
// named-gate and Clifford+T rewrites), optimise/ (line stages, two-qubit and critical-path
// reductions), cost/ (counts) and FaultTolerant/ (the conversion). Angles in π/4, phases in π.

#include <complex>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "FaultTolerant/ft_method.h"
#include "FaultTolerant/ft_table.h"
#include "circuit/circuit_graph.h"
#include "circuit/gate.h"
#include "cost/cost_gate_count.h"
#include "cost/cost_model.h"
#include "cost/tile_table.h"
#include "optimise/line_reduction_memo.h"

struct Matrix2;

class GraphCircuit : public CircuitGraph {
  public:
    PMD_type pmd;
    qecCode code;
    int level;
    std::string file_name;
    CostGateCount cost_gate_count;
    tileTable tile_table;
    FT_table ft_table;
    int ft_cache_hits = 0;
    int ft_cache_misses = 0;
    int ft_unconverted = 0;      // fractional rotations the conversion left as they were
    bool ft_log_failed = false;  // a write of the conversion's angle log failed
    /// What reduce1Qgate last made of each line (a cache: it never changes a result).
    line::ReductionMemo line_reduction_memo;

    GraphCircuit(std::string file_name, PMD_type pmd, qecCode code, int level);
    ~GraphCircuit() override;

    /// \brief The prices of this circuit's description and code.
    CostModel cost_model() const { return CostModel(cost_gate_count, tile_table, pmd, code); }

    // ---- Skeleton (circuit_graph.h) ----

    /// \brief Loads the price table (and the tile table under a code), then builds n empty
    /// lines (IN -> OUT), SOURCE and SINK.
    void set_dummy_node(int n);

    // ---- Netlist reading and writing (netlist_reader.cpp, netlist_writer.h) ----

    /// \brief Reads a netlist text (gates in time order), mapping every gate to `pmd`.
    void read_netlist(std::string& text);
    /// \brief Writes the netlist file (gates in time order); no global phase line.
    void output_circuit(std::string file_name);
    /// \brief The netlist as a text, with a ".global_phase" line, for the next read_netlist.
    std::string output_circuit_in_string();
    /// \brief Netlist-like listing with the total gate cost; sets cout precision to 16.
    void print_circuit();
    /// \brief Raw dump of vertices and edges.
    void print_graph_circuit();

    // ---- Mapping (mapping/) ----

    void add_CNOT(int control, int target);
    void add_CZ(int control, int target);
    void add_CP(int control, int target, double angle);
    void add_GEO(int control, int target, double angle);
    void add_TOF(int control1, int control2, int target);
    void add_PERES(int control1, int control2, int target);
    void add_PERESd(int control1, int control2, int target);
    void add_SWAP(int a, int b);
    void add_ISWAP(int a, int b, double angle);
    void add_ZENO(int a, int b);
    void add_ZENOd(int a, int b);
    /// `qubits`: controls then the target last; the target is removed from the vector.
    void add_CkNOT(std::vector<int>& qubits);
    void add_CV(int n, int control, int target, int k);
    void add_CkZ(std::vector<int>& qubits);
    void decompose_XYZSTH_gate();
    void convert_to_CTL();

    // ---- One-qubit line reduction (optimise/line_*.h); cost modes: 0 gate count, 1 cycles,
    //      2 logical operations, 3 logical cycles ----

    void reduce1Qgate();
    void simplify(LineOfGates& L, int from, int to, int mode);
    void simplify1(LineOfGates& L, int from, int to, int mode);
    void simplify2(LineOfGates& L, int from, int to, int mode);
    void simplify3(LineOfGates& L, int from, int to, int mode);
    void interchangeXLZR(LineOfGates& L, int from, int to, int mode);
    void interchangeXRZL(LineOfGates& L, int from, int to, int mode);
    void movementXLZR(int q, LineOfGates& L, int from, int to, int mode);
    void movementXRZL(int q, LineOfGates& L, int from, int to, int mode);
    void split_angles(LineOfGates& L);
    void merge_H_gate(LineOfGates& L);
    void change_RXY2_gate(LineOfGates& L);
    void merge_RXY2_gate(LineOfGates& L);
    void interchange_RZ_gate(LineOfGates& L);
    void merge_ASQU_gate(LineOfGates& L);
    void merge_RXY3_gate(LineOfGates& L);

    // ---- Two-qubit and critical-path reduction (optimise/) ----

    void reduce2Qgate();
    /// \brief Sets the level to 0, then reduces the windows of one critical path.
    void reduce_critical();

    // ---- Counts (cost/circuit_cost.h) ----

    double num_ops(PMD_type pmd);
    bool ops_from_kind_counts(PMD_type pmd, double& total) const;
    double num_cycles(PMD_type pmd);
    void find_critical_path(std::vector<Vertex>& path);

    // ---- Fault-tolerant conversion (FaultTolerant/ft_conversion.h) ----

    void convert_FT(double threshold, int ft_mode, FtMethod method = FtMethod::ByMode);
    void convert_1Q_window_to_FT(LineOfGates& line, double threshold, int ft_mode,
                                 FtMethod method = FtMethod::ByMode);
    Matrix2 convert_matrix(std::list<Gate>& gates, std::list<Gate>::iterator first,
                           std::list<Gate>::iterator last);
    void insert_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                       std::list<Gate>::iterator last, std::string& seq);
    void insert_inv_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                           std::list<Gate>::iterator last, std::string& seq);
};

/// \brief The text of the output file of `circuit` (see netlist_writer.h).
std::string netlist_file_text(const GraphCircuit& circuit);
