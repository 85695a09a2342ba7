#pragma once
// Test-only unitary simulator for a few qubits, using the program's gate meanings:
//   RX(a) = [[cos, -i sin], [-i sin, cos]], RZ(a) = diag(e^{-i a pi/8}, e^{i a pi/8}),
//   RY(a) = [[cos, sin], [-sin, cos]]  (note the sign), all with half-angle a*pi/8;
//   RXY(t, f) = exp(i t pi/8 (cos(f pi/4) X - sin(f pi/4) Y))  (RXY(t,0) = RX(-t), RXY(t,2) =
//   RY(-t)); ASQU(a, b, c) = RZ(-a) RY(b) RZ(-c)  (time order RZ(-c), RY(b), RZ(-a); meaningful up
//   to phase); CP(t) = diag(1,1,1,e^{i t pi/4}), GEO(t) = diag(1, e^{i t pi/4}, e^{i t pi/4}, 1),
//   CZ = CP(4), ISWAP(t) on |01>,|10> = [[cos(t pi/4), -i sin(t pi/4)], [-i sin(t pi/4), cos(t
//   pi/4)]], ZENO = ISWAP(2), ZENO_dag its adjoint.
// Qubit q is bit q of a basis index. Angles in pi/4, phases in pi.

#include <array>
#include <complex>
#include <list>
#include <string>
#include <vector>

#include "circuit/gate.h"

class CircuitGraph;

namespace sim {

using Complex = std::complex<double>;
using Mat2 = std::array<Complex, 4>;  // row-major 2x2

/// A 2^n x 2^n matrix, row-major.
class Unitary {
  public:
    int qubits = 0;
    size_t dim = 1;
    std::vector<Complex> a;

    static Unitary identity(int qubits);
    Complex& at(size_t r, size_t c) { return a[r * dim + c]; }
    const Complex& at(size_t r, size_t c) const { return a[r * dim + c]; }

    /// Left-multiplies by m acting on qubit q.
    void apply_1q(const Mat2& m, int q);
    /// Left-multiplies by a 4x4 matrix on (qa, qb); basis index of the pair is 2*bit(qa)+bit(qb).
    void apply_2q(const std::array<Complex, 16>& m, int qa, int qb);
    /// Left-multiplies by X on `target` controlled by all `controls`.
    void apply_mcx(const std::vector<int>& controls, int target);
    /// Left-multiplies by -1 on the basis states where all `qubits` are 1.
    void apply_mcz(const std::vector<int>& qubits);
    /// Left-multiplies by e^{i pi phase}.
    void apply_phase(double phase);
    /// Left-multiplies by the gate of a record (markers are skipped).
    void apply_gate(const Gate& g);

    Unitary operator*(const Unitary& other) const;
    Unitary adjoint() const;
};

/// 2x2 matrix of a one-qubit kind.
Mat2 one_qubit_matrix(Gate_type kind, double angle, double angle1 = 0, double angle2 = 0);
/// 4x4 matrix of a two-qubit kind on (control, target).
std::array<Complex, 16> two_qubit_matrix(Gate_type kind, double angle);

/// Unitary of a circuit graph (time order), including e^{i pi global_phase}.
Unitary circuit_unitary(const CircuitGraph& circuit);
/// Unitary of records in time order on `qubits` lines (markers skipped), times e^{i pi phase}.
Unitary gates_unitary(int qubits, const std::list<Gate>& gates, double phase);
/// Unitary of a one-qubit line copy (every one-qubit record acts on qubit 0), with its phase.
Unitary line_unitary(const LineOfGates& line);

enum class Order { Operator, Time };
/// Unitary of a netlist text, parsed independently of the program's reader. With
/// Order::Operator the first gate line is leftmost (applied last), as in files handed to the
/// program; with Order::Time the first gate line is applied first, as read_netlist reads it.
/// Includes a ".global_phase" line. Multi-qubit keywords use their textbook meanings.
Unitary netlist_unitary(const std::string& text, Order order);

/// Largest entry of |a - b|.
double max_difference(const Unitary& a, const Unitary& b);
/// Largest entry of |a - e^{i phi} b| for the best phi.
double max_difference_up_to_phase(const Unitary& a, const Unitary& b);
/// Operator-norm distance min_phi ||a - e^{i phi} b||_2 (via the largest singular value).
double operator_distance_up_to_phase(const Unitary& a, const Unitary& b);

bool equal_exact(const Unitary& a, const Unitary& b, double tol = 1e-9);
bool equal_up_to_phase(const Unitary& a, const Unitary& b, double tol = 1e-9);

/// Human-readable matrix for failure messages.
std::string to_string(const Unitary& u);

}  // namespace sim
