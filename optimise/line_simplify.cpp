// The three simplification stages of the one-qubit line reduction: neighbour cancellations and
// merges (simplify1), pairs of half-turns (simplify2) and triples (simplify3).
// Angles in π/4, phases in π. Each stage is one scan over its window: O(n) in the line length.

#include "optimise/line_simplify.h"

#include <cmath>
#include <iostream>
#include <iterator>

#include "optimise/line_rotation.h"

namespace line {
namespace {

using It = LineEditor::It;

// Pairs of named gates rewritten by simplify1 (r first, n second in time order).
struct NamedPair {
    Gate_type r, n;
    bool both_removed;  // else r is removed and n becomes `result`
    Gate_type result;
};
const NamedPair kNamedPairs[] = {
    {H, H, true, I},
    {S, S_dag, true, I},
    {S, S, false, Z},
    {S_dag, S_dag, false, Z},
    {Z, Z, false, I},
    {T, T, false, S},
    {T_dag, T_dag, false, S_dag},
};

}  // namespace

GlobalPhase simplify1_scan(LineEditor& ed) {
    const It end = ed.end();
    GlobalPhase sum;  // phase gathered by the scan, in π
    const It first = ed.first();
    It r = first;
    while (r != end) {
        It n = std::next(r);
        if (!is_1Q_gate(r->type)) {
            // A window that starts at the beginning of its line starts at the line's IN marker,
            // which the scan passes over like a two-qubit record; a marker anywhere else is a
            // fault in the line.
            const bool opening_marker = r == first && r->type >= IN;
            if (!is_2Q_gate(r->type) && !opening_marker)
                std::cout << "Error! GraphCircuit::&simplify1, gate not supported!" << std::endl;
            r = n;
            continue;
        }
        if (r->type == I || (is_rotation(r->type) && r->angle == 0)) {
            ed.erase(r);
            r = n;
            continue;
        }
        if (is_rotation(r->type)) {
            // a = w + 8k with w in [0, 8): RA(a) = RA(w) * e^{iπk}.
            const double a = r->angle;
            if (!(a > 0 && a < 8)) {  // angles in (0, 8) are left as they are
                const double w = normalised_turn(a);
                sum += std::floor(a / 8.0);
                ed.set_rotation(r, r->type, w);
            }
        }
        if (n == end) break;

        const NamedPair* named = nullptr;
        for (const NamedPair& p : kNamedPairs)
            if (p.r == r->type && p.n == n->type) named = &p;
        if (named != nullptr) {
            if (named->both_removed) {
                It after = std::next(n);
                ed.erase(r);
                ed.erase(n);
                r = after;
            } else {
                ed.erase(r);
                ed.set_rotation(n, named->result, n->angle);
                r = n;
            }
        } else if (is_rotation(r->type) && r->type == n->type) {
            double t = r->angle + n->angle;
            double k = std::floor(t / 8.0);
            sum += k;
            double rest = t - 8.0 * k;
            if (rest == 0) {
                It after = std::next(n);
                ed.erase(r);
                ed.erase(n);
                r = after;
            } else {
                ed.erase(r);
                ed.set_rotation(n, n->type, rest);
                r = n;
            }
        } else {
            r = is_rotation(n->type) ? n : std::next(n);
        }
    }
    return sum;
}

void simplify1(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known) {
    LineEditor ed(c, L, from, to, mode, s, BestCopy::None, Acceptance::Equal, known);
    const GlobalPhase sum = simplify1_scan(ed);
    ed.finish();
    L.phase += sum;
}

void simplify2_scan(LineEditor& ed) {
    const It end = ed.end();
    It r = ed.first();
    while (r != end) {
        if (!is_rotation(r->type)) {
            ++r;
            continue;
        }
        It n = std::next(r);
        if (n == end) break;
        if (!is_rotation(n->type)) {
            r = std::next(n);
            continue;
        }
        if (r->angle == 4 && n->angle == 4 && r->type != n->type) {
            // Two half-turns about different axes: a half-turn about the third axis.
            Gate_type third;
            if (in_order(*r, *n)) {
                third = prev_direction(*r);
            } else {
                third = next_direction(*r);
                ed.add_phase(1);
            }
            ed.set_rotation(r, third, 4);
            ed.erase(n);
        } else {
            r = n;
        }
        ed.measure();
    }
}

void simplify2(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known) {
    LineEditor ed(c, L, from, to, mode, s, BestCopy::Keep, Acceptance::Equal, known);
    simplify2_scan(ed);
    ed.finish();
}

namespace {

// New contents of one record of a simplify3 triple.
struct Slot {
    bool keep = false;
    Gate_type type = RX;
    double angle = 0.0;
};
Slot removed() {
    return Slot{};
}
Slot rot(Gate_type t, double a) {
    return Slot{true, t, a};
}

struct TripleResult {
    Slot r1, r2, r3;
    double phase = 0.0;
};

// The seven families of rotation triples P(a1), Q(a2), R(a3) with P != Q != R; S is the axis
// other than P and Q, io = in_order(P, Q). Returns false when no family applies.
bool triple_rule(Gate_type P, Gate_type Q, Gate_type R, double a1, double a2, double a3, bool io,
                 TripleResult& out) {
    const Gate_type S = third_axis(P, Q);
    const bool pqs = R == S;
    const bool pqp = R == P;
    const double half_phase = (pqs && !io) ? 0.0 : 1.0;
    const Slot q_turned = rot(Q, pqs ? 4 - a2 : -a2);
    if (a1 == 4 && a3 == 4) {  // family 1
        out = {removed(), removed(), q_turned, half_phase};
        return true;
    }
    if (a1 == 4) {  // family 2
        out = {removed(), q_turned, rot(pqs ? S : P, a3 - 4), half_phase};
        return true;
    }
    if (a3 == 4) {  // family 3
        out = {rot(P, a1 - 4), q_turned, removed(), half_phase};
        return true;
    }
    if (a2 == 4 && pqp) {  // family 4
        double d = a3 - a1;
        out = {removed(), rot(Q, a2), d == 0 ? removed() : rot(P, d), 0.0};
        return true;
    }
    if (pqs && (a2 == 2 || a2 == 6)) {  // family 5
        double sigma = ((a2 == 2) == io) ? 1.0 : -1.0;
        double m = a3 + sigma * a1;
        if (m == 0 || m == 8)
            out = {removed(), removed(), rot(Q, a2), m == 8 ? 1.0 : 0.0};
        else
            out = {removed(), rot(Q, a2), rot(S, m), 0.0};
        return true;
    }
    if (pqp && (a1 == 2 || a1 == 6)) {  // family 6
        double sigma = ((a1 == 2) == io) ? 1.0 : -1.0;
        double rest = a1 == 2 ? a3 - 6 : a3 - 2;
        if (rest == 0)
            out = {removed(), removed(), rot(S, sigma * a2), 1.0};
        else
            out = {removed(), rot(S, sigma * a2), rot(P, rest), 1.0};
        return true;
    }
    if (pqp && (a3 == 2 || a3 == 6)) {  // family 7
        double sigma = ((a3 == 2) == io) ? -1.0 : 1.0;
        out = {rot(P, a3 == 2 ? a1 - 6 : a1 - 2), rot(S, sigma * a2), removed(), 1.0};
        return true;
    }
    return false;
}

// Applies a slot to a record; returns true when the record survives.
bool apply_slot(LineEditor& ed, It it, const Slot& slot) {
    if (!slot.keep) {
        ed.erase(it);
        return false;
    }
    if (it->type != slot.type || !(it->angle == slot.angle))
        ed.set_rotation(it, slot.type, slot.angle);
    return true;
}

}  // namespace

void simplify3_scan(LineEditor& ed) {
    const It end = ed.end();
    It r = ed.first();
    while (r != end) {
        if (r->type == H) {
            It r2 = std::next(r);
            It r3 = r2 == end ? end : std::next(r2);
            if (r2 == end || r3 == end || !is_rotation(r2->type) || r3->type != H) {
                ++r;
                continue;
            }
            // H, RA(a), H: the rotation about the conjugate axis.
            if (r2->type == RX) {
                ed.set_rotation(r2, RZ, r2->angle);
            } else if (r2->type == RZ) {
                ed.set_rotation(r2, RX, r2->angle);
            } else {
                ed.set_rotation(r2, RY, 8 - r2->angle);
                ed.add_phase(-1);
            }
            It after = std::next(r3);
            ed.erase(r);
            ed.erase(r3);
            ed.measure();
            r = after;
            continue;
        }
        if (!is_rotation(r->type)) {
            ++r;
            continue;
        }
        It r2 = std::next(r);
        if (r2 == end) break;
        if (!is_rotation(r2->type)) {
            r = std::next(r2);
            continue;
        }
        It r3 = std::next(r2);
        if (r3 == end) break;
        if (!is_rotation(r3->type)) {
            r = std::next(r3);
            continue;
        }
        TripleResult res;
        if (r->type == r2->type || r2->type == r3->type ||
            !triple_rule(r->type, r2->type, r3->type, r->angle, r2->angle, r3->angle,
                         in_order(*r, *r2), res)) {
            r = r2;
            continue;
        }
        It r1 = r;
        bool keep1 = apply_slot(ed, r2, res.r2);
        apply_slot(ed, r3, res.r3);
        if (res.r1.keep) {
            apply_slot(ed, r1, res.r1);
            r = std::next(r1);
        } else {
            ed.erase(r1);
            r = keep1 ? r2 : r3;  // some record of the triple always survives
        }
        ed.add_phase(res.phase);
        ed.measure();
    }
}

void simplify3(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
               KnownCost* known) {
    LineEditor ed(c, L, from, to, mode, s, BestCopy::Keep, Acceptance::Equal, known);
    simplify3_scan(ed);
    ed.finish();
}

namespace {

// The stages of one simplify round, in order.
enum class Stage { One, Two, Three };
const Stage kRound[] = {Stage::One, Stage::Two, Stage::One, Stage::Three, Stage::One};

}  // namespace

void simplify_round_scan(LineEditor& ed, LineOfGates& L) {
    for (Stage stage : kRound) {
        switch (stage) {
            case Stage::One:
                L.phase += simplify1_scan(ed);
                break;
            case Stage::Two:
                simplify2_scan(ed);
                break;
            case Stage::Three:
                simplify3_scan(ed);
                break;
        }
    }
}

void simplify(const CostModel& c, LineOfGates& L, int from, int to, Measure mode, Strategy s,
              KnownCost* known) {
    // The repetition always covers the whole line by the gate count; a loop rather than recursion,
    // as a long line can need many rounds. With `known` the whole-line costs are handed from
    // stage to stage instead of being summed again (priced by logical operations when those are
    // the measure, else by the gate count).
    for (;;) {
        const Measure pricing =
            mode == Measure::LogicalOps ? Measure::LogicalOps : Measure::GateCount;
        const bool whole = from == -1 && to == -1;
        double c0;
        if (known != nullptr && known->valid && known->mode == pricing) {
            c0 = known->value;
        } else {
            c0 = whole_line_cost(c, L.gates, mode, s);
            if (known != nullptr) *known = KnownCost{true, pricing, c0};
        }
        KnownCost* chain = whole ? known : nullptr;
        for (Stage stage : kRound) {
            switch (stage) {
                case Stage::One:
                    simplify1(c, L, from, to, mode, s, chain);
                    break;
                case Stage::Two:
                    simplify2(c, L, from, to, mode, s, chain);
                    break;
                case Stage::Three:
                    simplify3(c, L, from, to, mode, s, chain);
                    break;
            }
        }
        double c1;
        if (chain != nullptr && chain->valid && chain->mode == pricing) {
            c1 = chain->value;
        } else {
            c1 = whole_line_cost(c, L.gates, mode, s);
            if (known != nullptr) *known = KnownCost{true, pricing, c1};
        }
        if (!(c0 > c1)) return;
        from = -1;
        to = -1;
        mode = Measure::GateCount;
    }
}

}  // namespace line
