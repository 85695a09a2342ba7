#pragma once
// The circuit graph: a DAG of gate vertices over qubit lines, with the circuit's global phase,
// machine description, code, level, qubit names and the cost tables and caches the passes use.
//
// Each qubit is a "line": a chain of vertices from its IN marker to its OUT marker, linked by
// edges labelled with the line number. One SOURCE vertex precedes all IN markers and one SINK
// vertex follows all OUT markers. Gates are held in time order (a later gate multiplies the
// circuit's unitary from the left). Angles in π/4, phases in π.

#include <boost/graph/adjacency_list.hpp>
#include <complex>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "FaultTolerant/ft_method.h"
#include "FaultTolerant/ft_table.h"
#include "circuit/gate.h"
#include "cost/cost_gate_count.h"
#include "cost/gate_kind_counts.h"
#include "cost/tile_table.h"
#include "optimise/line_reduction_memo.h"

namespace boost {
enum vertex_gate_t { vertex_gate };
enum vertex_angle_t { vertex_angle };
enum vertex_angle1_t { vertex_angle1 };
enum vertex_angle2_t { vertex_angle2 };
enum vertex_control_t { vertex_control };
enum vertex_target_t { vertex_target };
enum edge_line_t { edge_line };
BOOST_INSTALL_PROPERTY(vertex, gate);
BOOST_INSTALL_PROPERTY(vertex, angle);
BOOST_INSTALL_PROPERTY(vertex, angle1);
BOOST_INSTALL_PROPERTY(vertex, angle2);
BOOST_INSTALL_PROPERTY(vertex, control);
BOOST_INSTALL_PROPERTY(vertex, target);
BOOST_INSTALL_PROPERTY(edge, line);
}  // namespace boost

using VertexProperties = boost::property<
    boost::vertex_gate_t, Gate_type,
    boost::property<
        boost::vertex_index_t, int,
        boost::property<
            boost::vertex_angle_t, double,
            boost::property<
                boost::vertex_angle1_t, double,
                boost::property<
                    boost::vertex_angle2_t, double,
                    boost::property<
                        boost::vertex_control_t, int,
                        boost::property<boost::vertex_target_t, int,
                                        boost::property<boost::vertex_color_t,
                                                        boost::default_color_type>>>>>>>>;
using EdgeProperties = boost::property<boost::edge_line_t, int>;

// Vertices and edges are kept in lists so that removing a vertex or an edge never invalidates
// the handles of the others: passes hold vertex handles across edits.
using Graph = boost::adjacency_list<boost::listS, boost::listS, boost::bidirectionalS,
                                    VertexProperties, EdgeProperties>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;
using Edge = boost::graph_traits<Graph>::edge_descriptor;

struct Matrix2;

/// \brief The vertex after v on line q; ends the program if v has no out-edge labelled q.
Vertex next_node(Graph& g, Vertex v, int q);
/// \brief The vertex before v on line q; reports and returns v itself if there is none.
Vertex prev_node(Graph& g, Vertex v, int q);
/// \brief Removes the first out-edge of v labelled q, if any.
void remove_an_edge(Graph& g, Vertex v, int q);

/// \brief Gate record of a vertex (kind, angles, control, target, index).
Gate vertex_gate_record(const Graph& g, Vertex v);

class GraphCircuit {
  public:
    int num_qubits = 0;
    int gate_counter = 0;
    GlobalPhase global_phase;  // in π
    Graph graph;
    PMD_type pmd;
    qecCode code;
    int level;
    std::string file_name;
    std::map<std::string, int> qubit_line;
    std::map<int, std::string> line_name;
    CostGateCount cost_gate_count;
    tileTable tile_table;
    FT_table ft_table;
    int ft_cache_hits = 0;
    int ft_cache_misses = 0;
    /// What reduce1Qgate last made of each line (a cache: it never changes a result).
    line::ReductionMemo line_reduction_memo;
    std::vector<Vertex> line_start;
    std::vector<Vertex> line_last;
    std::vector<Vertex> line_end;
    /// Edits per line: raised by every change to what a line holds (a vertex added to it or
    /// removed from it, a kind or an angle changed), not by a change of edge order alone. Every
    /// edit of the graph goes through a function that raises it (note_line_edit,
    /// note_vertex_edit); caches of per-line results compare it to know a line is unchanged.
    std::vector<uint64_t> line_edits;
    /// Vertices per kind (see GateKindCounts), for the operation count without a code.
    GateKindCounts kind_counts;

