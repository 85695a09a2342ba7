#pragma once
// The circuit graph: a DAG of gate vertices over qubit lines, with the circuit's global phase,
// the qubit names and the bookkeeping of its lines. Every edit of the graph is made here.
//
// Each qubit is a "line": a chain of vertices from its IN marker to its OUT marker, linked by
// edges labelled with the line number. One SOURCE vertex precedes all IN markers and one SINK
// vertex follows all OUT markers. Gates are held in time order (a later gate multiplies the
// circuit's unitary from the left). Angles in π/4, phases in π.

#include <boost/graph/adjacency_list.hpp>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "circuit/gate.h"
#include "circuit/gate_kind_counts.h"
#include "circuit/two_qubit_index.h"

/// Where a two-qubit vertex stands in the two-qubit index: the lines it was entered on (its
/// control and target then) and its position on each (-1 for every other vertex); and the line
/// whose out-edge is still to be moved behind the other one (see move_out_edge_to_back), or -1.
struct TwoQubitSlot {
    int control_line = -1;
    int control_pos = -1;
    int target_line = -1;
    int target_pos = -1;
    int edge_to_back = -1;
};

namespace boost {
enum vertex_gate_t { vertex_gate };
enum vertex_angle_t { vertex_angle };
enum vertex_angle1_t { vertex_angle1 };
enum vertex_angle2_t { vertex_angle2 };
enum vertex_control_t { vertex_control };
enum vertex_target_t { vertex_target };
enum vertex_slot_t { vertex_slot };
enum edge_line_t { edge_line };
BOOST_INSTALL_PROPERTY(vertex, gate);
BOOST_INSTALL_PROPERTY(vertex, angle);
BOOST_INSTALL_PROPERTY(vertex, angle1);
BOOST_INSTALL_PROPERTY(vertex, angle2);
BOOST_INSTALL_PROPERTY(vertex, control);
BOOST_INSTALL_PROPERTY(vertex, target);
BOOST_INSTALL_PROPERTY(vertex, slot);
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
                                                        boost::default_color_type,
                                                        boost::property<boost::vertex_slot_t,
                                                                        TwoQubitSlot>>>>>>>>>;
using EdgeProperties = boost::property<boost::edge_line_t, int>;

// Vertices and edges are kept in lists so that removing a vertex or an edge never invalidates
// the handles of the others: passes hold vertex handles across edits.
using Graph = boost::adjacency_list<boost::listS, boost::listS, boost::bidirectionalS,
                                    VertexProperties, EdgeProperties>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;
using Edge = boost::graph_traits<Graph>::edge_descriptor;

/// \brief The vertex after v on line q; ends the program if v has no out-edge labelled q.
Vertex next_node(const Graph& g, Vertex v, int q);
/// \brief The vertex before v on line q; reports and returns v itself if there is none.
Vertex prev_node(const Graph& g, Vertex v, int q);
/// \brief Removes the first out-edge of v labelled q, if any.
void remove_an_edge(Graph& g, Vertex v, int q);

/// \brief Gate record of a vertex (kind, angles, control, target, index).
Gate vertex_gate_record(const Graph& g, Vertex v);

class CircuitGraph {
  public:
    int num_qubits = 0;
    int gate_counter = 0;
    GlobalPhase global_phase;  // in π
    Graph graph;
    std::map<std::string, int> qubit_line;
    std::map<int, std::string> line_name;
    std::vector<Vertex> line_start;
    std::vector<Vertex> line_last;
    std::vector<Vertex> line_end;
    /// Edits per line: raised by every change to what a line holds (a vertex added to it or
    /// removed from it, a kind or an angle changed), not by a change of edge order alone. Every
    /// edit of the graph goes through a function that raises it (note_line_edit,
    /// note_vertex_edit); caches of per-line results compare it to know a line is unchanged.
    std::vector<uint64_t> line_edits;
    /// Sum of line_edits: raised by every edit of the graph.
    uint64_t edit_count = 0;
    /// Raised whenever an entry of line_last changes or a two-qubit vertex changes kind: what
    /// the last records of the lines are.
    uint64_t line_ends_changes = 0;
    /// Vertices per kind (see GateKindCounts), for the operation count without a code.
    GateKindCounts kind_counts;
    /// The two-qubit vertices of every line in line order, and the two-qubit candidates: a
    /// two-qubit vertex is marked (at its control line's position) when it is created, when its
    /// kind or angle changes, and when one of the two records that follow it on either of its
    /// lines changes (a record after it added, removed, re-kinded or given another angle). A
    /// pass that reads nothing at a two-qubit vertex but the vertex and those records may clear
    /// the mark once it has found nothing to do there: until the mark is set again, it would
    /// find nothing again.
    TwoQubitIndex<Vertex> two_qubit_index;

