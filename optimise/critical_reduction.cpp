// The critical-path reduction: windows cut from one critical path, then two passes of the
// window forms of the line-reduction stages, measured in cycles, keeping the cheapest line.
//
// Lines are independent (a window rewrite touches only its own line's one-qubit records), so the
// windows are worked line by line: each line is copied once, every window of it is cut out of
// the copy together with a few records before it, reduced on that short list, and spliced back;
// the line is written back once. The window stages never reach past the window's end record
// and reach at most one record before its first record per call (a movement through the first
// two-qubit gate), which the margin covers. Only when a simplification goes on over the whole
// line is that window redone on the whole line copy. The result is the same line contents and
// global phase as copying and writing back the line for every window, in O(path + line) time
// per line instead of O(windows x line).

#include "optimise/critical_reduction.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>

#include "cost/circuit_cost.h"
#include "optimise/line_interchange.h"
#include "optimise/line_segments.h"
#include "optimise/line_simplify.h"

using boost::get;

std::vector<CriticalWindow> cut_critical_windows(const Graph& graph,
                                                 const std::vector<Vertex>& path) {
    std::vector<CriticalWindow> windows;
    int line = -1;
    Vertex first{};
    Vertex last{};
    auto close = [&]() {
        const int from = get(boost::vertex_index, graph, prev_node(graph, first, line));
        const int to = get(boost::vertex_index, graph, next_node(graph, last, line));
        windows.push_back(CriticalWindow{line, from, to});
    };
    for (Vertex v : path) {
        if (!is_1Q_gate(get(boost::vertex_gate, graph, v))) continue;
        const int q = get(boost::vertex_target, graph, v);
        if (q != line) {
            if (line != -1) close();
            line = q;
            first = v;
        }
        last = v;
    }
    if (line != -1) close();
    return windows;
}

namespace {

enum class Direction { XRightZLeft, XLeftZRight };

/// The measure of the window forms of the line-reduction stages here.
constexpr Measure kWindowCycles = Measure::Cycles;
constexpr line::Strategy kStrategy = line::Strategy::Incremental;
/// Records kept before a window's first record: one movement call per round, at most 4 rounds.
constexpr int kMargin = 5;

int window_cycles(const CostModel& c, LineOfGates& line, const CriticalWindow& w) {
    return static_cast<int>(c.window_cost(line.gates, w.from, w.to, Measure::Cycles));
}

/// Whole-line gate count of a list, as the simplification measures it in cycle mode.
int gate_count_cost(const CostModel& c, LineOfGates& line) {
    return static_cast<int>(c.line_cost(line.gates, Measure::GateCount));
}

void interchange_and_move(const CostModel& c, int q, LineOfGates& line, const CriticalWindow& w,
                          Direction d) {
    if (d == Direction::XRightZLeft) {
        line::interchange_xrzl(c, line, w.from, w.to, kWindowCycles, kStrategy);
        line::movement_xrzl(c, q, line, w.from, w.to, kWindowCycles, kStrategy);
    } else {
        line::interchange_xlzr(c, line, w.from, w.to, kWindowCycles, kStrategy);
        line::movement_xlzr(c, q, line, w.from, w.to, kWindowCycles, kStrategy);
    }
}

/// Reruns the stages of one direction `rounds` times on a whole line copy and leaves in it the
/// copy of strictly lowest window cycle cost (the line as given when none is lower).
void reduce_window_literally(const CostModel& c, LineOfGates& line, const CriticalWindow& w,
                             Direction d, int rounds) {
    LineOfGates best = line;
    int best_cost = window_cycles(c, line, w);
    for (int i = 0; i < rounds; ++i) {
        interchange_and_move(c, w.line, line, w, d);
        line::simplify(c, line, w.from, w.to, kWindowCycles, kStrategy);
        const int cost = window_cycles(c, line, w);
        if (cost < best_cost) {
            best = line;
            best_cost = cost;
        }
    }
    line = std::move(best);
}

/// One line copy on which the windows of that line are reduced in turn.
///
/// A window whose simplification goes on over the whole line is redone on the whole copy; on a
/// line the segment walk admits (see line_segments.h) that redoing is local. There the
/// whole-line simplify rounds act on each segment (the one-qubit run between two anchors) alone
/// and leave a segment that is a fixed point of a round as it is, so when every segment outside
/// the window's span is such a fixed point, reducing the span alone (from the anchor before the
/// window's first anchor to its end anchor, which holds every record the window stages reach)
/// gives the same span, the same phase and the same decisions, and leaves the rest as it was.
/// Whether a segment is a fixed point depends on its records only: it is found on a copy of the
/// segment and remembered until a window rewrites records near it.
class WindowedLine {
  public:
    WindowedLine(CircuitGraph& circuit, const CostModel& cost, int q, line::ReductionMemo* memo)
        : circuit_(circuit), c_(cost), q_(q), memo_(memo) {
        // The windows are found by the indices of their bounds, which are anchors: the records
        // last written on the line carry the anchors' own.
        const line::ReductionMemo::Written* w =
            memo_ != nullptr ? memo_->still_written(circuit_, q_) : nullptr;
        if (w != nullptr) {
            walked_records_.assign(w->records.begin(), w->records.end());
            walked_ = w->vertices;
            line_.gates.assign(walked_records_.begin(), walked_records_.end());
            line_.phase = 0.0;
        } else {
            circuit_.copy_a_line(q_, line_, &walked_);
        }
        rounds_ = std::min(num_2Q_gate(line_.gates), 4);
        index_anchors(line_.gates.begin(), line_.gates.end());
    }

