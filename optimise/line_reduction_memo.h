#pragma once
// What the one-qubit line reduction last made of each line, per pass, so that a line read back
// unchanged is not reduced again: the reduction of a line depends only on its records (kinds,
// angles, control, target; not the vertex indices), the cost mode and the machine description,
// so the same records give the same best copy and phase.

#include <cstdint>
#include <vector>

#include "circuit/circuit_graph.h"
#include "circuit/gate.h"
#include "cost/cost_model.h"
#include "optimise/line_segments.h"

namespace line {

struct ReductionMemo {
    struct Entry {
        bool valid = false;
        Measure mode = Measure::GateCount;
        PMD_type pmd = ND;
        std::vector<Gate> input;  // the line as copied from the graph
        bool output_is_input = false;
        std::vector<Gate> output;  // the best copy, when it differs from the input
        double phase = 0.0;        // the best copy's phase, in π
        // The line as last checked against `input`: the circuit that checked it, that line's
        // edit count then (GraphCircuit::line_edits) and the vertices that a non-empty run
        // follows. While the circuit reports the same edit count the line still holds `input`
        // and those vertices, so the check need not walk the line again.
        const void* checked_by = nullptr;
        uint64_t checked_edits = 0;
        std::vector<void*> runs_after;
    };
    /// One entry per line for each of the two passes of the reduction.
    std::vector<Entry> passes[2];

    /// What the reduction (or the critical-path reduction) last wrote on a line, in the
    /// circuit `by`: the records and the vertices holding them, with the line's edit count after
    /// the writing. While the circuit reports that count the line holds exactly these records
    /// and vertices, so the next pass can copy the line from here instead of walking it. The
    /// indices of the two-qubit and marker records are their vertices'; a one-qubit record's
    /// may be that of another one-qubit vertex, now or once on the line (indices are never
    /// reused, and only the anchors' are read). `token` names this writing among all the
    /// memo's (counting from 1).
    struct Written {
        const void* by = nullptr;
        std::vector<Gate> records;
        CircuitGraph::LineVertices vertices;
        uint64_t token = 0;
    };
    std::vector<Written> written;
    uint64_t writings = 0;  // the last token handed out

    /// What the pass keeps per line from call to call: the line copy, whose nodes each line
    /// reuses, and its segment walk, which holds its copy as the kept copy it last wrote (see
    /// SegmentWalk::resume); and buffers reused so that a call allocates only for lines longer
    /// than any before.
    struct Scratch {
        std::vector<LineOfGates> lines;  // per line
        std::vector<SegmentWalk> walks;  // per line
        SegmentWalkResult kept;
        CircuitGraph::LineVertices walked, fresh;
        std::vector<void*> runs_after;
    };
    Scratch scratch;

    Written& written_on(int q) {
        if (static_cast<int>(written.size()) <= q) written.resize(q + 1);
        return written[q];
    }
    /// What was last written on line q of `c`, when the line holds it still (nullptr otherwise).
    const Written* still_written(const CircuitGraph& c, int q) const;
    /// Makes `vertices` (what revise_a_line reported writing on line q of `c`) part of what was
    /// last written there, under a new token; the caller sets the records.
    Written& note_written(const CircuitGraph& c, int q, CircuitGraph::LineVertices& vertices);

    Entry& entry(int pass, int q) {
        std::vector<Entry>& entries = passes[pass];
        if (static_cast<int>(entries.size()) <= q) entries.resize(q + 1);
        return entries[q];
    }
};

}  // namespace line