    CircuitGraph() = default;
    CircuitGraph(const CircuitGraph&) = delete;
    CircuitGraph& operator=(const CircuitGraph&) = delete;
    virtual ~CircuitGraph();

    // ---- Skeleton and order ----

    /// \brief Builds n empty lines (IN -> OUT), SOURCE and SINK; gate indices start at 0.
    void make_lines(int n);
    /// \brief All vertices in time order (SOURCE first, SINK last): the reverse of the output
    /// of boost::topological_sort over the vertex list, coloured with vertex_color_t. The
    /// colours are scratch space of the sort and mean nothing between calls. Settles the
    /// out-edge order first (see move_out_edge_to_back).
    std::vector<Vertex> topological_order() const;
    /// \brief Carries out every out-edge move still pending, so that the out-edge lists hold
    /// the order the edits gave them.
    void settle_out_edge_order() const;
    /// \brief Carries out the out-edge move pending at v, if any: every edit calls it before
    /// it changes v's out-edges.
    void settle_out_edges(Vertex v) const;

    // ---- Vertex edits (each records the edit of the lines it touches) ----

    /// \brief Records an edit of line q (see line_edits); lines outside the circuit are ignored.
    void note_line_edit(int q);
    /// \brief Records an edit of vertex v: of its line, and of both lines of a two-qubit vertex.
    void note_vertex_edit(Vertex v);
    /// \brief Creates a vertex with the given properties and the next index; no edges.
    Vertex new_vertex(Gate_type kind, double angle, double angle1, double angle2, int control,
                      int target);
    /// \brief Removes a vertex with all its edges (the lines it was on record the edit).
    void erase_vertex(Vertex v);
    /// \brief Changes the kind of a vertex (the lines it is on record the edit). A two-qubit
    /// vertex stays two-qubit and a one-qubit vertex one-qubit.
    void set_vertex_kind(Vertex v, Gate_type kind);
    /// \brief Changes the angle of a vertex; an angle of the same bits is no edit.
    void set_vertex_angle(Vertex v, double angle);

    // ---- Two-qubit candidates (see two_qubit_index) ----

    /// \brief The position of two-qubit vertex v on line q, or -1 when v is not indexed on q.
    int line_position(Vertex v, int q) const;
    void mark_two_qubit_candidate(Vertex v);
    void clear_two_qubit_candidate(Vertex v);
    bool is_two_qubit_candidate(Vertex v) const;

    // ---- Gate edits ----

    /// \brief Appends a one-qubit vertex at the end of line `qubit`.
    void add_gate(Gate_type kind, int qubit, double angle, double angle1, double angle2);
    /// \brief Appends a two-qubit vertex at the end of lines `control` and `target`.
    void add_gate(Gate_type kind, int control, int target, double angle);
    /// \brief Inserts a new one-qubit vertex (`kind`, `angle`, fresh index) right after `v` on
    /// line `q` and returns it. Keeps `line_last` valid.
    Vertex insert_gate_after(Vertex v, int q, Gate_type kind, double angle);
    /// \brief Takes `v` off each of its lines, joins its predecessor and successor on each line
    /// by an edge labelled with that line, and deletes the vertex. Keeps `line_last` valid.
    void remove_gate_vertex(Vertex v);

    // ---- Lines as lists of records ----

