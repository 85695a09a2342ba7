// Commutations of rotations: through one-qubit records (interchangeXLZR, interchangeXRZL) and
// through the two-qubit records of the line (movementXLZR, movementXRZL). None changes the
// phase. Angles in π/4. Each scan is O(n) in the line length.

#include "optimise/line_interchange.h"

#include <iterator>

#include "optimise/line_rotation.h"

namespace line {
namespace {

using It = LineEditor::It;

// A half-turn-like rotation M(m), m in {2, 4, 6}, passing another rotation: the passed
// rotation's kind `in` becomes `out` with its angle times `sign`. Both interchange operations
// read their pass-through rows from tables of this shape.
struct PassRow {
    double m;
    Gate_type in, out;
    double sign;
};

// interchangeXRZL forward, RX(m) then B(b) -> B'(±b) then RX(m).
const PassRow kRxPassesRight[] = {
    {2, RY, RZ, 1},  {2, RZ, RY, -1}, {4, RY, RY, -1},
    {4, RZ, RZ, -1}, {6, RY, RZ, -1}, {6, RZ, RY, 1},
};
// interchangeXLZR forward, RZ(m) then B(b) -> B'(±b) then RZ(m).
const PassRow kRzPassesRight[] = {
    {2, RX, RY, 1},  {2, RY, RX, -1}, {4, RX, RX, -1},
    {4, RY, RY, -1}, {6, RX, RY, -1}, {6, RY, RX, 1},
};

const PassRow* find_row(const PassRow* begin, const PassRow* end, double m, Gate_type in) {
    for (const PassRow* row = begin; row != end; ++row)
        if (row->m == m && row->in == in) return row;
    return nullptr;
}

bool is_special(double a) {
    return a == 2 || a == 4 || a == 6;
}

// Forward scan: the record of kind `mover` travels right, through the rotations of its
// pass-through rows and through the half-turns of kinds half_a and half_b (negating its own
// angle when its angle is not 2, 4 or 6). A record of kind `h_mover` passes an H and becomes a
// `mover`. With `passes_rxy` the mover also passes RXY records, adding its angle to theirs.
struct ForwardRules {
    Gate_type mover;
    const PassRow* rows_begin;
    const PassRow* rows_end;
    Gate_type half_a, half_b;
    Gate_type h_mover;
    bool passes_rxy;
};

void forward_scan(LineEditor& ed, const ForwardRules& rules) {
    const It end = ed.end();
    It r = ed.first();
    while (r != end) {
        if (!is_rotation(r->type)) {
            ++r;
            continue;
        }
        It n = std::next(r);
        if (n == end) break;
        const bool movable = r->type == rules.mover && !ed.is_bound(r);
        if (n->type == H) {
            if (r->type == rules.h_mover && !ed.is_bound(r)) {
                ed.move_before(r, std::next(n));
                ed.set_rotation(r, rules.mover, r->angle);
                ed.measure();
                r = std::next(r);
            } else {
                r = n;
            }
            continue;
        }
        if (n->type == RXY && rules.passes_rxy && movable) {
            Gate g = *n;
            g.angle1 = n->angle1 + r->angle;
            ed.set(n, g);
            ed.move_before(r, std::next(n));
            continue;
        }
        if (!is_rotation(n->type)) {
            r = std::next(n);
            continue;
        }
        const PassRow* row =
            movable ? find_row(rules.rows_begin, rules.rows_end, r->angle, n->type) : nullptr;
        if (row != nullptr) {
            ed.set_rotation(n, row->out, row->sign * n->angle);
            ed.move_before(r, std::next(n));
        } else if (movable && !is_special(r->angle) && n->angle == 4 &&
                   (n->type == rules.half_a || n->type == rules.half_b)) {
            ed.set_rotation(r, r->type, -r->angle);
            ed.move_before(r, std::next(n));
        } else {
            r = n;
        }
        ed.measure();
    }
}

// Backward scan: the record of kind `mover` (the current record c) travels left past the
// record p before it.
using BackwardRule = bool (*)(LineEditor& ed, It p, It c);

void backward_scan(LineEditor& ed, Gate_type mover, BackwardRule rule) {
    const It end = ed.end();
    if (ed.first() == end) return;
    It c = std::prev(end);
    while (c != ed.first()) {
        if (!is_rotation(c->type)) {
            --c;
            continue;
        }
        It p = std::prev(c);
        if (!is_rotation(p->type) && p->type != RXY) {
            if (p == ed.first()) break;
            c = std::prev(p);
            continue;
        }
        bool moved = c->type == mover && !ed.is_bound(c) && !ed.is_bound(p) && rule(ed, p, c);
        if (is_rotation(p->type)) ed.measure();
        if (!moved) c = p;
    }
}

// interchangeXRZL backward: RZ moves left.
bool rz_moves_left(LineEditor& ed, It p, It c) {
    const double a = c->angle;
    if (p->type == RXY) {
        Gate g = *p;
        g.angle1 = p->angle1 - a;
        ed.set(p, g);
    } else if (a == 2 && p->type == RX) {
        ed.set_rotation(p, RY, -p->angle);
    } else if (a == 2 && p->type == RY) {
        ed.set_rotation(p, RX, p->angle);
    } else if (a != 2 && (p->type == RX || p->type == RY) && p->angle == 4) {
        ed.set_rotation(c, RZ, -a);
    } else {
        return false;
    }
    ed.move_before(c, p);
    return true;
}

// interchangeXLZR backward: RX moves left.
bool rx_moves_left(LineEditor& ed, It p, It c) {
    const double a = c->angle;
    if (a == 2 && p->type == RY) {
        ed.set_rotation(p, RZ, -p->angle);
    } else if (a == 2 && p->type == RZ) {
        ed.set_rotation(p, RY, p->angle);
    } else if (a != 2 && (p->type == RY || p->type == RZ) && p->angle == 4) {
        ed.set_rotation(c, RX, -a);
    } else {
        return false;
    }
    ed.move_before(c, p);
    return true;
}

}  // namespace

void interchange_scans(LineEditor& ed, bool xlzr) {
    if (xlzr) {
        forward_scan(ed, ForwardRules{RZ, std::begin(kRzPassesRight), std::end(kRzPassesRight), RX,
                                      RY, RX, true});
        backward_scan(ed, RX, rx_moves_left);
    } else {
        forward_scan(ed, ForwardRules{RX, std::begin(kRxPassesRight), std::end(kRxPassesRight), RY,
                                      RZ, RZ, false});
        backward_scan(ed, RZ, rz_moves_left);
    }
}

void interchange_xrzl(const CostModel& c, LineOfGates& L, int from, int to, Measure mode,
                      Strategy s, KnownCost* known) {
    LineEditor ed(c, L, from, to, mode, s, BestCopy::Keep, Acceptance::Equal, known);
    interchange_scans(ed, false);
    ed.finish();
}

void interchange_xlzr(const CostModel& c, LineOfGates& L, int from, int to, Measure mode,
                      Strategy s, KnownCost* known) {
    LineEditor ed(c, L, from, to, mode, s, BestCopy::Keep, Acceptance::Equal, known);
    interchange_scans(ed, true);
    ed.finish();
}

namespace {

bool z_transparent(const Gate& g, int q) {
    return (g.type == CNOT && g.control == q) || g.type == CZ || g.type == CP || g.type == GEO;
}

enum class Direction { XLeftZRight, XRightZLeft };

}  // namespace

Acceptance movement_acceptance(const CostModel& c, bool xlzr) {
    return (!xlzr && (c.pmd == CTL || c.pmd == QD)) ? Acceptance::Strict : Acceptance::Equal;
}

It movement_at(LineEditor& ed, It g, int q, bool xlzr) {
    const Direction dir = xlzr ? Direction::XLeftZRight : Direction::XRightZLeft;
    const It end = ed.end();
    // A record crossing the first record of an index window enters or leaves the window.
    const bool at_start = ed.fixed_ends() && g == ed.first();
    const bool cnot_target = g->type == CNOT && g->target == q;
    const bool ztrans = !cnot_target && z_transparent(*g, q);
    // The kind that moves forward (to after g) and the kind that moves back (to before g).
    const Gate_type forward = dir == Direction::XRightZLeft ? RX : RZ;
    const Gate_type back = dir == Direction::XRightZLeft ? RZ : RX;
    const bool moves_forward = dir == Direction::XRightZLeft ? cnot_target : ztrans;
    const bool moves_back = dir == Direction::XRightZLeft ? ztrans : cnot_target;
    It next = std::next(g);
    if (moves_forward && g != ed.gates().begin()) {
        It x = std::prev(g);
        if (x->type == forward && !ed.is_bound(x)) {
            ed.move_before(x, std::next(g), at_start ? 1 : 0);
            next = x;
        }
    } else if (moves_back) {
        It x = std::next(g);
        if (x != end && x->type == back) {
            ed.move_before(x, g, at_start ? -1 : 0);
            next = x;
        }
    }
    return next;
}

namespace {

void movement(const CostModel& c, int q, LineOfGates& L, int from, int to, Measure mode, Strategy s,
              bool xlzr, KnownCost* known) {
    LineEditor ed(c, L, from, to, mode, s, BestCopy::Keep, movement_acceptance(c, xlzr), known);
    const It end = ed.end();
    It it = ed.first();
    while (it != end) {
        if (!is_2Q_gate(it->type)) {
            ++it;
            continue;
        }
        it = movement_at(ed, it, q, xlzr);
        ed.measure();
    }
    ed.finish();
}

}  // namespace

void movement_xlzr(const CostModel& c, int q, LineOfGates& L, int from, int to, Measure mode,
                   Strategy s, KnownCost* known) {
    movement(c, q, L, from, to, mode, s, true, known);
}

void movement_xrzl(const CostModel& c, int q, LineOfGates& L, int from, int to, Measure mode,
                   Strategy s, KnownCost* known) {
    movement(c, q, L, from, to, mode, s, false, known);
}

}  // namespace line