    /// True when `index` names a two-qubit or marker record of the line.
    bool is_anchor(int index) const { return anchors_.count(index) != 0; }

    /// Reduces one window; returns the phase (in π) its best copy gathered.
    double reduce(const CriticalWindow& w, Direction d) {
        if (rounds_ == 0) return 0.0;  // written back as copied
        auto from = anchors_.find(w.from);
        auto to = anchors_.find(w.to);
        if (from == anchors_.end() || to == anchors_.end()) return reduce_whole(w, d);
        It first = from->second;
        for (int i = 0; i < kMargin && first != line_.gates.begin(); ++i) --first;
        const It after = std::next(to->second);

        LineOfGates window;
        window.gates.splice(window.gates.end(), line_.gates, first, after);
        const LineOfGates original = window;
        LineOfGates best = window;
        int best_cost = window_cycles(c_, window, w);
        for (int i = 0; i < rounds_; ++i) {
            interchange_and_move(c_, q_, window, w, d);
            const int count = gate_count_cost(c_, window);
            line::simplify(c_, window, w.from, w.to, kWindowCycles, kStrategy);
            if (gate_count_cost(c_, window) < count) {
                // The simplification went on over the whole line: redo on the whole copy.
                splice_back(after, LineOfGates(original));
                return reduce_whole(w, d);
            }
            const int cost = window_cycles(c_, window, w);
            if (cost < best_cost) {
                best = window;
                best_cost = cost;
            }
        }
        const double phase = best.phase;
        splice_back(after, std::move(best));
        forget_fixed_points(w);
        return phase;
    }

    /// Writes the line back into the graph (its phase is handed on by the caller).
    void write_back() {
        CircuitGraph::LineVertices written;
        circuit_.revise_a_line(q_, line_, &walked_, memo_ != nullptr ? &written : nullptr,
                               walked_records_.empty() ? nullptr : &walked_records_);
        if (memo_ == nullptr) return;
        line::ReductionMemo::Written& w = memo_->note_written(circuit_, q_, written);
        w.records.assign(line_.gates.begin(), line_.gates.end());
    }

  private:
    using It = std::list<Gate>::iterator;
    enum class Fixed : char { Unknown, Yes, No };

