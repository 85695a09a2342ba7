#include "optimise/line_editor.h"

#include <iterator>

#include "circuit/check.h"

namespace line {

double KindPrices::operator()(Gate_type kind) {
    if (kind < 0 || kind >= 128) return circuit_.gate_price(kind);
    if (!known_[kind]) {
        price_[kind] = circuit_.gate_price(kind);
        known_[kind] = true;
    }
    return price_[kind];
}

double whole_line_cost(const CostModel& c, std::list<Gate>& gates, Measure mode, Strategy s) {
    if (mode == Measure::LogicalOps || s == Strategy::Literal) return c.line_cost(gates, mode);
    // Integer prices summed exactly, as the cost model sums them.
    KindPrices price(c);
    double total = 0.0;
    for (const Gate& g : gates) {
        if (g.type == OUT) break;
        total += price(g.type);
    }
    return total;
}

LineEditor::LineEditor(const CostModel& circuit, LineOfGates& line, int from, int to, Measure mode,
                       Strategy strategy, BestCopy best, Acceptance acceptance, KnownCost* known)
    : circuit_(circuit),
      prices_(circuit),
      line_(line),
      from_(from),
      to_(to),
      mode_(mode),
      strategy_(strategy),
      keep_best_(best == BestCopy::Keep),
      tracking_(false),
      known_(known),
      acceptance_(acceptance),
      whole_(from == -1 && to == -1) {
    std::list<Gate>& gates = line_.gates;
    if (whole_) {
        end_ = gates.size() < 2 ? gates.end() : std::prev(gates.end());
    } else {
        // The last record carrying each index bounds the window; a missing start record
        // leaves the window empty, a missing end record lets it run to the end of the list.
        start_ = gates.end();
        end_ = gates.end();
        for (It it = gates.begin(); it != gates.end(); ++it) {
            if (it->index == from) start_ = it;
            if (it->index == to) end_ = it;
        }
        if (start_ == gates.end() || from == to) start_ = end_;
    }
    const bool known_fits = known_ != nullptr && known_->valid && known_->mode == mode_ && whole_ &&
                            strategy_ == Strategy::Incremental;
    if (known_ != nullptr && !known_fits) known_->valid = false;
    best_phase_ = line_.phase;
    if (strategy_ == Strategy::Literal) {
        if (!keep_best_) return;
        best_cost_ = circuit_.window_cost(gates, from_, to_, mode_);
        best_ = line_;
        return;
    }
    tracking_ = keep_best_ || known_fits;
    if (!tracking_) return;
    if (known_fits) {
        cost_ = known_->value;
    } else {
        for (It it = first(); it != end_; ++it) cost_ += cost_of(*it);
    }
    best_cost_ = cost_;
}

double LineEditor::cost_of(const Gate& g) const {
    if (mode_ != Measure::GateCount) return circuit_.record_cost(g, mode_);
    return prices_(g.type);
}

void LineEditor::focus(It before, It end) {
    MAROVIN_CHECK(whole_ && !keep_best_, "only a whole-line editor without a best copy is focused");
    focused_ = true;
    focus_before_ = before;
    end_ = end;
}

void LineEditor::unfocus() {
    focused_ = false;
    std::list<Gate>& gates = line_.gates;
    end_ = gates.size() < 2 ? gates.end() : std::prev(gates.end());
}

LineEditor::It LineEditor::erase(It it) {
    ++edits_;
    It next = std::next(it);
    if (!whole_ && it == start_) start_ = next;
    if (!keep_best_ || strategy_ == Strategy::Literal) {
        if (tracking_) cost_ -= cost_of(*it);
        return line_.gates.erase(it);
    }
    cost_ -= cost_of(*it);
    journal_.push_back(Entry{Op::Erase, it, next, Gate()});
    parked_.splice(parked_.end(), line_.gates, it);
    return next;
}

void LineEditor::set(It it, const Gate& g) {
    ++edits_;
    if (tracking_) cost_ += cost_of(g) - cost_of(*it);
    if (keep_best_ && strategy_ == Strategy::Incremental)
        journal_.push_back(Entry{Op::Set, it, it, *it});
    *it = g;
}

void LineEditor::set_rotation(It it, Gate_type type, double angle) {
    Gate g = *it;
    g.type = type;
    g.angle = angle;
    set(it, g);
}

void LineEditor::move_before(It it, It pos, int window_change) {
    ++edits_;
    if (tracking_ && window_change != 0) cost_ += window_change * cost_of(*it);
    if (keep_best_ && strategy_ == Strategy::Incremental)
        journal_.push_back(Entry{Op::Move, it, std::next(it), Gate()});
    line_.gates.splice(pos, line_.gates, it);
}

void LineEditor::add_phase(double p) {
    line_.phase += p;
}

void LineEditor::measure() {
    if (!keep_best_) return;
    double cost = strategy_ == Strategy::Literal
                      ? circuit_.window_cost(line_.gates, from_, to_, mode_)
                      : cost_;
    bool better = acceptance_ == Acceptance::Strict ? best_cost_ > cost : best_cost_ >= cost;
    if (!better) return;
    best_cost_ = cost;
    accept();
}

void LineEditor::accept() {
    best_phase_ = line_.phase;
    if (strategy_ == Strategy::Literal) {
        best_ = line_;
    } else if (!journal_.empty()) {
        journal_.clear();
        parked_.clear();
    }
}

void LineEditor::finish() {
    if (known_ != nullptr) {
        // The cost of the line as finish leaves it: the best copy's, or the edited line's.
        known_->valid = tracking_ && whole_;
        known_->mode = mode_;
        known_->value = keep_best_ ? best_cost_ : cost_;
    }
    if (!keep_best_) return;
    if (strategy_ == Strategy::Literal) {
        line_ = best_;
        return;
    }
    // Undo the edits made since the best copy, newest first: each undo finds the list exactly
    // as its edit left it, so the remembered neighbours are in place.
    for (auto e = journal_.rbegin(); e != journal_.rend(); ++e) {
        switch (e->op) {
            case Op::Erase:
                line_.gates.splice(e->next, parked_, e->it);
                break;
            case Op::Set:
                *e->it = e->old;
                break;
            case Op::Move:
                line_.gates.splice(e->next, line_.gates, e->it);
                break;
        }
    }
    journal_.clear();
    parked_.clear();
    line_.phase = best_phase_;
}

}  // namespace line
