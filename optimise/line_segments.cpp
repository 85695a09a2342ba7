// The one-qubit line reduction of one line, segment by segment.
//
// Why the result is exactly the whole-line result, on the lines segment_walk_applies admits
// (gate count as the measure, only RX, RY, RZ and H between the anchors, one price for the three
// rotations, no negative price, whole-number prices):
//
// 1. No edit of any stage raises the whole-line cost: the rewrites turn rotations into rotations
//    (same price), move records within the line (same cost), or erase records (H and rotations
//    only, each lowering the cost by a price >= 0); nothing writes an H. Of the named pairs only
//    H, H can occur, and the RXY branches never fire; every record written is RX, RY or RZ, so
//    the line stays admitted.
// 2. Hence a stage whose editor accepts a copy of equal cost ends with its last state: every
//    edit of its scans is followed by a measurement, each of which accepts, so nothing is
//    undone. The stage that accepts only strictly lower cost (movement_xrzl on CTL and QD) only
//    moves records, so it never accepts and undoes all it did: it is the identity and is skipped.
//    The segment walk therefore edits with an editor that keeps no best copy.
// 3. Every scan of interchange and simplify is local to a segment: it enters each segment at its
//    first record, never edits or moves an anchor, never carries state across one (it steps over
//    a two-qubit record to the next segment's first record, exactly as it starts after IN), and
//    treats the record before an anchor as it treats the last record before OUT. So a stage over
//    the whole line is the same stage run on each segment alone, in any order (phases are sums
//    of whole numbers, exact in any order), and a segment's result depends on its records only.
//    A segment on which a stage made no edit is a fixed point of that stage while no one touches
//    it; skipping it is exact.
// 4. The movement rule at a two-qubit anchor reads the last record of the segment before it and
//    the first records of the one after it, and moves one record between those two segments. The
//    whole-line scan visits the anchors in order, and after a move at anchor j it goes on to
//    anchor j + 1 (after a move back it first tries anchor j again). An anchor at which the rule
//    last moved nothing, with both segments untouched since, moves nothing again; earlier
//    anchors of the same scan touch only segments before it, except the segment right after an
//    anchor that moved, and the walk then visits the next anchor in any case.
// 5. The repetition's rules read the whole-line cost, which the editor keeps edit by edit
//    (exact with whole prices, in any order), and whether the repetition changed the line. A
//    repetition is a function of the line's records; one that touched no segment changed
//    nothing, and one that touched segments but left them as they were is followed by further
//    repetitions that change nothing and lower no cost, so stopping only when nothing was
//    touched keeps the result.
// The kept copy is the line after the last repetition that lowered the cost strictly (or the
// input): the segments are saved, as they were, before the first visit that may edit them after
// the copy was taken.
//
// Between calls (settle, resume): by 3 and 4, a segment found to be a fixed point of a stage in a
// direction stays one while its records stay, and an anchor at which movement in a direction
// moved nothing stays so while both its segments stay (the anchors themselves never change).
// The walk hands its kept copy to the caller, which writes it; settling turns the walk's copy
// back into the kept copy: the segments that the kept copy holds apart from the final state are
// put back, and lose what was known of them (and of the anchors beside them). Every other
// segment holds in the kept copy what it holds in the final state, so what this call learnt of
// it holds; what an earlier call learnt of the other direction holds where this call touched
// nothing. The caller resumes with a copy only while the line holds the records it wrote from
// it (the token), under the gate count; like the memo of reductions, it takes the prices to
// stay for the circuit's life.

#include "optimise/line_segments.h"

#include <cmath>
#include <iterator>

#include "optimise/line_interchange.h"
#include "optimise/line_simplify.h"

