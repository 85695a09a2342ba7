#include "optimise/commuting_cancellation.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "optimise/phase_gates.h"
#include "optimise/time_order.h"

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

// One pass to the fixed point: every gate is looked at in time order; when gates go or change,
// the gates just before them on their lines are looked at again, since they may now reach a
// partner. Removed vertices are taken out of the graph at once and remembered by handle (the
// pass creates no vertex, so no handle is reused while it runs).
class Cancellation {
  public:
    explicit Cancellation(CircuitGraph& circuit) : c_(circuit), g_(circuit.graph) {}

    int run() {
        std::vector<Vertex> order = gates_in_time_order(c_);
        pending_.assign(order.rbegin(), order.rend());
        while (!pending_.empty()) {
            const Vertex v = pending_.back();
            pending_.pop_back();
            if (removed_.count(v) != 0) continue;
            const Gate_type kind = get(boost::vertex_gate, g_, v);
            if (is_marker(kind)) continue;
            if (kind == CNOT || kind == CZ)
                cancel_pair(v);
            else if (kind == H)
                cancel_hadamard(v);
            else if (is_1Q_gate(kind))
                merge_rotations(v);
        }
        return static_cast<int>(removed_.size());
    }

  private:
    CircuitGraph& c_;
    Graph& g_;
    std::vector<Vertex> pending_;  // a stack: the next gate to look at on top
    std::unordered_set<Vertex> removed_;

    bool is_end(Vertex v) const { return is_marker(get(boost::vertex_gate, g_, v)); }

    // Looks again at the gates before v on its lines.
    void revisit_before(Vertex v) {
        for (int q : {get(boost::vertex_control, g_, v), get(boost::vertex_target, g_, v)}) {
            if (q < 0) continue;
            const Vertex before = prev_node(g_, v, q);
            if (!is_end(before)) pending_.push_back(before);
        }
    }
    void remove(Vertex v) {
        revisit_before(v);
        removed_.insert(v);
        c_.remove_gate_vertex(v);
    }

    // H·H cancels. H·G·H, with G a run of X-axis gates on the line (X, RX, CNOT targets), is G
    // about Z: Z, RZ, CZ, which the phases fold through.
    void cancel_hadamard(Vertex v) {
        const int q = get(boost::vertex_target, g_, v);
        merged_.clear();
        Vertex w = v;
        for (int step = 0; step <= kCommutationWindow; ++step) {
            w = next_node(g_, w, q);
            if (is_end(w)) return;
            if (get(boost::vertex_gate, g_, w) == H) break;
            if (role_on(g_, w, q) != LineRole::XAxis) return;
            merged_.push_back(w);
        }
        if (get(boost::vertex_gate, g_, w) != H) return;
        for (Vertex x : merged_) {
            const Gate_type kind = get(boost::vertex_gate, g_, x);
            c_.set_vertex_kind(x, kind == CNOT ? CZ : kind == X ? Z : RZ);
            revisit_before(x);
        }
        remove(w);
        remove(v);
    }

    // Merges into v every gate of its form that v reaches on its line.
    void merge_rotations(Vertex v) {
        const Gate_type kind = get(boost::vertex_gate, g_, v);
        const int q = get(boost::vertex_target, g_, v);
        PhaseSum sum;
        const bool diagonal = diagonal_form(kind, get(boost::vertex_angle, g_, v), sum);
        if (!diagonal && !x_axis_form(kind, get(boost::vertex_angle, g_, v), sum)) return;
        const LineRole role = diagonal ? LineRole::Diagonal : LineRole::XAxis;
        merged_.clear();
        Vertex w = v;
        for (int step = 0; step < kCommutationWindow; ++step) {
            w = next_node(g_, w, q);
            if (is_end(w) || !passes(g_, w, q, role)) break;
            const Gate_type k = get(boost::vertex_gate, g_, w);
            if (!is_1Q_gate(k)) continue;
            PhaseSum form;
            const double a = get(boost::vertex_angle, g_, w);
            if (!(diagonal ? diagonal_form(k, a, form) : x_axis_form(k, a, form))) continue;
            sum += form;
            merged_.push_back(w);
        }
        if (merged_.empty()) return;
        for (Vertex m : merged_) remove(m);
        const PhaseGate gate = diagonal ? diagonal_gate(sum) : x_axis_gate(sum);
        c_.global_phase += gate.phase;
        if (gate.kind == I) {
            remove(v);
            return;
        }
        c_.set_vertex_kind(v, gate.kind);
        c_.set_vertex_angle(v, gate.angle);
        revisit_before(v);
    }

    // The first partner of a CNOT (the same control and target) or of a CZ (the same two
    // lines) that v reaches on both of its lines.
    void cancel_pair(Vertex v) {
        const int control = get(boost::vertex_control, g_, v);
        const int target = get(boost::vertex_target, g_, v);
        const bool cnot = get(boost::vertex_gate, g_, v) == CNOT;
        reached_.clear();
        walk(v, target, cnot ? LineRole::XAxis : LineRole::Diagonal,
             [&](Vertex w) { reached_.push_back(w); });
        if (reached_.empty()) return;
        Vertex partner = v;
        walk(v, control, LineRole::Diagonal, [&](Vertex w) {
            if (partner == v && std::find(reached_.begin(), reached_.end(), w) != reached_.end())
                partner = w;
        });
        if (partner == v) return;
        remove(partner);
        remove(v);
    }

    // Hands `found` every partner of v met on line q while the records commute with a gate of
    // role `role` on q.
    template <typename Found>
    void walk(Vertex v, int q, LineRole role, Found found) {
        const Gate_type kind = get(boost::vertex_gate, g_, v);
        const int control = get(boost::vertex_control, g_, v);
        const int target = get(boost::vertex_target, g_, v);
        Vertex w = v;
        for (int step = 0; step < kCommutationWindow; ++step) {
            w = next_node(g_, w, q);
            if (is_end(w) || !passes(g_, w, q, role)) return;
            if (get(boost::vertex_gate, g_, w) != kind) continue;
            const int c = get(boost::vertex_control, g_, w);
            const int t = get(boost::vertex_target, g_, w);
            if ((c == control && t == target) || (kind == CZ && c == target && t == control))
                found(w);
        }
    }

    std::vector<Vertex> merged_;   // gates merged into the one looked at
    std::vector<Vertex> reached_;  // CNOTs reached on the target line (at most the window)
};

}  // namespace

int cancel_commuting_gates(CircuitGraph& circuit) {
    return Cancellation(circuit).run();
}

}  // namespace phases
