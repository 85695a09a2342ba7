// The two-qubit gate reduction pass. Every rewrite takes effect at once, so later checks see the
// rewritten circuit. One sweep: each vertex is visited a bounded number of times (a revisit
// follows only a removal), so the pass is linear in the circuit size.
//
// The sweep over candidates gives the same circuit as the sweep over every vertex, because it
// leaves out only visits that do nothing:
// - A visit that can change anything is one of a CNOT, CZ, CP or GEO on its control line (a
//   one-qubit gate, a marker, another kind, or a two-qubit gate on its target line is passed
//   over). What such a visit does depends only on the gate itself and on the two records that
//   follow it on each of its lines (a, b, and the records after them); the records before it
//   only say where a rewrite puts its new gate.
// - The circuit graph marks a two-qubit gate whenever it is created or one of those records
//   changes, and the sweep clears the mark after a visit that changed nothing. A gate without
//   a mark would therefore do nothing again: the sweep over candidates leaves it out.
// - The one visit that does nothing yet matters is the one that ends the walk of a line (a gate
//   whose next record on either line is OUT, i.e. the last record of one of its lines): the
//   sweep over candidates visits those gates too, so every line's walk ends where it ended.
// - Both sweeps walk the lines in the same order and resume after a rewrite at the same
//   vertex; from there the sweep over candidates goes on to the next candidate in line order
//   (the positions of the two-qubit index), which is the next visit of the other sweep that
//   can do anything.

#include "optimise/two_qubit_reduction.h"

#include <cmath>
#include <cstring>
#include <iostream>
#include <optional>

#include "circuit/check.h"
#include "circuit/netlist_writer.h"
#include "optimise/two_qubit_rules.h"

using boost::get;
using boost::put;

namespace {

/// One sweep of the reduction over a circuit. A rule set answers the vertex after which the walk
/// of the current line resumes, or nothing when the walk of the line stops.
class TwoQubitReduction {
  public:
    TwoQubitReduction(CircuitGraph& circuit, const CostModel& cost, PairSweep sweep)
        : c_(circuit), cost_(cost), g_(circuit.graph), sweep_(sweep) {}

    void run() {
        for (int ii = 0; ii < c_.num_qubits; ++ii) walk_line(ii);
    }

  private:
    using Resume = std::optional<Vertex>;

    CircuitGraph& c_;
    const CostModel& cost_;
    Graph& g_;
    PairSweep sweep_;
    // The positions (on the line being walked) of the gates that end its walk, found when the
    // lines' last records had changed `enders_key_` times (CircuitGraph::line_ends_changes).
    std::vector<int> enders_;
    uint64_t enders_key_ = 0;
    bool enders_known_ = false;

    Gate_type kind(Vertex v) const { return get(boost::vertex_gate, g_, v); }
    double angle(Vertex v) const { return get(boost::vertex_angle, g_, v); }
    int control(Vertex v) const { return get(boost::vertex_control, g_, v); }
    int target(Vertex v) const { return get(boost::vertex_target, g_, v); }
    Vertex next(Vertex v, int q) { return next_node(g_, v, q); }
    Vertex prev(Vertex v, int q) { return prev_node(g_, v, q); }
    void remove(Vertex v) { c_.remove_gate_vertex(v); }
    Vertex insert_after(Vertex v, int q, Gate_type k, double a) {
        return c_.insert_gate_after(v, q, k, a);
    }
    static bool passed_over(Gate_type k) { return is_1Q_gate(k) || is_marker(k); }
    // Every change of a kind or an angle goes through these, so that the lines record it.
    void set_kind(Vertex v, Gate_type k) { c_.set_vertex_kind(v, k); }
    void set_angle(Vertex v, double a) { c_.set_vertex_angle(v, a); }

    bool is_cnot(Vertex v, int ctl, int tgt) const {
        return kind(v) == CNOT && control(v) == ctl && target(v) == tgt;
    }
    /// RX or RY at angle 4.0.
    bool is_xy_half_turn(Vertex v) const {
        return (kind(v) == RX || kind(v) == RY) && angle(v) == 4.0;
    }
    /// CZ, or CP at angle 4.0.
    bool is_cz_like(Vertex v) const { return kind(v) == CZ || (kind(v) == CP && angle(v) == 4.0); }
    /// The two-qubit gate that follows `a` on c and `b` on t at once, if there is one.
    std::optional<Vertex> second_gate(Vertex a, Vertex b, int c, int t) {
        Vertex g2 = next(a, c);
        if (!is_2Q_gate(kind(g2)) || next(b, t) != g2) return std::nullopt;
        return g2;
    }