    CircuitGraph& circuit_;
    const CostModel& c_;
    int q_;
    line::ReductionMemo* memo_;
    LineOfGates line_;
    CircuitGraph::LineVertices walked_;  // the line as copied, for writing it back
    std::vector<Gate> walked_records_;   // what walked_ holds, when copied from the memo
    int rounds_ = 0;
    std::unordered_map<int, It> anchors_;  // two-qubit and marker records by index
    // Local redoing (see the class comment), set up at the first window redone over the line:
    // the anchors' indices in line order, their places in it, and per segment k (between
    // anchors k and k + 1) whether it is a fixed point of a simplify round.
    enum class Local { NotYet, Yes, No };
    Local local_ = Local::NotYet;
    std::vector<int> anchor_order_;
    std::unordered_map<int, size_t> ordinal_;
    std::vector<Fixed> fixed_;
    LineOfGates scratch_;

    bool local() {
        if (local_ != Local::NotYet) return local_ == Local::Yes;
        local_ = Local::No;
        if (rounds_ == 0 || !line::segment_walk_applies(c_, line_, Measure::GateCount))
            return false;
        for (const Gate& g : line_.gates) {
            if (is_1Q_gate(g.type)) continue;
            ordinal_[g.index] = anchor_order_.size();
            anchor_order_.push_back(g.index);
        }
        if (ordinal_.size() != anchor_order_.size()) return false;  // anchor indices repeat
        fixed_.assign(anchor_order_.size() - 1, Fixed::Unknown);
        local_ = Local::Yes;
        return true;
    }

    // Segment k as a line of its own (its two anchors as the ends), simplified once on the copy.
    bool is_fixed_point(size_t k) {
        const It begin = anchors_.at(anchor_order_[k]);
        const It end = anchors_.at(anchor_order_[k + 1]);
        if (std::next(begin) == end) return true;
        scratch_.gates.assign(begin, std::next(end));
        scratch_.phase = 0.0;
        line::LineEditor ed(c_, scratch_, -1, -1, Measure::GateCount, kStrategy,
                            line::BestCopy::None);
        line::simplify_round_scan(ed, scratch_);
        return ed.edits() == 0;
    }

    // True when every segment outside [first, last) is a fixed point (finding out the ones not
    // yet known).
    bool fixed_outside(size_t first, size_t last) {
        for (size_t k = 0; k < fixed_.size(); ++k) {
            if (k == first) k = last;
            if (k >= fixed_.size()) break;
            if (fixed_[k] == Fixed::Unknown) fixed_[k] = is_fixed_point(k) ? Fixed::Yes : Fixed::No;
            if (fixed_[k] == Fixed::No) return false;
        }
        return true;
    }

    void forget(size_t first, size_t last) {
        for (size_t k = first; k < last && k < fixed_.size(); ++k) fixed_[k] = Fixed::Unknown;
    }

    // After a window's records were rewritten: the segments it spans, its margin included (at
    // most kMargin records, so at most that many anchors, before its first anchor).
    void forget_fixed_points(const CriticalWindow& w) {
        if (local_ != Local::Yes) return;
        const auto from = ordinal_.find(w.from);
        const auto to = ordinal_.find(w.to);
        if (from == ordinal_.end() || to == ordinal_.end()) {
            forget(0, fixed_.size());
            return;
        }
        const size_t first = from->second > kMargin ? from->second - kMargin - 1 : 0;
        forget(first, to->second);
    }