    GraphCircuit(std::string file_name, PMD_type pmd, qecCode code, int level);
    GraphCircuit(const GraphCircuit&) = delete;
    GraphCircuit& operator=(const GraphCircuit&) = delete;
    virtual ~GraphCircuit();

    // ---- Line skeleton and graph helpers (graph_circuit.cpp) ----

    /// \brief Builds n empty lines (IN -> OUT), SOURCE and SINK; loads the cost tables.
    void set_dummy_node(int n);
    /// \brief All vertices in time order (SOURCE first, SINK last): the reverse of the output
    /// of boost::topological_sort over the vertex list, coloured with vertex_color_t.
    std::vector<Vertex> topological_order();
    /// \brief Records an edit of line q (see line_edits); lines outside the circuit are ignored.
    void note_line_edit(int q);
    /// \brief Records an edit of vertex v: of its line, and of both lines of a two-qubit vertex.
    void note_vertex_edit(Vertex v);
    /// \brief Removes a vertex with all its edges (the lines it was on record the edit).
    void erase_vertex(Vertex v);
    /// \brief Changes the kind of a vertex (the lines it is on record the edit).
    void set_vertex_kind(Vertex v, Gate_type kind);
    /// \brief Creates a vertex with the given properties and the next index; no edges.
    Vertex new_vertex(Gate_type kind, double angle, double angle1, double angle2, int control,
                      int target);

    // ---- Netlist reading (circuit/netlist_reader.cpp) ----

    /// \brief Reads a netlist text (gates in time order), mapping every gate to `pmd`.
    void read_netlist(std::string& text);

    // ---- Netlist writing (circuit/netlist_writer.cpp) ----

    /// \brief Writes the netlist file (gates in time order); no global phase line.
    void output_circuit(std::string file_name);
    /// \brief The netlist as a text, with a ".global_phase" line, for the next read_netlist.
    std::string output_circuit_in_string();
    /// \brief Netlist-like listing with the total gate cost; sets cout precision to 16.
    void print_circuit();
    /// \brief Raw dump of vertices and edges.
    void print_graph_circuit();

    // ---- Gate insertion and two-qubit mapping (mapping/gate_insertion.cpp,
    //      mapping/two_qubit_mapping.cpp) ----

    /// \brief Appends a one-qubit vertex at the end of line `qubit`.
    void add_gate(Gate_type kind, int qubit, double angle, double angle1, double angle2);
    /// \brief Appends a two-qubit vertex at the end of lines `control` and `target`.
    void add_gate(Gate_type kind, int control, int target, double angle);
    void add_CNOT(int control, int target);
    void add_CZ(int control, int target);
    void add_CP(int control, int target, double angle);
    void add_GEO(int control, int target, double angle);

    // ---- Multi-qubit decompositions (mapping/multi_qubit_mapping.cpp) ----

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

    // ---- Named-gate rewrites (mapping/named_gate_decomposition.cpp,
    //      mapping/ctl_conversion.cpp) ----

    void decompose_XYZSTH_gate();
    void convert_to_CTL();

    // ---- One-qubit line reduction (optimise/line_reduction.cpp and friends) ----

    void reduce1Qgate();
    void copy_a_line(int q, LineOfGates& L);
    void revise_a_line(int q, LineOfGates& L);
    void clear_path(int q, Vertex from, Vertex to);
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

    // ---- Two-qubit and critical-path reduction (optimise/two_qubit_reduction.cpp,
    //      optimise/critical_reduction.cpp) ----

    void reduce2Qgate();
    void reduce_critical();

    // ---- Counts (cost/circuit_cost.cpp) ----

    double num_ops(PMD_type pmd);
    /// \brief The count without a code from kind_counts; false when a kind has no plain price,
    /// the counts do not match the graph or the sum may be inexact (the caller then counts
    /// vertex by vertex).
    bool ops_from_kind_counts(PMD_type pmd, double& total) const;
    double num_cycles(PMD_type pmd);
    /// \brief Computes finish, latest and slack times; hands back in `path` the gate vertices
    /// of one critical path in time order.
    void find_critical_path(std::vector<Vertex>& path);

    // ---- Fault-tolerant conversion (FaultTolerant/ft_conversion.cpp) ----

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
