#include "FaultTolerant/gate_sequence.h"

#include <cmath>
#include <complex>

namespace {

using cd = std::complex<double>;

constexpr double kPi = 3.141592653589793;
constexpr double kInvSqrt2 = 0.7071067811865475;

}  // namespace

Matrix2 ft_rz_matrix(double angle) {
    const double half = angle * kPi / 8;
    return matrix2_of(std::polar(1.0, -half), 0, 0, std::polar(1.0, half));
}

namespace {

/// Operator matrix of a one-qubit gate (angles in π/4), with the program's conventions:
/// RY(a) = [[c, s], [-s, c]]; RXY(t, f) = exp(i tπ/8 (cos(fπ/4) X - sin(fπ/4) Y));
/// ASQU(a, b, c) = RZ(-a) RY(b) RZ(-c).
bool operator_matrix(const Gate& g, Matrix2& m) {
    const double half = g.angle * kPi / 8;
    const double c = std::cos(half), s = std::sin(half);
    const cd i(0, 1);
    switch (g.type) {
        case I:
            m = matrix2_of(1, 0, 0, 1);
            return true;
        case RX:
            m = matrix2_of(c, -i * s, -i * s, c);
            return true;
        case RY:
            m = matrix2_of(c, s, -s, c);
            return true;
        case RZ:
            m = ft_rz_matrix(g.angle);
            return true;
        case X:
            m = matrix2_of(0, 1, 1, 0);
            return true;
        case Y:
            m = matrix2_of(0, -i, i, 0);
            return true;
        case Z:
            m = matrix2_of(1, 0, 0, -1);
            return true;
        case H:
            m = matrix2_of(kInvSqrt2, kInvSqrt2, kInvSqrt2, -kInvSqrt2);
            return true;
        case S:
            m = matrix2_of(1, 0, 0, i);
            return true;
        case S_dag:
            m = matrix2_of(1, 0, 0, -i);
            return true;
        case T:
            m = matrix2_of(1, 0, 0, std::polar(1.0, kPi / 4));
            return true;
        case T_dag:
            m = matrix2_of(1, 0, 0, std::polar(1.0, -kPi / 4));
            return true;
        case RXY: {
            const double phi = g.angle1 * kPi / 4;
            // exp(i half (cos φ X - sin φ Y)) = c I + i s (cos φ X - sin φ Y)
            const cd off01 = i * s * (std::cos(phi) + i * std::sin(phi));
            const cd off10 = i * s * (std::cos(phi) - i * std::sin(phi));
            m = matrix2_of(c, off01, off10, c);
            return true;
        }
        case ASQU: {
            Matrix2 ry;
            operator_matrix(Gate(RY, g.angle1, 0, 0, -1, -1, -100), ry);
            m = ft_rz_matrix(-g.angle) * ry * ft_rz_matrix(-g.angle2);
            return true;
        }
        default:
            m = matrix2_of(1, 0, 0, 1);
            return false;
    }
}

/// The letters of a gate-sequence string and their gates.
struct Letter {
    char letter;
    Gate_type kind;
};
constexpr Letter kLetters[] = {{'H', H},     {'T', T}, {'t', T_dag}, {'S', S},
                               {'s', S_dag}, {'X', X}, {'Z', Z},     {'I', I}};
}  // namespace

bool ft_letter_kind(char letter, Gate_type& kind) {
    for (const Letter& l : kLetters) {
        if (l.letter != letter) continue;
        kind = l.kind;
        return true;
    }
    return false;
}

bool ft_window_factor(const Gate& gate, Matrix2& factor) {
    Matrix2 op;
    const bool known = operator_matrix(gate, op);
    factor = op.Transpose();
    return known;
}