    static bool is_ruled(Gate_type k) { return k == CNOT || k == CZ || k == CP || k == GEO; }

    /// The gates that end the walk of line ii: a ruled gate with control ii that is the last
    /// record of one of its lines.
    void find_enders(int ii) {
        enders_.clear();
        for (int q = 0; q < c_.num_qubits; ++q) {
            const Vertex v = c_.line_last[static_cast<size_t>(q)];
            if (!is_ruled(kind(v)) || control(v) != ii) continue;
            const int p = c_.line_position(v, ii);
            if (p >= 0) enders_.push_back(p);
        }
        enders_key_ = c_.line_ends_changes;
        enders_known_ = true;
    }

    /// The vertex the walk of line ii visits after `cur`: the next one on the line in the sweep
    /// over every vertex; in the sweep over candidates, the next marked gate or walk-ender after
    /// `cur` in line order (OUT when there is none).
    Vertex next_visit(Vertex cur, int ii) {
        if (sweep_ == PairSweep::Every) return next(cur, ii);
        int from = is_2Q_gate(kind(cur)) ? c_.line_position(cur, ii) : -1;
        if (from >= 0) {
            ++from;
        } else {
            Vertex v = cur;
            do {
                v = next(v, ii);
            } while (!is_2Q_gate(kind(v)) && kind(v) != OUT);
            if (kind(v) == OUT) return v;
            from = c_.line_position(v, ii);
            MAROVIN_CHECK(from >= 0, "every two-qubit vertex of a line is indexed on it");
        }
        // The enders depend only on the last record of each line (its kind, control and
        // position), so they are found again only when one of those changed.
        if (!enders_known_ || enders_key_ != c_.line_ends_changes) find_enders(ii);
        int p = c_.two_qubit_index.next_marked(ii, from);
        for (int e : enders_)
            if (e >= from && (p < 0 || e < p)) p = e;
        if (p < 0) return c_.line_end[static_cast<size_t>(ii)];
        return c_.two_qubit_index.at(ii, p);
    }

    void walk_line(int ii) {
        enders_known_ = false;
        Vertex cur = c_.line_start[ii];
        while (true) {
            cur = next_visit(cur, ii);
            const uint64_t edits_before = c_.edit_count;
            const Vertex visited = cur;
            Gate_type k = kind(cur);
            if (k == OUT) return;
            if (passed_over(k)) continue;
            if ((k == CP || k == GEO) && control(cur) == ii) {
                const double a = normalised_turn(angle(cur));
                set_angle(cur, a);
                if (a == 0.0) {
                    // The predecessor is dispatched again without normalisation: the removal
                    // may have brought it a new partner.
                    Vertex before = prev(cur, ii);
                    remove(cur);
                    cur = before;
                    if (passed_over(kind(cur))) continue;
                }
            }
            Resume resume = dispatch(cur, ii);
            // A visit on the control line that changed nothing would change nothing again
            // until the gate is marked anew.
            if (c_.edit_count == edits_before && is_2Q_gate(kind(visited)) &&
                control(visited) == ii)
                c_.clear_two_qubit_candidate(visited);
            if (!resume) return;
            cur = *resume;
        }
    }

    Resume dispatch(Vertex g1, int ii) {
        const Gate_type k = kind(g1);
        if (!is_ruled(k)) return g1;
        if (control(g1) != ii) {
            if (k != CZ && target(g1) != ii) {
                std::cout << "Error! reduce2Q(): " << gate_keyword(k)
                          << " gate, the processed line does not connect to either control or "
                             "target lines."
                          << std::endl;
            }
            return g1;
        }
        const int c = ii;
        const int t = target(g1);
        Vertex a = next(g1, c);
        Vertex b = next(g1, t);
        if (kind(a) == OUT || kind(b) == OUT) return std::nullopt;
        switch (k) {
            case CNOT:
                return cnot_rules(g1, c, t, a, b);
            case CZ:
                return cz_rules(g1, c, t, a, b);
            case CP:
                return cp_rules(g1, c, t, a, b);
            default:
                return geo_rules(g1, c, t, a, b);
        }
    }

    // ---- CNOT ----