    /// The vertices of a line from IN to OUT as a copy of the line walked them, with the line's
    /// edit count then: while the count is the same, the line still holds those vertices in
    /// that order, and writing the line back need not walk it again.
    struct LineVertices {
        int line = -1;
        uint64_t edits = 0;
        std::vector<Vertex> vertices;
    };

    /// \brief Appends the records of line q, from IN to OUT, to L (and, when `walked` is given,
    /// the vertices to it).
    void copy_a_line(int q, LineOfGates& L, LineVertices* walked = nullptr) const;
    /// \brief Makes `records` the records of line q, from IN to OUT (and, when `walked` is
    /// given, the vertices those of `walked`).
    void copy_a_line(int q, std::vector<Gate>& records, LineVertices* walked = nullptr) const;
    /// \brief Removes the vertices strictly between `from` and `to` on line q. Keeps
    /// `line_last` valid.
    void clear_path(int q, Vertex from, Vertex to);
    /// \brief Writes L back as line q (its two-qubit records must be the line's) and adds its
    /// phase to the global phase. Keeps `line_last` valid. `walked` (optional) is what
    /// copy_a_line gave when the records were copied, used when the line has not changed since.
    /// `written` (optional, not `walked`) receives the line's vertices as written, IN to OUT,
    /// and its edit count after the writing: what copy_a_line would report now.
    /// `walked_records` (optional, with `walked`): the records those vertices hold, one per
    /// vertex, read instead of the vertices to find the runs that stay.
    void revise_a_line(int q, const LineOfGates& L, const LineVertices* walked = nullptr,
                       LineVertices* written = nullptr,
                       const std::vector<Gate>* walked_records = nullptr);
    /// \brief The same for records held in a vector, with their phase.
    void revise_a_line(int q, const std::vector<Gate>& records, double phase,
                       const LineVertices* walked = nullptr, LineVertices* written = nullptr,
                       const std::vector<Gate>* walked_records = nullptr);
    /// \brief Sets line_last[q] to the vertex before line q's OUT marker (as it is now).
    void refresh_line_last(int q);
    /// \brief Moves the out-edge of v on line q behind v's other out-edges: what writing a run
    /// after v back unchanged does to the edge order (which decides the written gate order).
    /// At a two-qubit vertex the move is only noted, and carried out when the order is next
    /// read (topological_order) or v's out-edges next change: a two-qubit vertex has two
    /// out-edges, so of several moves only the last one counts, and nothing but the sort reads
    /// the order of out-edges (the line walks pick an edge by its line).
    void move_out_edge_to_back(Vertex v, int q);
    /// \brief move_out_edge_to_back for each vertex of `vertices` in turn.
    void move_out_edges_to_back(const std::vector<Vertex>& vertices, int q);

    /// \brief Marks the two-qubit candidates that read the records after v on line q (call it
    /// before those records change): v itself and the record before it, when they are
    /// two-qubit vertices.
    void note_change_after(Vertex v, int q);

  private:
    /// Marks the candidates that read v's own fields (call it before they change): v, and the
    /// two records before it on each of its lines.
    void note_record_change(Vertex v);
    /// Sets line_last[q] to v, raising line_ends_changes when that changes it.
    void set_line_last(int q, Vertex v);
    /// Enters a new two-qubit vertex, just appended to both its lines, into the index.
    void index_two_qubit_vertex(Vertex v);
    /// Hands the records of line q, IN to OUT, to `put` (and the vertices to `walked`).
    template <typename Put>
    void walk_a_line(int q, LineVertices* walked, Put put) const;
    /// Any out-edge move is pending.
    mutable bool edge_moves_pending_ = false;

  public:
    /// Buffers of revise_a_line, reused from call to call so that writing a long line back does
    /// not allocate (they carry nothing from one call to the next).
    struct RebuildScratch {
        std::vector<Vertex> anchors, interior;
        std::vector<Gate> interior_records;
        std::vector<size_t> interior_end;
    };
    RebuildScratch rebuild_scratch;
};