    // The local redoing of a window on its span, when that is exact; false when it is not.
    bool reduce_span(const CriticalWindow& w, Direction d, double& phase) {
        if (!local()) return false;
        const auto from = ordinal_.find(w.from);
        const auto to = ordinal_.find(w.to);
        if (from == ordinal_.end() || to == ordinal_.end() || from->second >= to->second)
            return false;
        const size_t first_anchor = from->second > 0 ? from->second - 1 : 0;
        const size_t last_anchor = to->second;
        if (!fixed_outside(first_anchor, last_anchor)) return false;
        const It first = anchors_.at(anchor_order_[first_anchor]);
        const It after = std::next(anchors_.at(anchor_order_[last_anchor]));
        LineOfGates span;
        span.gates.splice(span.gates.end(), line_.gates, first, after);
        reduce_window_literally(c_, span, w, d, rounds_);
        phase = span.phase;
        span.phase = 0.0;
        splice_back(after, std::move(span));
        forget(first_anchor, last_anchor);
        return true;
    }

    void index_anchors(It begin, It end) {
        for (It it = begin; it != end; ++it)
            if (!is_1Q_gate(it->type))
                anchors_[it->index] = it;  // the last record of an index counts
    }

    void splice_back(It before, LineOfGates&& part) {
        const It begin = part.gates.begin();
        line_.gates.splice(before, part.gates);
        index_anchors(begin, before);
    }

    double reduce_whole(const CriticalWindow& w, Direction d) {
        double span_phase = 0.0;
        if (reduce_span(w, d, span_phase)) return span_phase;
        forget(0, fixed_.size());
        LineOfGates line = line_;
        reduce_window_literally(c_, line, w, d, rounds_);
        const double phase = line.phase;
        line_ = std::move(line);
        line_.phase = 0.0;
        anchors_.clear();
        index_anchors(line_.gates.begin(), line_.gates.end());
        return phase;
    }
};

}  // namespace

void reduce_critical_windows_literal(CircuitGraph& circuit, const CostModel& cost,
                                     const std::vector<CriticalWindow>& windows) {
    for (Direction d : {Direction::XRightZLeft, Direction::XLeftZRight}) {
        for (const CriticalWindow& w : windows) {
            LineOfGates line;
            circuit.copy_a_line(w.line, line);
            reduce_window_literally(cost, line, w, d, std::min(num_2Q_gate(line.gates), 4));
            circuit.revise_a_line(w.line, line);
        }
    }
}

void reduce_critical_windows(CircuitGraph& circuit, const CostModel& cost,
                             const std::vector<CriticalWindow>& windows,
                             line::ReductionMemo* memo) {
    std::map<int, std::vector<size_t>> by_line;
    for (size_t i = 0; i < windows.size(); ++i) by_line[windows[i].line].push_back(i);
    // Every line with windows is copied first (writing one line back leaves the others' records
    // and vertices as they are), and the windows' bounds are checked on the copies.
    std::vector<std::unique_ptr<WindowedLine>> lines;
    for (const auto& [q, indices] : by_line) {
        lines.push_back(std::make_unique<WindowedLine>(circuit, cost, q, memo));
        for (size_t i : indices)
            if (!lines.back()->is_anchor(windows[i].from) ||
                !lines.back()->is_anchor(windows[i].to)) {
                lines.clear();
                reduce_critical_windows_literal(circuit, cost, windows);
                return;
            }
    }
    std::vector<double> phase_a(windows.size(), 0.0);
    std::vector<double> phase_b(windows.size(), 0.0);
    size_t next = 0;
    for (const auto& [q, indices] : by_line) {
        WindowedLine& line = *lines[next++];
        for (size_t i : indices) phase_a[i] = line.reduce(windows[i], Direction::XRightZLeft);
        for (size_t i : indices) phase_b[i] = line.reduce(windows[i], Direction::XLeftZRight);
        line.write_back();
    }
    // The phases reach the circuit in the order the window-by-window rewriting adds them.
    for (double p : phase_a) circuit.global_phase += p;
    for (double p : phase_b) circuit.global_phase += p;
}

void reduce_critical(CircuitGraph& circuit, const CostModel& cost, line::ReductionMemo* memo) {
    std::vector<Vertex> path;
    find_critical_path(circuit, cost, path);
    reduce_critical_windows(circuit, cost, cut_critical_windows(circuit.graph, path), memo);
}