    Vertex cnot_rules(Vertex g1, int c, int t, Vertex a, Vertex b) {
        if (a == b) {  // C1
            if (!is_cnot(a, c, t)) return g1;
            Vertex before = prev(g1, c);
            remove(g1);
            remove(a);
            return before;
        }
        if (kind(a) == CNOT && angle(b) == 4.0) {  // C2
            if (next(b, t) != a || !is_cnot(a, c, t) || (kind(b) != RY && kind(b) != RZ)) return g1;
            Vertex before = prev(g1, c);
            remove(g1);
            remove(a);
            c_.global_phase += 0.5;
            return insert_after(before, c, RZ, 4.0);
        }
        if (kind(b) == CNOT && angle(a) == 4.0) {  // C3
            if (next(a, c) != b || !is_cnot(b, c, t) || (kind(a) != RX && kind(a) != RY)) return g1;
            Vertex before = prev(g1, t);
            remove(g1);
            remove(b);
            insert_after(before, t, RX, 4.0);
            c_.global_phase += 0.5;
            return a;
        }
        if ((kind(a) == RX || kind(a) == RY) && angle(a) == 4.0 && angle(b) == 4.0)  // C4-C7
            return half_turn_pair(g1, c, t, a, b);
        return reversed_pair(g1, c, t, a, b);  // R1-R9
    }

    Vertex half_turn_pair(Vertex g1, int c, int t, Vertex a, Vertex b) {
        std::optional<Vertex> g2 = second_gate(a, b, c, t);
        if (!g2 || !is_cnot(*g2, c, t)) return g1;
        for (const HalfTurnCnotRule& rule : half_turn_cnot_rules()) {
            if (rule.a != kind(a) || rule.b != kind(b)) continue;
            remove(g1);
            remove(*g2);
            set_kind(a, rule.new_a);
            set_kind(b, rule.new_b);
            c_.global_phase += rule.phase;
            return a;
        }
        return g1;
    }

    Vertex reversed_pair(Vertex g1, int c, int t, Vertex a, Vertex b) {
        const auto& rules = reversed_cnot_rules();
        bool entered = false;
        for (const ReversedCnotRule& rule : rules) entered |= matches(rule.a, kind(a), angle(a));
        if (!entered) return g1;
        std::optional<Vertex> g2 = second_gate(a, b, c, t);
        if (!g2 || !is_cnot(*g2, t, c)) return g1;
        for (const ReversedCnotRule& rule : rules) {
            if (!matches(rule.a, kind(a), angle(a)) || !matches(rule.b, kind(b), angle(b)))
                continue;
            remove(g1);
            remove(*g2);
            apply(rule.a_to, a, c);
            apply(rule.b_to, b, t);
            c_.global_phase += rule.phase;
            return a;
        }
        return g1;
    }

    void apply(const EnclosedRewrite& rewrite, Vertex v, int q) {
        if (rewrite.change) {
            set_kind(v, rewrite.kind);
            set_angle(v, rewrite.angle);
        }
        if (rewrite.append) insert_after(v, q, rewrite.append_kind, rewrite.append_angle);
    }

    // ---- CZ and CP ----

    Vertex cz_rules(Vertex g1, int c, int t, Vertex a, Vertex b) {
        if (a == b) {  // Z1
            if (!is_cz_like(a)) return g1;
            Vertex before = prev(g1, c);
            remove(g1);
            remove(a);
            return before;
        }
        return cz_pair(g1, c, t, a, b);  // Z2
    }

    /// Z2 (and P1): CZ-like gates enclosing two X/Y half-turns; each half-turn changes axis.
    Vertex cz_pair(Vertex g1, int c, int t, Vertex a, Vertex b) {
        if (!is_xy_half_turn(a) || !is_xy_half_turn(b)) return g1;
        std::optional<Vertex> g2 = second_gate(a, b, c, t);
        if (!g2 || !is_cz_like(*g2)) return g1;
        if (control(*g2) != c && target(*g2) != c) {
            report_detached(g1, a, b, *g2, c);
            return g1;
        }
        remove(g1);
        remove(*g2);
        swap_xy_axis(a);
        swap_xy_axis(b);
        return a;
    }

    void swap_xy_axis(Vertex v) {
        if (kind(v) == RX) {
            set_kind(v, RY);
        } else {
            set_kind(v, RX);
            c_.global_phase += 1.0;
        }
    }

    void report_detached(Vertex g1, Vertex a, Vertex b, Vertex g2, int ii) {
        const std::pair<const char*, Vertex> rows[] = {{"ERROR!! cur_vertex:", g1},
                                                       {"ERROR!! control_vertex:", a},
                                                       {"ERROR!! target_vertex:", b},
                                                       {"ERROR!! merging:", g2},
                                                       {"ERROR!! cur_vertex:", g1}};
        for (const auto& [label, v] : rows) {
            std::cout << label << "gate=" << kind(v) << " target= " << target(v)
                      << " control= " << control(v) << " ii=" << ii << std::endl;
        }
    }

