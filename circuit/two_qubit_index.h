#pragma once
// The two-qubit records of every line in line order, each with a position on each of its two
// lines, and a candidate mark per record.
//
// Positions only grow along a line: a record appended at the end of a line takes the next
// position, and a removed record leaves a hole (its position is never reused). No pass inserts
// a two-qubit record between two others, so the positions of the records of a line stay in
// line order for the life of the circuit.
//
// A mark is kept at the position of a record on one of its lines (the circuit graph keeps it
// on the control line: see CircuitGraph::mark_two_qubit_candidate); finding the next marked
// record of a line from a position scans a bit set, 64 positions per word.

#include <cstddef>
#include <cstdint>
#include <vector>

template <typename Handle>
class TwoQubitIndex {
  public:
    /// \brief Empties the index and makes room for `lines` lines.
    void reset(int lines) { lines_.assign(static_cast<size_t>(lines), Line{}); }

    /// \brief Appends `h` at the end of line q; returns its position.
    int append(int q, Handle h) {
        Line& line = lines_[static_cast<size_t>(q)];
        line.records.push_back(h);
        if (line.marks.size() * 64 < line.records.size()) line.marks.push_back(0);
        return static_cast<int>(line.records.size()) - 1;
    }
    /// \brief Leaves a hole at position p of line q (and clears its mark).
    void erase(int q, int p, Handle hole) {
        unmark(q, p);
        lines_[static_cast<size_t>(q)].records[static_cast<size_t>(p)] = hole;
    }
    Handle at(int q, int p) const {
        return lines_[static_cast<size_t>(q)].records[static_cast<size_t>(p)];
    }
    int size(int q) const {
        return static_cast<int>(lines_[static_cast<size_t>(q)].records.size());
    }
    int lines() const { return static_cast<int>(lines_.size()); }

    void mark(int q, int p) { word(q, p) |= bit(p); }
    void unmark(int q, int p) { word(q, p) &= ~bit(p); }
    bool marked(int q, int p) const {
        return (lines_[static_cast<size_t>(q)].marks[static_cast<size_t>(p) / 64] & bit(p)) != 0;
    }
    /// \brief The first marked position of line q at or after `from`, or -1.
    int next_marked(int q, int from) const {
        const std::vector<uint64_t>& marks = lines_[static_cast<size_t>(q)].marks;
        if (from < 0) from = 0;
        size_t w = static_cast<size_t>(from) / 64;
        if (w >= marks.size()) return -1;
        uint64_t bits = marks[w] & (~uint64_t{0} << (static_cast<unsigned>(from) % 64));
        for (;;) {
            if (bits != 0) return static_cast<int>(w * 64) + __builtin_ctzll(bits);
            if (++w >= marks.size()) return -1;
            bits = marks[w];
        }
    }

  private:
    struct Line {
        std::vector<Handle> records;
        std::vector<uint64_t> marks;  // bit p % 64 of word p / 64: position p is marked
    };
    static uint64_t bit(int p) { return uint64_t{1} << (static_cast<unsigned>(p) % 64); }
    uint64_t& word(int q, int p) {
        return lines_[static_cast<size_t>(q)].marks[static_cast<size_t>(p) / 64];
    }

    std::vector<Line> lines_;
};
