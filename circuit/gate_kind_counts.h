#pragma once
// How many vertices of each kind a circuit graph holds, kept up to date by every edit that
// creates, removes or re-kinds a vertex (GraphCircuit::new_vertex, erase_vertex,
// set_vertex_kind), so that the operation count without a code is a sum over kinds, O(kinds),
// instead of a walk over every vertex. Prices are whole numbers: the sum is exact in any order
// while the magnitudes stay below 2^53.

#include <array>
#include <cstdint>

#include "circuit/gate.h"

struct GateKindCounts {
    static constexpr int kKinds = 128;  // gate kinds and line markers
    std::array<int64_t, kKinds> count{};
    int64_t vertices = 0;  // all counted vertices; equals the graph's vertex count when sound

    void add(Gate_type kind) {
        ++vertices;
        if (kind >= 0 && kind < kKinds) ++count[kind];
    }
    void remove(Gate_type kind) {
        --vertices;
        if (kind >= 0 && kind < kKinds) --count[kind];
    }
};
