#pragma once
// Editing a window of a line copy under the best-copy rule of the one-qubit line reduction.
//
// A stage operation works on a window of a LineOfGates: the whole line between its IN and OUT
// records (from = to = -1), or the records from the one whose index is `from` (included) to the
// one whose index is `to` (excluded). It edits the list through a LineEditor, which keeps the
// best copy seen so far: after a measurement, the current line becomes the best copy when its
// window cost is not above (or, with Acceptance::Strict, below) the best cost. finish() puts the
// best copy back into the line.
//
// Two strategies give the same results:
// - Incremental: the window cost is kept up to date edit by edit (O(1) per measurement), and
//   the best copy is kept as an undo journal of the edits made since the last accepted
//   measurement (erased records are parked, not freed, so iterators stay valid). A stage call
//   runs in time linear in the line length.
// - Literal: every measurement asks the cost model for the window cost and every accepted
//   measurement copies the whole line. Quadratic; kept as the reference the tests compare with.

#include <array>
#include <cstdint>
#include <list>
#include <vector>

#include "circuit/gate.h"
#include "cost/cost_model.h"

namespace line {

enum class Strategy { Incremental, Literal };
enum class Acceptance { Equal, Strict };
enum class BestCopy { Keep, None };

/// \brief Whole-line cost: the logical operation count for mode 2, the gate count otherwise
/// (the sum of the gate prices up to the first OUT record). The incremental strategy looks each
/// gate kind's price up once; the literal one asks the cost model per record.
double whole_line_cost(const CostModel& c, std::list<Gate>& gates, Measure mode, Strategy s);

/// Gate-count prices by kind, each asked from the cost model once (mode 0 prices depend on the
/// kind only).
class KindPrices {
  public:
    explicit KindPrices(const CostModel& c) : circuit_(c) { known_.fill(false); }
    double operator()(Gate_type kind);

  private:
    const CostModel& circuit_;
    std::array<double, 128> price_;
    std::array<bool, 128> known_;
};

/// A whole-line window cost already known to the caller, handed from one stage to the next so
/// that no stage has to sum it again. Valid means: `value` is the cost of the window -1, -1 of
/// the line as it is now, priced under `mode`. Only lines whose first record is a marker, whose
/// last record is OUT and which hold no other OUT carry one, so that the value is also the
/// whole-line cost (see whole_line_cost) under the same pricing.
struct KnownCost {
    bool valid = false;
    Measure mode = Measure::GateCount;
    double value = 0.0;
};

class LineEditor {
  public:
    using It = std::list<Gate>::iterator;

    /// `known` (optional): taken as the entry cost when it fits this window and mode, and set
    /// to the window cost of the line left by finish().
    LineEditor(const CostModel& circuit, LineOfGates& line, int from, int to, Measure mode,
               Strategy strategy, BestCopy best = BestCopy::Keep,
               Acceptance acceptance = Acceptance::Equal, KnownCost* known = nullptr);
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    /// The window's first record (for the whole line: the record after IN, found anew; when
    /// focused: the record after the focus's opening record, found anew).
    It first() const {
        if (!whole_) return start_;
        if (focused_) return std::next(focus_before_);
        std::list<Gate>& gates = line_.gates;
        return gates.size() < 2 ? gates.end() : std::next(gates.begin());
    }
    /// The record that ends the window (not part of it).
    It end() const { return end_; }
    std::list<Gate>& gates() { return line_.gates; }
    /// True for index windows, whose first and end records are fixed.
    bool fixed_ends() const { return !whole_; }
    /// True when `it` is one of the records that bound an index window; those are never moved.
    bool is_bound(It it) const { return !whole_ && (it == start_ || it == end_); }

    /// Removes a record; returns the record that followed it.
    It erase(It it);
    /// Replaces the fields of a record.
    void set(It it, const Gate& g);
    /// Changes kind and angle of a record (angle1 and angle2 kept).
    void set_rotation(It it, Gate_type type, double angle);
    /// Moves a record just before `pos`. `window_change` is +1 when the record enters the
    /// window by the move, -1 when it leaves it, 0 otherwise.
    void move_before(It it, It pos, int window_change = 0);
    void add_phase(double p);

    /// Narrows a whole-line editor without a best copy to the records strictly between `before`
    /// and `end`, two records that its edits never move (two-qubit records or markers); unfocus()
    /// widens it to the whole line again. A scan run on a focused editor sees those records as
    /// it would see a line of their own. The cost kept with `known` stays the whole line's.
    void focus(It before, It end);
    void unfocus();
    /// Edits made so far (erase, set and move_before calls).
    uint64_t edits() const { return edits_; }
    /// The whole-line cost as edited, for an editor given a `known` cost that fits.
    double cost() const { return cost_; }

    /// Measures the window cost and updates the best copy.
    void measure();
    /// Replaces the line by the best copy (without a best copy the line stays as edited). Call
    /// once, at the end.
    void finish();

  private:
    enum class Op { Erase, Set, Move };
    struct Entry {
        Op op;
        It it;
        It next;   // Erase, Move: the record that followed `it` before the edit
        Gate old;  // Set: the fields before the edit
    };

    double cost_of(const Gate& g) const;
    void accept();

    const CostModel& circuit_;
    mutable KindPrices prices_;
    LineOfGates& line_;
    int from_, to_;
    Measure mode_;
    Strategy strategy_;
    bool keep_best_;
    bool tracking_;  // Incremental: the window cost is kept up to date
    KnownCost* known_;
    Acceptance acceptance_;
    bool whole_;
    bool focused_ = false;
    It focus_before_;  // focused: the record before the window
    It start_;         // index windows: the first record
    It end_;
    uint64_t edits_ = 0;
    double cost_ = 0.0;       // Incremental: current window cost
    double best_cost_ = 0.0;  // cost of the best copy
    double best_phase_ = 0.0;
    std::vector<Entry> journal_;  // Incremental: edits since the best copy
    std::list<Gate> parked_;      // Incremental: erased records, kept for undo
    LineOfGates best_;            // Literal: the best copy
};

}  // namespace line
