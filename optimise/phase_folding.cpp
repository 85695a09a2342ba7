#include "optimise/phase_folding.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "optimise/phase_gates.h"
#include "optimise/time_order.h"

namespace phases {

namespace {

// A parity of path variables as the XOR of their keys. The first 128 variables have one bit
// each, so that no two parities of them share a key; later ones get pseudo-random keys from a
// fixed seed (splitmix64), where two distinct parities share a key with chance 2^-128.
struct ParityKey {
    uint64_t low = 0;
    uint64_t high = 0;

    ParityKey& operator^=(const ParityKey& other) {
        low ^= other.low;
        high ^= other.high;
        return *this;
    }
    bool operator==(const ParityKey& other) const { return low == other.low && high == other.high; }
};

struct ParityKeyHash {
    size_t operator()(const ParityKey& k) const {
        return static_cast<size_t>(k.low ^ (k.high * 0x9e3779b97f4a7c15ULL));
    }
};

uint64_t splitmix64(uint64_t& state) {
    uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// The value a line holds: a parity of path variables, complemented when `flipped`.
struct LineValue {
    ParityKey key;
    bool flipped = false;
};

class VariableKeys {
  public:
    ParityKey next() {
        ParityKey k;
        if (count_ < 64)
            k.low = 1ULL << count_;
        else if (count_ < 128)
            k.high = 1ULL << (count_ - 64);
        else
            k = {splitmix64(state_), splitmix64(state_)};
        ++count_;
        return k;
    }

  private:
    uint64_t count_ = 0;
    uint64_t state_ = 0x6d61726f76696eULL;
};

// The rotations met on one parity: the first one, whether its line held the parity
// complemented, and the sum of all of them as e^{iπ·phase}·e^{iπ·angle/4·f(x)}.
struct Term {
    Vertex first;
    bool first_flipped = false;
    int count = 0;
    PhaseSum sum;
};

// X and RX by an odd multiple of 4 (π) complement the line; by a multiple of 8 they change
// nothing; any other RX is not modelled.
enum class XEffect { Flip, Nothing, NotModelled };

XEffect x_effect(Gate_type kind, double angle) {
    if (kind == X) return XEffect::Flip;
    if (std::fmod(angle, 8) == 0) return XEffect::Nothing;
    if (std::fmod(angle, 4) == 0) return XEffect::Flip;
    return XEffect::NotModelled;
}

}  // namespace

int fold_phases(CircuitGraph& circuit) {
    Graph& g = circuit.graph;
    VariableKeys keys;
    std::vector<LineValue> lines(static_cast<size_t>(circuit.num_qubits));
    for (LineValue& line : lines) line.key = keys.next();
    std::unordered_map<ParityKey, Term, ParityKeyHash> terms;
    // Every rotation in time order with the term it belongs to.
    std::vector<std::pair<Vertex, Term*>> rotations;

    for (Vertex v : gates_in_time_order(circuit)) {
        const Gate_type kind = get(boost::vertex_gate, g, v);
        if (kind == I) continue;
        const int target = get(boost::vertex_target, g, v);
        const int control = get(boost::vertex_control, g, v);
        const double angle = get(boost::vertex_angle, g, v);
        LineValue& t = lines[static_cast<size_t>(target)];
        PhaseSum form;
        if (is_1Q_gate(kind) && diagonal_form(kind, angle, form)) {
            // On a complemented line e^{iπa/4·(1-f)} = e^{iπa/4}·e^{-iπa/4·f}.
            if (t.flipped) form = {-form.angle, form.phase + form.angle / 4};
            auto [it, inserted] = terms.try_emplace(t.key);
            Term& term = it->second;
            if (inserted) {
                term.first = v;
                term.first_flipped = t.flipped;
            }
            ++term.count;
            term.sum += form;
            rotations.emplace_back(v, &term);
            continue;
        }
        if (kind == X || kind == RX) {
            const XEffect effect = x_effect(kind, angle);
            if (effect == XEffect::Flip) t.flipped = !t.flipped;
            if (effect == XEffect::NotModelled) t = {keys.next(), false};
            continue;
        }
        if (kind == CNOT) {
            const LineValue& c = lines[static_cast<size_t>(control)];
            t.key ^= c.key;
            t.flipped = t.flipped != c.flipped;
            continue;
        }
        if (kind == SWAP) {
            std::swap(lines[static_cast<size_t>(control)], t);
            continue;
        }
        if (kind == CZ || kind == CP || kind == GEO) continue;  // diagonal: no line changes
        t = {keys.next(), false};
        if (control >= 0) lines[static_cast<size_t>(control)] = {keys.next(), false};
    }

    // Each term of several rotations becomes its sum at its first occurrence.
    std::vector<Vertex> removed;
    for (const auto& [v, term] : rotations) {
        if (term->count < 2) continue;
        if (v != term->first) {
            removed.push_back(v);
            continue;
        }
        // On a line holding the parity complemented, e^{iπA/4·f} = e^{iπA/4}·e^{-iπA/4·(1-f)}.
        PhaseSum written = term->sum;
        if (term->first_flipped) written = {-written.angle, written.phase + written.angle / 4};
        const PhaseGate gate = diagonal_gate(written);
        circuit.global_phase += gate.phase;
        if (gate.kind == I) {
            removed.push_back(v);
            continue;
        }
        circuit.set_vertex_kind(v, gate.kind);
        circuit.set_vertex_angle(v, gate.angle);
    }
    for (Vertex v : removed) circuit.remove_gate_vertex(v);
    return static_cast<int>(removed.size());
}

}  // namespace phases
