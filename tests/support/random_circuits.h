#pragma once
// Random gates, lines and circuits for the property tests of the passes: angles biased to the
// special values and their neighbours, one-qubit lines of any kind, circuits filled through
// add_gate, and circuits rich in the motifs the two-qubit reduction looks for. Angles in π/4.

#include <random>
#include <vector>

#include "circuit/graph_circuit.h"

namespace testrandom {

/// Whether random one-qubit records may be named gates (H, X, S, T ...), only rotations and H,
/// or only RX, RY and RZ.
enum class Kinds { WithNamed, RotationsAndH, Rotations };

/// \brief An angle that hits the special values and their neighbours.
double random_angle(std::mt19937& rng);

/// \brief A random one-qubit record of any kind (biased toward rotations and H).
Gate random_one_qubit_gate(std::mt19937& rng, int target, int index,
                           Kinds kinds = Kinds::WithNamed);

/// \brief A random line IN, n one-qubit records, OUT (indices 0, 10, 11, ..., 1).
LineOfGates random_line(std::mt19937& rng, int n, Kinds kinds = Kinds::WithNamed);

/// \brief Fills a circuit with `n` random gates on its lines (one-qubit kinds mostly
/// rotations, a quarter two-qubit gates).
void fill_random_circuit(GraphCircuit& c, std::mt19937& rng, int n, Kinds kinds = Kinds::WithNamed);

/// \brief A random circuit on `qubits` lines made of the motifs the two-qubit reduction looks
/// for: pairs of CNOT/CZ/CP/GEO enclosing half-turns, H, RY(2)/RY(6), merging and cancelling
/// angles, mixed with random gates.
std::vector<Gate> random_pattern_circuit(std::mt19937& rng, int qubits, int motifs);

}  // namespace testrandom
