#include "optimise/commuting_cancellation.h"

#include <algorithm>
#include <vector>

#include "optimise/phase_gates.h"

namespace phases {

namespace {

// What a gate is to a single line it stands on, for the commutation rules.
enum class LineRole {
    Diagonal,  // diagonal on this line: one-qubit diagonal gates, a CNOT's control, CZ, CP, GEO
    XAxis,     // X-axis on this line: X, RX, a CNOT's target
    Other
};

LineRole role_on(const Graph& g, Vertex v, int q) {
    const Gate_type kind = get(boost::vertex_gate, g, v);
    PhaseSum form;
    if (kind == I) return LineRole::Diagonal;  // commutes with everything
    if (is_1Q_gate(kind)) {
        if (diagonal_form(kind, 0, form)) return LineRole::Diagonal;
        if (x_axis_form(kind, 0, form)) return LineRole::XAxis;
        return LineRole::Other;
    }
    if (kind == CNOT)
        return get(boost::vertex_control, g, v) == q ? LineRole::Diagonal : LineRole::XAxis;
    if (kind == CZ || kind == CP || kind == GEO) return LineRole::Diagonal;
    return LineRole::Other;
}

// True when a gate of role `role` on line q commutes with the record at w on q.
bool passes(const Graph& g, Vertex w, int q, LineRole role) {
    if (get(boost::vertex_gate, g, w) == I) return true;
    return role != LineRole::Other && role_on(g, w, q) == role;
}

class Sweep {
  public:
    explicit Sweep(CircuitGraph& circuit) : c_(circuit), g_(circuit.graph) {}

    int run() {
        int removed = 0;
        for (Vertex v : c_.topological_order()) {
            if (gone(v)) continue;
            const Gate_type kind = get(boost::vertex_gate, g_, v);
            if (is_marker(kind)) continue;
            if (kind == CNOT)
                cancel_cnot(v);
            else if (kind == H)
                cancel_hadamard(v);
            else if (is_1Q_gate(kind))
                merge_rotations(v);
        }
        for (Vertex v : removed_) {
            c_.remove_gate_vertex(v);
            ++removed;
        }
        return removed;
    }

  private:
    CircuitGraph& c_;
    Graph& g_;
    std::vector<Vertex> removed_;
    std::vector<char> gone_;  // by vertex index

    bool gone(Vertex v) const {
        const size_t i = static_cast<size_t>(get(boost::vertex_index, g_, v));
        return i < gone_.size() && gone_[i];
    }
    void remove(Vertex v) {
        const size_t i = static_cast<size_t>(get(boost::vertex_index, g_, v));
        if (i >= gone_.size()) gone_.resize(std::max(i + 1, gone_.size() * 2), 0);
        gone_[i] = 1;
        removed_.push_back(v);
    }
    // The record after v on line q, past the records already removed.
    Vertex next_on(Vertex v, int q) const {
        Vertex w = next_node(g_, v, q);
        while (gone(w)) w = next_node(g_, w, q);
        return w;
    }
    bool is_end(Vertex v) const { return is_marker(get(boost::vertex_gate, g_, v)); }

    void cancel_hadamard(Vertex v) {
        const int q = get(boost::vertex_target, g_, v);
        const Vertex w = next_on(v, q);
        if (!is_end(w) && get(boost::vertex_gate, g_, w) == H) {
            remove(v);
            remove(w);
        }
    }

    // Merges into v every gate of its form that v reaches on its line.
    void merge_rotations(Vertex v) {
        const Gate_type kind = get(boost::vertex_gate, g_, v);
        const int q = get(boost::vertex_target, g_, v);
        PhaseSum sum;
        const bool diagonal = diagonal_form(kind, get(boost::vertex_angle, g_, v), sum);
        if (!diagonal && !x_axis_form(kind, get(boost::vertex_angle, g_, v), sum)) return;
        const LineRole role = diagonal ? LineRole::Diagonal : LineRole::XAxis;
        bool merged = false;
        Vertex w = v;
        for (int step = 0; step < kCommutationWindow; ++step) {
            w = next_on(w, q);
            if (is_end(w) || !passes(g_, w, q, role)) break;
            const Gate_type k = get(boost::vertex_gate, g_, w);
            if (!is_1Q_gate(k)) continue;
            PhaseSum form;
            const double a = get(boost::vertex_angle, g_, w);
            if (!(diagonal ? diagonal_form(k, a, form) : x_axis_form(k, a, form))) continue;
            sum += form;
            remove(w);
            merged = true;
        }
        if (!merged) return;
        const PhaseGate gate = diagonal ? diagonal_gate(sum) : x_axis_gate(sum);
        c_.global_phase += gate.phase;
        if (gate.kind == I) {
            remove(v);
            return;
        }
        c_.set_vertex_kind(v, gate.kind);
        c_.set_vertex_angle(v, gate.angle);
    }

    // The first CNOT of v's control and target that v reaches on both of its lines.
    void cancel_cnot(Vertex v) {
        const int control = get(boost::vertex_control, g_, v);
        const int target = get(boost::vertex_target, g_, v);
        ++stamp_;
        bool any = false;
        walk(v, target, LineRole::XAxis, [&](Vertex w) {
            stamp(w);
            any = true;
        });
        if (!any) return;
        Vertex partner = v;
        walk(v, control, LineRole::Diagonal, [&](Vertex w) {
            if (partner == v && stamped(w)) partner = w;
        });
        if (partner == v) return;
        remove(v);
        remove(partner);
    }

    // Hands `found` every CNOT of v's control and target met on line q while the records
    // commute with a gate of role `role` on q.
    template <typename Found>
    void walk(Vertex v, int q, LineRole role, Found found) {
        const int control = get(boost::vertex_control, g_, v);
        const int target = get(boost::vertex_target, g_, v);
        Vertex w = v;
        for (int step = 0; step < kCommutationWindow; ++step) {
            w = next_on(w, q);
            if (is_end(w) || !passes(g_, w, q, role)) return;
            if (get(boost::vertex_gate, g_, w) == CNOT &&
                get(boost::vertex_control, g_, w) == control &&
                get(boost::vertex_target, g_, w) == target)
                found(w);
        }
    }

    // CNOTs reached on the target line by the CNOT being looked at: stamped_[index] == stamp_.
    std::vector<unsigned> stamped_;
    unsigned stamp_ = 0;

    void stamp(Vertex w) {
        const size_t i = static_cast<size_t>(get(boost::vertex_index, g_, w));
        if (i >= stamped_.size()) stamped_.resize(std::max(i + 1, stamped_.size() * 2), 0);
        stamped_[i] = stamp_;
    }
    bool stamped(Vertex w) const {
        const size_t i = static_cast<size_t>(get(boost::vertex_index, g_, w));
        return i < stamped_.size() && stamped_[i] == stamp_;
    }
};

}  // namespace

int cancel_commuting_gates(CircuitGraph& circuit) {
    int total = 0;
    for (;;) {
        const int removed = Sweep(circuit).run();
        total += removed;
        if (removed == 0) return total;
    }
}

}  // namespace phases
