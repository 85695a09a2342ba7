// Pair and triple rewrites toward H, RXY and ASQU records. No pass of the synthesis flow calls
// them. Each scans a whole line copy left to right over adjacent rotations (RX, RY, RZ); after
// a rewrite the scan goes on at the last record of the result. merge_H_gate and
// merge_ASQU_gate rewrite unconditionally; the others keep the best copy under the whole-line
// gate count. Angles in π/4, phases in π. O(n) in the line length.

#include "optimise/line_merge.h"

#include <iterator>
#include <vector>

#include "optimise/line_editor.h"
#include "optimise/line_rotation.h"

namespace line {
namespace {

using It = LineEditor::It;

// Which angles a row accepts for one record.
struct AngleTest {
    enum Kind { Any, Equal, NotHalfTurns, NotQuarters } kind;
    double value;
    bool operator()(double a) const {
        switch (kind) {
            case Equal:
                return a == value;
            case NotHalfTurns:
                return a != 2 && a != 4 && a != 6;  // a not in {2, 4, 6}
            case NotQuarters:
                return a != 2 && a != 6;  // a not in {2, 6}
            default:
                return true;
        }
    }
};
constexpr AngleTest kAny{AngleTest::Any, 0};
constexpr AngleTest is(double v) {
    return AngleTest{AngleTest::Equal, v};
}
constexpr AngleTest kNot246{AngleTest::NotHalfTurns, 0};
constexpr AngleTest kNot26{AngleTest::NotQuarters, 0};

// One record of a result: kind and the three angles.
struct Out {
    Gate_type type;
    double angle, angle1, angle2;
};
using Outs = std::vector<Out>;

// A rewrite row for `n` adjacent rotations (2 or 3): kinds, angle tests, the result as a
// function of the angles (x, y, z in time order), and the phase it adds.
struct Row {
    Gate_type kind[3];
    AngleTest test[3];
    Outs (*result)(double x, double y, double z);
    double phase;
};

bool matches(const Row& row, int n, const It* r) {
    for (int i = 0; i < n; ++i)
        if (r[i]->type != row.kind[i] || !row.test[i](r[i]->angle)) return false;
    return true;
}

// Writes `outs` over the first records of r[0..n) and removes the rest; returns the last
// record of the result.
It replace(LineEditor& ed, int n, const It* r, const Outs& outs) {
    for (size_t i = 0; i < outs.size(); ++i) {
        Gate g = *r[i];
        g.type = outs[i].type;
        g.angle = outs[i].angle;
        g.angle1 = outs[i].angle1;
        g.angle2 = outs[i].angle2;
        ed.set(r[i], g);
    }
    for (int i = static_cast<int>(outs.size()); i < n; ++i) ed.erase(r[i]);
    return r[outs.size() - 1];
}

// Runs `rows` over every group of n adjacent rotations of the whole line; the first matching
// row applies.
void scan(const CostModel& c, LineOfGates& L, int n, const std::vector<Row>& rows, BestCopy best,
          Outs (*tidy)(Outs, double&, size_t) = nullptr) {
    LineEditor ed(c, L, -1, -1, Measure::GateCount, Strategy::Incremental, best);
    const It end = ed.end();
    It r = ed.first();
    while (r != end) {
        It group[3] = {r, r, r};
        bool complete = true;
        for (int i = 0; i < n && complete; ++i) {
            if (i > 0) group[i] = std::next(group[i - 1]);
            complete = group[i] != end && is_rotation(group[i]->type);
        }
        const Row* row = nullptr;
        if (complete)
            for (const Row& candidate : rows)
                if (row == nullptr && matches(candidate, n, group)) row = &candidate;
        if (row == nullptr) {
            ++r;
            continue;
        }
        double phase = row->phase;
        Outs outs = row->result(group[0]->angle, group[1]->angle, n > 2 ? group[2]->angle : 0);
        if (tidy != nullptr) outs = tidy(outs, phase, static_cast<size_t>(row - rows.data()));
        if (outs.empty()) {  // everything cancelled: keep the scan going after the group
            r = std::next(group[n - 1]);
            for (int i = 0; i < n; ++i) ed.erase(group[i]);
        } else {
            r = replace(ed, n, group, outs);
        }
        ed.add_phase(phase);
        ed.measure();
    }
    ed.finish();
}

Out rot(Gate_type t, double a) {
    return Out{t, a, 0, 0};
}
Out rxy(double theta, double phi) {
    return Out{RXY, theta, phi, 0};
}
Out asqu(double a, double b, double c) {
    return Out{ASQU, a, b, c};
}

const std::vector<Row> kMergeH = {
    {{RX, RY},
     {is(4), is(2)},
     [](double, double, double) {
         return Outs{Out{H, 0, 0, 0}};
     },
     -0.5},
    {{RY, RZ},
     {is(2), is(4)},
     [](double, double, double) {
         return Outs{Out{H, 0, 0, 0}};
     },
     -0.5},
    {{RY, RX},
     {is(6), is(4)},
     [](double, double, double) {
         return Outs{Out{H, 0, 0, 0}};
     },
     0.5},
    {{RZ, RY},
     {is(4), is(6)},
     [](double, double, double) {
         return Outs{Out{H, 0, 0, 0}};
     },
     0.5},
};

const std::vector<Row> kChangeRxy2 = {
    {{RX, RZ},
     {kAny, kAny},
     [](double a, double c, double) {
         return Outs{rot(RZ, c), rxy(-a, -c)};
     },
     0},
    {{RY, RZ},
     {kAny, kAny},
     [](double a, double c, double) {
         return Outs{rot(RZ, c), rxy(-a, 2 - c)};
     },
     0},
    {{RZ, RX},
     {kAny, kAny},
     [](double c, double b, double) {
         return Outs{rxy(-b, c), rot(RZ, c)};
     },
     0},
    {{RZ, RY},
     {kAny, kAny},
     [](double c, double b, double) {
         return Outs{rxy(-b, 2 + c), rot(RZ, c)};
     },
     0},
};

const std::vector<Row> kMergeRxy2 = {
    {{RX, RZ}, {is(4), kAny}, [](double, double c, double) { return Outs{rxy(4, 4 - c / 2)}; }, 0},
    {{RY, RZ}, {is(4), kAny}, [](double, double c, double) { return Outs{rxy(4, 2 - c / 2)}; }, -1},
    {{RZ, RX}, {kAny, is(4)}, [](double c, double, double) { return Outs{rxy(4, c / 2)}; }, -1},
    {{RZ, RY}, {kAny, is(4)}, [](double c, double, double) { return Outs{rxy(4, 2 + c / 2)}; }, -1},
};

const std::vector<Row> kInterchangeRz = {
    {{RZ, RX},
     {kAny, is(2)},
     [](double c, double, double) {
         return Outs{rot(RX, 2), rot(RY, c)};
     },
     0},
    {{RZ, RX},
     {kAny, is(6)},
     [](double c, double, double) {
         return Outs{rot(RX, 6), rot(RY, -c)};
     },
     0},
    {{RZ, RY},
     {kAny, is(2)},
     [](double c, double, double) {
         return Outs{rot(RY, 2), rot(RX, -c)};
     },
     0},
    {{RZ, RY},
     {kAny, is(6)},
     [](double c, double, double) {
         return Outs{rot(RY, 6), rot(RX, c)};
     },
     0},
    {{RZ, RX},
     {is(4), kNot26},
     [](double, double b, double) {
         return Outs{rot(RX, 4 - b), rot(RY, 4)};
     },
     0},
    {{RY, RZ},
     {kAny, is(4)},
     [](double a, double, double) {
         return Outs{rot(RX, 4), rot(RY, 4 - a)};
     },
     0},
};

// Rows with the special angle on the second record come first: they win where two apply.
const std::vector<Row> kMergeAsqu = {
    {{RX, RY}, {kAny, is(2)}, [](double a, double, double) { return Outs{asqu(-a, 2, 0)}; }, 0},
    {{RX, RY}, {kAny, is(4)}, [](double a, double, double) { return Outs{asqu(2, 4 + a, 2)}; }, 0},
    {{RX, RY}, {kAny, is(6)}, [](double a, double, double) { return Outs{asqu(a, 6, 0)}; }, 0},
    {{RY, RX}, {kAny, is(2)}, [](double a, double, double) { return Outs{asqu(a - 2, 2, 2)}; }, 0},
    {{RY, RX}, {kAny, is(4)}, [](double a, double, double) { return Outs{asqu(0, 4 - a, 4)}; }, 0},
    {{RY, RX}, {kAny, is(6)}, [](double a, double, double) { return Outs{asqu(2 - a, 2, 6)}; }, 0},
    {{RX, RY},
     {is(2), kNot246},
     [](double, double b, double) { return Outs{asqu(2, 6, 6 - b)}; },
     0},
    {{RX, RY},
     {is(4), kNot246},
     [](double, double b, double) { return Outs{asqu(0, 4 + b, 4)}; },
     0},
    {{RX, RY},
     {is(6), kNot246},
     [](double, double b, double) { return Outs{asqu(2, 2, 6 + b)}; },
     0},
    {{RY, RX}, {is(2), kNot246}, [](double, double b, double) { return Outs{asqu(0, 2, b)}; }, 0},
    {{RY, RX},
     {is(4), kNot246},
     [](double, double b, double) { return Outs{asqu(2, 4 - b, 2)}; },
     0},
    {{RY, RX}, {is(6), kNot246}, [](double, double b, double) { return Outs{asqu(0, 6, -b)}; }, 0},
    {{RX, RZ},
     {kAny, kAny},
     [](double a, double c, double) { return Outs{asqu(-2 - c, a, 2)}; },
     0},
    {{RY, RZ}, {kAny, kAny}, [](double a, double c, double) { return Outs{asqu(-c, a, 0)}; }, 0},
    {{RZ, RX},
     {kAny, kAny},
     [](double c, double b, double) { return Outs{asqu(-2, b, 2 - c)}; },
     0},
    {{RZ, RY}, {kAny, kAny}, [](double c, double b, double) { return Outs{asqu(0, b, -c)}; }, 0},
};

// Triples of rotations, each equal (with the phase of its row) to at most one rotation and
// one RXY. A triple with a Z rotation at both ends turns the middle rotation into an RXY
// (the RZ conjugating it turns its axis in the X-Y plane). In the other orders a rotation by
// a multiple of π/2 carries its neighbour's axis to another axis (RY(2): X to Z; RX(2): Y to Z,
// Z to -Y; ...), which lets two rotations merge or one Z rotation pass; a half-turn next to a Z
// rotation is a half-turn about an axis in the X-Y plane. Middle special angles are tried
// first, then the outer ones.
const std::vector<Row> kMergeRxy3 = {
    {{RZ, RX, RZ},
     {kAny, kAny, kAny},
     [](double a, double b, double c) {
         return Outs{rxy(-b, a), rot(RZ, a + c)};
     },
     0},
    {{RZ, RY, RZ},
     {kAny, kAny, kAny},
     [](double a, double b, double c) {
         return Outs{rxy(-b, 2 + a), rot(RZ, a + c)};
     },
     0},
    // X-Y-Z
    {{RX, RY, RZ},
     {kAny, is(2), kAny},
     [](double a, double, double c) {
         return Outs{rot(RX, a + c - 8), rxy(6, 2)};
     },
     0},
    {{RX, RY, RZ},
     {kAny, is(6), kAny},
     [](double a, double, double c) {
         return Outs{rot(RX, a - c - 8), rxy(2, 2)};
     },
     0},
    {{RX, RY, RZ},
     {kAny, is(4), kAny},
     [](double a, double, double c) {
         return Outs{rot(RX, a), rxy(4, 2 - c / 2)};
     },
     -1},
    {{RX, RY, RZ},
     {is(2), kAny, kAny},
     [](double, double b, double c) {
         return Outs{rxy(2, 4 + b), rot(RZ, b + c)};
     },
     0},
    {{RX, RY, RZ},
     {is(6), kAny, kAny},
     [](double, double b, double c) {
         return Outs{rxy(6, 4 - b), rot(RZ, c - b)};
     },
     0},
    {{RX, RY, RZ},
     {is(4), kAny, kAny},
     [](double, double b, double c) {
         return Outs{rot(RY, -b), rxy(4, 4 - c / 2)};
     },
     0},
    // Y-X-Z
    {{RY, RX, RZ},
     {kAny, is(2), kAny},
     [](double a, double, double c) {
         return Outs{rot(RY, a - c - 8), rxy(6, 0)};
     },
     0},
    {{RY, RX, RZ},
     {kAny, is(6), kAny},
     [](double a, double, double c) {
         return Outs{rot(RY, a + c - 8), rxy(2, 0)};
     },
     0},
    {{RY, RX, RZ},
     {kAny, is(4), kAny},
     [](double a, double, double c) {
         return Outs{rot(RY, a), rxy(4, 4 - c / 2)};
     },
     0},
    {{RY, RX, RZ},
     {is(2), kAny, kAny},
     [](double, double b, double c) {
         return Outs{rxy(2, 6 - b), rot(RZ, c - b)};
     },
     0},
    {{RY, RX, RZ},
     {is(6), kAny, kAny},
     [](double, double b, double c) {
         return Outs{rxy(6, 6 + b), rot(RZ, b + c)};
     },
     0},
    {{RY, RX, RZ},
     {is(4), kAny, kAny},
     [](double, double b, double c) {
         return Outs{rot(RX, -b), rxy(4, 2 - c / 2)};
     },
     -1},
    // Z-X-Y
    {{RZ, RX, RY},
     {kAny, is(2), kAny},
     [](double a, double, double c) {
         return Outs{rot(RZ, a + c - 8), rxy(6, 0)};
     },
     0},
    {{RZ, RX, RY},
     {kAny, is(6), kAny},
     [](double a, double, double c) {
         return Outs{rot(RZ, a - c - 8), rxy(2, 0)};
     },
     0},
    {{RZ, RX, RY},
     {kAny, is(4), kAny},
     [](double a, double, double c) {
         return Outs{rxy(4, a / 2), rot(RY, c)};
     },
     -1},
    {{RZ, RX, RY},
     {kAny, kAny, is(2)},
     [](double a, double b, double) {
         return Outs{rxy(2, 6 + a), rot(RZ, a + b)};
     },
     0},
    {{RZ, RX, RY},
     {kAny, kAny, is(6)},
     [](double a, double b, double) {
         return Outs{rxy(6, 6 + a), rot(RZ, a - b)};
     },
     0},
    {{RZ, RX, RY},
     {kAny, kAny, is(4)},
     [](double a, double b, double) {
         return Outs{rxy(4, 2 + a / 2), rot(RX, -b)};
     },
     -1},
    // Z-Y-X
    {{RZ, RY, RX},
     {kAny, is(2), kAny},
     [](double a, double, double c) {
         return Outs{rot(RZ, a - c - 8), rxy(6, 2)};
     },
     0},
    {{RZ, RY, RX},
     {kAny, is(6), kAny},
     [](double a, double, double c) {
         return Outs{rot(RZ, a + c - 8), rxy(2, 2)};
     },
     0},
    {{RZ, RY, RX},
     {kAny, is(4), kAny},
     [](double a, double, double c) {
         return Outs{rxy(4, 2 + a / 2), rot(RX, c)};
     },
     -1},
    {{RZ, RY, RX},
     {kAny, kAny, is(2)},
     [](double a, double b, double) {
         return Outs{rxy(2, 4 + a), rot(RZ, a - b)};
     },
     0},
    {{RZ, RY, RX},
     {kAny, kAny, is(6)},
     [](double a, double b, double) {
         return Outs{rxy(6, 4 + a), rot(RZ, a + b)};
     },
     0},
    {{RZ, RY, RX},
     {kAny, kAny, is(4)},
     [](double a, double b, double) {
         return Outs{rxy(4, a / 2), rot(RY, -b)};
     },
     -1},
};

// A rotation by exactly 8 (a full turn, -1) is dropped with phase -1; in the derived rows a
// rotation by exactly 0 is dropped too. The phase stays 0 or -1.
Outs drop_full_turns(Outs outs, double& phase, bool drop_zero) {
    Outs kept;
    for (const Out& o : outs) {
        if (is_rotation(o.type) && o.angle == 8) {
            phase = phase == 0 ? -1 : 0;
        } else if (!(drop_zero && is_rotation(o.type) && o.angle == 0)) {
            kept.push_back(o);
        }
    }
    return kept;
}

}  // namespace

void merge_H_gate(const CostModel& c, LineOfGates& L) {
    scan(c, L, 2, kMergeH, BestCopy::None);
}

void change_RXY2_gate(const CostModel& c, LineOfGates& L) {
    scan(c, L, 2, kChangeRxy2, BestCopy::Keep);
}

void merge_RXY2_gate(const CostModel& c, LineOfGates& L) {
    scan(c, L, 2, kMergeRxy2, BestCopy::Keep);
}

void interchange_RZ_gate(const CostModel& c, LineOfGates& L) {
    scan(c, L, 2, kInterchangeRz, BestCopy::Keep);
}

// NOTE: the ASQU results equal their pairs only up to a global phase, which is not recorded.
void merge_ASQU_gate(const CostModel& c, LineOfGates& L) {
    scan(c, L, 2, kMergeAsqu, BestCopy::None);
}

void merge_RXY3_gate(const CostModel& c, LineOfGates& L) {
    scan(c, L, 3, kMergeRxy3, BestCopy::Keep, [](Outs outs, double& phase, size_t row) {
        // The first two rows (Z-X-Z, Z-Y-Z) drop only a full-turn RZ; the derived
        // rows also drop a zero rotation (RX(6), RY(2), RZ(2) gives RXY(6, 2)).
        return drop_full_turns(outs, phase, row >= 2);
    });
}

}  // namespace line