namespace line {

namespace {

bool whole_number(double x) {
    return std::floor(x) == x && std::fabs(x) < 1e12;
}

bool is_axis_rotation_or_h(Gate_type t) {
    return t == RX || t == RY || t == RZ || t == H;
}

// The conditions on the measure, the prices and the line's ends (`gates`: a line's records,
// IN to OUT, in a list or a vector).
template <typename Records>
bool prices_admit(KindPrices& price, const Records& gates, Measure mode) {
    if (mode != Measure::GateCount) return false;
    if (gates.size() < 2 || gates.front().type < IN || gates.back().type != OUT) return false;
    const double p = price(RX);
    if (!(p >= 0) || !whole_number(p) || price(RY) != p || price(RZ) != p) return false;
    if (!(price(H) >= 0) || !whole_number(price(H))) return false;
    return whole_number(price(gates.front().type)) && whole_number(price(OUT));
}

// The condition on a record between the line's ends.
bool record_admitted(KindPrices& price, Gate_type t) {
    return is_axis_rotation_or_h(t) || (is_2Q_gate(t) && whole_number(price(t)));
}

template <typename Records>
bool records_admitted(KindPrices& price, const Records& gates, Measure mode) {
    if (!prices_admit(price, gates, mode)) return false;
    const auto last = std::prev(gates.end());
    for (auto it = std::next(gates.begin()); it != last; ++it)
        if (!record_admitted(price, it->type)) return false;
    return true;
}

}  // namespace

bool segment_walk_applies(const CostModel& c, const LineOfGates& L, Measure mode) {
    KindPrices price(c);
    return records_admitted(price, L.gates, mode);
}

bool SegmentWalk::load(const CostModel& c, LineOfGates& L, Measure mode,
                       const std::vector<Gate>& records) {
    KindPrices price(c);
    if (!records_admitted(price, records, mode)) return false;
    // One walk over L: the records written into its nodes (reused, as many as fit), the
    // anchors, and the whole-line cost summed as whole_line_cost sums it (in order, up to OUT).
    input_ = &records;
    anchors_.clear();
    anchor_at_.clear();
    double cost = 0.0;
    It it = L.gates.begin();
    for (size_t i = 0; i < records.size(); ++i) {
        const Gate& g = records[i];
        if (it != L.gates.end()) {
            *it = g;
        } else {
            it = L.gates.insert(it, g);
        }
        if (i == 0 || i + 1 == records.size() || is_2Q_gate(g.type)) {
            anchors_.push_back(it);
            anchor_at_.push_back(i);
        }
        if (i + 1 < records.size()) cost += price(g.type);
        ++it;
    }
    L.gates.erase(it, L.gates.end());
    L.phase = 0.0;
    input_cost_ = cost;
    held_ = 0;
    segment_facts_.assign(anchors_.size() - 1, 0);
    anchor_facts_.assign(anchors_.size(), 0);
    return true;
}

bool SegmentWalk::resume(const LineOfGates& L, Measure mode, uint64_t token,
                         const std::vector<Gate>& records) {
    // The walk reduces under the gate count only (see segment_walk_applies).
    if (token == 0 || held_ != token || mode != Measure::GateCount || anchors_.size() < 2 ||
        L.gates.size() != records.size())
        return false;
    input_ = &records;
    return true;
}

void SegmentWalk::start() {
    const size_t segments = anchors_.size() - 1;
    held_ = 0;  // L is about to change
    clock_ = 1;
    touched_.assign(segments, 1);
    // What earlier calls learnt: a fixed point of a stage is clean from the start.
    const uint8_t interchange_fact = xlzr_ ? kInterchangeLeft : kInterchangeRight;
    interchange_clean_.resize(segments);
    simplify_clean_.resize(segments);
    for (size_t seg = 0; seg < segments; ++seg) {
        interchange_clean_[seg] = (segment_facts_[seg] & interchange_fact) != 0 ? 1 : 0;
        simplify_clean_[seg] = (segment_facts_[seg] & kSimplify) != 0 ? 1 : 0;
    }
    const uint8_t movement_fact = xlzr_ ? kMovementLeft : kMovementRight;
    movement_dirty_.resize(anchors_.size());
    for (size_t j = 0; j < anchors_.size(); ++j)
        movement_dirty_[j] = (anchor_facts_[j] & movement_fact) != 0 ? 0 : 1;
    best_is_input_ = true;
    epoch_ = 0;
    kept_epoch_.assign(segments, 0);
    kept_at_.resize(segments);
    kept_size_.resize(segments);
    kept_.clear();
}

void SegmentWalk::touch(size_t seg) {
    touched_[seg] = ++clock_;
    movement_dirty_[seg] = 1;
    movement_dirty_[seg + 1] = 1;
}

void SegmentWalk::keep_for_best(size_t seg) {
    if (best_is_input_ || kept_epoch_[seg] == epoch_) return;
    kept_epoch_[seg] = epoch_;
    kept_at_[seg] = kept_.size();
    for (It it = std::next(anchors_[seg]); it != anchors_[seg + 1]; ++it) kept_.push_back(*it);
    kept_size_[seg] = kept_.size() - kept_at_[seg];
}

template <typename Scan>
void SegmentWalk::run_on_segments(LineEditor& ed, std::vector<uint64_t>& clean, Scan scan) {
    for (size_t seg = 0; seg + 1 < anchors_.size(); ++seg) {
        if (stage_is_clean(seg, clean)) continue;
        if (std::next(anchors_[seg]) == anchors_[seg + 1]) {  // empty: nothing to do
            clean[seg] = clock_;
            continue;
        }
        keep_for_best(seg);
        const uint64_t before = ed.edits();
        ed.focus(anchors_[seg], anchors_[seg + 1]);
        scan();
        if (ed.edits() != before)
            touch(seg);
        else
            clean[seg] = clock_;
    }
    ed.unfocus();
}

void SegmentWalk::interchange(LineEditor& ed, bool xlzr) {
    run_on_segments(ed, interchange_clean_, [&] { interchange_scans(ed, xlzr); });
}

void SegmentWalk::movement(LineEditor& ed, int q, bool xlzr) {
    ed.unfocus();
    const size_t last = anchors_.size() - 2;  // the last two-qubit anchor
    movement_list_.clear();
    for (size_t j = 1; j <= last; ++j)
        if (movement_dirty_[j]) movement_list_.push_back(j);
    size_t next_listed = 0;
    size_t forced = 0;  // the anchor after one that moved a record (0: none)
    for (;;) {
        size_t j;
        if (next_listed < movement_list_.size() &&
            (forced == 0 || movement_list_[next_listed] <= forced)) {
            j = movement_list_[next_listed++];
            if (j == forced) forced = 0;
        } else if (forced != 0) {
            j = forced;
            forced = 0;
        } else {
            break;
        }
        movement_dirty_[j] = 0;
        const It g = anchors_[j];
        bool moved = false;
        for (;;) {
            keep_for_best(j - 1);
            keep_for_best(j);
            const uint64_t before = ed.edits();
            const It resume = movement_at(ed, g, q, xlzr);
            if (ed.edits() == before) break;
            moved = true;
            touch(j - 1);
            touch(j);
            if (resume == std::next(g)) break;  // moved forward: the scan goes on after g
        }
        if (moved && j < last) forced = j + 1;
    }
}

void SegmentWalk::simplify_round(LineEditor& ed, LineOfGates& L) {
    run_on_segments(ed, simplify_clean_, [&] { simplify_round_scan(ed, L); });
}

void SegmentWalk::simplify(LineEditor& ed, LineOfGates& L) {
    // Rounds while the whole-line cost falls.
    for (;;) {
        const double before = ed.cost();
        simplify_round(ed, L);
        if (!(before > ed.cost())) return;
    }
}

void SegmentWalk::take_best(const LineOfGates& L) {
    best_is_input_ = false;
    ++epoch_;
    kept_.clear();
    best_phase_ = L.phase;
}

void SegmentWalk::write_best(const LineOfGates& L, SegmentWalkResult& out) {
    out.is_input = best_is_input_;
    out.gates.clear();
    kept_anchor_at_.clear();
    if (best_is_input_) {
        out.phase = 0.0;  // the loaded line's
        return;
    }
    out.phase = best_phase_;
    out.gates.reserve(L.gates.size());
    const std::vector<Gate>& input = *input_;
    for (size_t seg = 0; seg + 1 < anchors_.size(); ++seg) {
        kept_anchor_at_.push_back(out.gates.size());
        out.gates.push_back(*anchors_[seg]);
        if (kept_epoch_[seg] == epoch_) {
            const auto from = kept_.begin() + static_cast<std::ptrdiff_t>(kept_at_[seg]);
            out.gates.insert(out.gates.end(), from,
                             from + static_cast<std::ptrdiff_t>(kept_size_[seg]));
        } else if (touched_[seg] == 1) {
            // Never touched: as it came (the loaded records, read without walking the list).
            out.gates.insert(out.gates.end(),
                             input.begin() + static_cast<std::ptrdiff_t>(anchor_at_[seg] + 1),
                             input.begin() + static_cast<std::ptrdiff_t>(anchor_at_[seg + 1]));
        } else {
            for (It it = std::next(anchors_[seg]); it != anchors_[seg + 1]; ++it)
                out.gates.push_back(*it);
        }
    }
    kept_anchor_at_.push_back(out.gates.size());
    out.gates.push_back(*anchors_.back());
}

void SegmentWalk::settle(LineOfGates& L, uint64_t token) {
    const size_t segments = anchors_.size() - 1;
    const uint8_t interchange_fact = xlzr_ ? kInterchangeLeft : kInterchangeRight;
    const uint8_t interchange_other = xlzr_ ? kInterchangeRight : kInterchangeLeft;
    const uint8_t movement_fact = xlzr_ ? kMovementLeft : kMovementRight;
    for (size_t j = 1; j < segments; ++j) {
        uint8_t known = 0;
        if (!kept_apart(j - 1) && !kept_apart(j)) {
            if (touched_[j - 1] == 1 && touched_[j] == 1)
                known = anchor_facts_[j];  // both segments as they came: all of it holds
            if (moves_ && movement_dirty_[j] == 0) known |= movement_fact;
        }
        anchor_facts_[j] = known;
    }
    const std::vector<Gate>& input = *input_;
    for (size_t seg = 0; seg < segments; ++seg) {
        if (kept_apart(seg)) {
            // Put the kept records back over the segment's nodes.
            const Gate* from;
            const Gate* to;
            if (best_is_input_) {
                from = input.data() + anchor_at_[seg] + 1;
                to = input.data() + anchor_at_[seg + 1];
            } else {
                from = kept_.data() + kept_at_[seg];
                to = from + kept_size_[seg];
            }
            It it = std::next(anchors_[seg]);
            for (; from != to; ++from) {
                if (it != anchors_[seg + 1]) {
                    *it = *from;
                    ++it;
                } else {
                    L.gates.insert(it, *from);
                }
            }
            L.gates.erase(it, anchors_[seg + 1]);
            segment_facts_[seg] = 0;
            continue;
        }
        uint8_t known = touched_[seg] == 1 ? segment_facts_[seg] & interchange_other : 0;
        if (stage_is_clean(seg, interchange_clean_)) known |= interchange_fact;
        if (stage_is_clean(seg, simplify_clean_)) known |= kSimplify;
        segment_facts_[seg] = known;
    }
    if (!best_is_input_) {
        anchor_at_.swap(kept_anchor_at_);
        input_cost_ = best_cost_;
    }
    L.phase = 0.0;
    input_ = nullptr;
    held_ = token;
}

void SegmentWalk::reduce(const CostModel& c, int q, LineOfGates& L, bool xlzr, int reps,
                         SegmentWalkResult& out) {
    xlzr_ = xlzr;
    moves_ = movement_acceptance(c, xlzr) == Acceptance::Equal;
    start();
    const Strategy s = Strategy::Incremental;
    double cost_best = input_cost_;
    KnownCost known{true, Measure::GateCount, cost_best};
    LineEditor ed(c, L, -1, -1, Measure::GateCount, s, BestCopy::None, Acceptance::Equal, &known);
    simplify(ed, L);
    for (int k = 0; k < reps; ++k) {
        const uint64_t clock_at_start = clock_;
        interchange(ed, xlzr);
        if (moves_) movement(ed, q, xlzr);
        simplify(ed, L);
        if (cost_best > ed.cost()) {
            take_best(L);
            cost_best = ed.cost();
        }
        if (clock_ == clock_at_start) break;
    }
    best_cost_ = cost_best;
    write_best(L, out);
}

}  // namespace line
