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

/// \brief Segment-wise reductions of one line, call after call. Between calls the walk keeps
/// the line copy as its last reduction kept it, with what that reduction learnt of it (which
/// segments and anchors the stages leave as they are), so that reducing the same records again
/// needs neither a fresh copy nor a first visit of every segment.
class SegmentWalk {
  public:
    /// \brief Makes L the line `records` (IN to OUT, phase 0) for a reduction when
    /// segment_walk_applies holds for them, reusing L's list nodes; the walk then knows L's
    /// segments and cost, and nothing of its stages. False (L untouched) when the line is for the
    /// whole-line stages. `records` must stay as they are until the reduction is settled.
    bool load(const CostModel& c, LineOfGates& L, Measure mode, const std::vector<Gate>& records);
    /// \brief Readies the walk for a reduction of L when L still holds the copy settled as
    /// `token` (under the gate count; the prices are the circuit's, which stay), and `records`
    /// repeat that copy: true then, and what the walk learnt of the copy holds. False (nothing
    /// changed) otherwise; load L then.
    bool resume(const LineOfGates& L, Measure mode, uint64_t token,
                const std::vector<Gate>& records);
    /// Two-qubit records of the loaded line.
    int two_qubit_records() const { return static_cast<int>(anchors_.size()) - 2; }
    /// \brief Reduces the loaded line q's copy L as the whole-line pass in the direction `xlzr`
    /// does, with `reps` repetitions at most. L is left edited; `out` receives the kept copy.
    void reduce(const CostModel& c, int q, LineOfGates& L, bool xlzr, int reps,
                SegmentWalkResult& out);
    /// \brief After reduce, once its kept copy is written as `token` (not 0): turns L back into
    /// the kept copy and keeps what the reduction learnt of it, for resume.
    void settle(LineOfGates& L, uint64_t token);

  private:
    using It = LineEditor::It;

    // What is known of a segment of the held copy: it is a fixed point of the interchange stage
    // in a direction, or of a simplify round.
    enum SegmentFact : uint8_t {
        kInterchangeLeft = 1,   // interchange_xlzr
        kInterchangeRight = 2,  // interchange_xrzl
        kSimplify = 4
    };
    // What is known of a two-qubit anchor of the held copy: the movement rule in a direction
    // moves nothing at it.
    enum AnchorFact : uint8_t { kMovementLeft = 1, kMovementRight = 2 };

    void start();
    void touch(size_t seg);
    void keep_for_best(size_t seg);
    bool stage_is_clean(size_t seg, const std::vector<uint64_t>& clean) const {
        return touched_[seg] <= clean[seg];
    }
    /// True when the kept copy's segment differs from the final state's (it was saved for it,
    /// or, with the input kept, touched).
    bool kept_apart(size_t seg) const {
        return best_is_input_ ? touched_[seg] != 1 : kept_epoch_[seg] == epoch_;
    }
    /// Runs `scan` on every segment that stage `clean` may still change, focused on it.
    template <typename Scan>
    void run_on_segments(LineEditor& ed, std::vector<uint64_t>& clean, Scan scan);
    void interchange(LineEditor& ed, bool xlzr);
    void movement(LineEditor& ed, int q, bool xlzr);
    void simplify(LineEditor& ed, LineOfGates& L);
    void simplify_round(LineEditor& ed, LineOfGates& L);
    void take_best(const LineOfGates& L);
    void write_best(const LineOfGates& L, SegmentWalkResult& out);

    // anchors_[i] and anchors_[i + 1] bound segment i; anchors_[0] is the opening marker and the
    // last one is OUT.
    std::vector<It> anchors_;
    std::vector<size_t> anchor_at_;             // the anchors' places in the loaded records
    std::vector<size_t> kept_anchor_at_;        // and in the kept copy's (write_best)
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
    double best_cost_ = 0.0;
    uint32_t epoch_ = 0;
    std::vector<uint32_t> kept_epoch_;
    std::vector<size_t> kept_at_, kept_size_;
    std::vector<Gate> kept_;
    double input_cost_ = 0.0;  // whole-line cost of the loaded line
    bool xlzr_ = true;         // the direction of the last reduction
    bool moves_ = false;       // whether it ran the movement stage
    // What the walk holds between calls: the token of the copy in L (0: none) and the facts
    // learnt of it per segment and per anchor.
    uint64_t held_ = 0;
    std::vector<uint8_t> segment_facts_, anchor_facts_;
};

}  // namespace line