    Vertex cp_rules(Vertex g1, int c, int t, Vertex a, Vertex b) {
        const double theta = angle(g1);
        if (a != b && is_xy_half_turn(a) && is_xy_half_turn(b)) {  // P1 decides alone
            if (theta != 4.0) return g1;
            return cz_pair(g1, c, t, a, b);
        }
        if (a != b && kind(a) == CP && angle(a) == theta && is_xy_half_turn(b) &&
            next(b, t) == a) {  // P2
            Vertex before = prev(g1, c);
            remove(g1);
            remove(a);
            c_.global_phase += theta * 0.5 * 0.25;
            return insert_after(before, c, RZ, theta);
        }
        if (a != b && kind(b) == CP && angle(b) == theta && is_xy_half_turn(a) &&
            next(a, c) == b) {  // P3
            Vertex before = prev(g1, t);
            remove(g1);
            remove(b);
            insert_after(before, t, RZ, theta);
            c_.global_phase += theta * 0.5 * 0.25;
            return a;
        }
        if (a == b && kind(a) == CP) return merge_same_kind(g1, c, a);  // P4, P5
        return g1;
    }

    /// P4/P5 and E5/E7: a CP or GEO followed directly by another of its kind on the same lines.
    /// Opposite angles cancel; otherwise the angles add (not renormalised).
    Vertex merge_same_kind(Vertex g1, int c, Vertex a) {
        const double theta = angle(g1);
        const double phi = angle(a);
        if (theta == -phi || theta == 8.0 - phi) {
            Vertex before = prev(g1, c);
            remove(g1);
            remove(a);
            return before;
        }
        set_angle(g1, theta + phi);
        remove(a);
        return g1;
    }

    // ---- GEO ----

    Vertex geo_rules(Vertex g1, int c, int t, Vertex a, Vertex b) {
        const double theta = angle(g1);
        if (theta >= 4.0) {  // E1: GEO(4) = e^{iπ} RZ(4) ⊗ RZ(4)
            set_angle(g1, theta - 4.0);
            insert_after(g1, c, RZ, 4.0);
            insert_after(g1, t, RZ, 4.0);
            c_.global_phase += 1.0;
            return g1;
        }
        if (a != b && kind(a) == GEO && angle(a) == theta && is_xy_half_turn(b) &&
            next(b, t) == a) {  // E2
            Vertex before = prev(g1, c);
            remove(g1);
            remove(a);
            c_.global_phase += theta * 0.25;
            return before;
        }
        if (a != b && kind(b) == GEO && angle(b) == theta && is_xy_half_turn(a) &&
            next(a, c) == b) {  // E3
            print_circuit_listing(c_, cost_.pmd, [&](Gate_type k) { return cost_.gate_price(k); });
            Vertex before = prev(g1, c);
            remove(g1);
            remove(b);
            c_.global_phase += theta * 0.25;
            return before;
        }
        if (a != b && is_xy_half_turn(a) && is_xy_half_turn(b)) {  // E4
            std::optional<Vertex> g2 = second_gate(a, b, c, t);
            if (g2 && kind(*g2) == GEO && angle(*g2) == 8.0 - theta) {
                // NOTE: the two GEOs multiply to the identity and commute with a pair of X/Y
                // half-turns, so a and b stay as they are; changing their axes breaks the
                // circuit.
                remove(g1);
                remove(*g2);
                return a;
            }
        }
        if (a == b && kind(a) == GEO) {
            const double phi = angle(a);
            const bool cancels = theta == -phi || theta == 8.0 - phi;
            if (!cancels && theta + phi == 4.0) {
                // E6: GEO(4) = e^{iπ} RZ(4) ⊗ RZ(4)
                Vertex before_c = prev(g1, c);
                Vertex before_t = prev(g1, t);
                remove(g1);
                remove(a);
                insert_after(before_c, c, RZ, 4.0);
                insert_after(before_t, t, RZ, 4.0);
                c_.global_phase += 1.0;
                return before_c;
            }
            return merge_same_kind(g1, c, a);  // E5, E7
        }
        return g1;
    }
};

}  // namespace

void reduce2Qgate(CircuitGraph& circuit, const CostModel& cost, PairSweep sweep) {
    TwoQubitReduction(circuit, cost, sweep).run();
}
