#pragma once
// The one-qubit line reduction of one line copy, segment by segment, for lines where it gives
// exactly what the whole-line stages give (see segment_walk_applies). A segment is the run of
// one-qubit records between two neighbouring anchors of the line (IN, its two-qubit records,
// OUT); the stages never move, add or remove anchors, so the segments keep their places for the
// whole call, and a repetition re-runs a stage only where its last run may not still hold.

#include <cstdint>
#include <vector>

#include "circuit/gate.h"
#include "cost/cost_model.h"
#include "optimise/line_editor.h"

namespace line {

/// \brief True when reducing L by segments gives exactly what the whole-line stages give: the
/// gate count is the measure; L runs from a marker to its only OUT; every record between them
/// is RX, RY, RZ, H or a two-qubit record; RX, RY and RZ have one price; no price is negative;
/// and every price on the line is a whole number (so that sums in any order are exact).
bool segment_walk_applies(const CostModel& c, const LineOfGates& L, Measure mode);

/// The result of a segment-wise reduction: the records of the kept copy, IN to OUT, and its
/// phase (in π); `is_input` when the kept copy is the line as it came.
struct SegmentWalkResult {
    std::vector<Gate> gates;
    double phase = 0.0;
    bool is_input = false;
};

/// \brief Scratch for segment-wise reductions, reused from line to line so that a call
/// allocates only when a line is longer than any before.
class SegmentWalk {
  public:
    /// \brief Makes L the line `records` (IN to OUT, phase 0) for a reduction when
    /// segment_walk_applies holds for them, reusing L's list nodes; the walk then knows L's
    /// segments and cost. False (L untouched) when the line is for the whole-line stages.
    /// `records` must stay as they are until the reduction's result is taken.
    bool load(const CostModel& c, LineOfGates& L, Measure mode, const std::vector<Gate>& records);
    /// Two-qubit records of the loaded line.
    int two_qubit_records() const { return static_cast<int>(anchors_.size()) - 2; }
    /// \brief Reduces the loaded line q's copy L as the whole-line pass in the direction `xlzr`
    /// does, with `reps` repetitions at most. L is left edited; `out` receives the kept copy.
    /// `simplify_fixed` (optional): per segment of L, true for a segment known to be a fixed
    /// point of a simplify round (as simplify_fixed_points told of the line that L copies).
    void reduce(const CostModel& c, int q, LineOfGates& L, bool xlzr, int reps,
                const std::vector<char>* simplify_fixed, SegmentWalkResult& out);
    /// \brief After reduce: per segment of the kept copy, whether it is a fixed point of a
    /// simplify round; empty when that is not known.
    void simplify_fixed_points(std::vector<char>& out) const;

  private:
    using It = LineEditor::It;

    void start(const std::vector<char>* simplify_fixed);
    void touch(size_t seg);
    void keep_for_best(size_t seg);
    bool stage_is_clean(size_t seg, const std::vector<uint64_t>& clean) const {
        return touched_[seg] <= clean[seg];
    }
    /// Runs `scan` on every segment that stage `clean` may still change, focused on it.
    template <typename Scan>
    void run_on_segments(LineEditor& ed, std::vector<uint64_t>& clean, Scan scan);
    void interchange(LineEditor& ed, bool xlzr);
    void movement(LineEditor& ed, int q, bool xlzr);
    void simplify(LineEditor& ed, LineOfGates& L);
    void simplify_round(LineEditor& ed, LineOfGates& L);
    void take_best(const LineOfGates& L);
    void write_best(const LineOfGates& L, SegmentWalkResult& out) const;

    // anchors_[i] and anchors_[i + 1] bound segment i; anchors_[0] is the opening marker and the
    // last one is OUT.
    std::vector<It> anchors_;
    std::vector<size_t> anchor_at_;             // the anchors' places in the loaded records
    const std::vector<Gate>* input_ = nullptr;  // the loaded records
    // Per segment: the clock when it was last touched (edited, or a record moved in or out), and
    // when the interchange and simplify stages last ran on it without an edit. A stage is a
    // function of the segment's records alone, so a segment untouched since such a run is a
    // fixed point of that stage.
    uint64_t clock_ = 0;
    std::vector<uint64_t> touched_, interchange_clean_, simplify_clean_;
    // Per anchor: the movement rule at it may move a record (it was not yet tried, or a segment
    // on either side was touched since it last moved nothing).
    std::vector<char> movement_dirty_;
    std::vector<size_t> movement_list_;
    // The kept copy as copy-on-write: the segments changed since it was taken, as they were then.
    bool best_is_input_ = true;
    double best_phase_ = 0.0;
    uint32_t epoch_ = 0;
    std::vector<uint32_t> kept_epoch_;
    std::vector<size_t> kept_at_, kept_size_;
    std::vector<Gate> kept_;
    size_t kept_segments_ = 0;  // segments saved for the kept copy
    double input_cost_ = 0.0;   // whole-line cost of the loaded line
};

}  // namespace line
