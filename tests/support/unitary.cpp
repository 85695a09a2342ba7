#include "support/unitary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>

#include "circuit/circuit_graph.h"

namespace sim {
namespace {
const double kPi = 3.14159265358979323846;
const Complex kI(0, 1);

Complex expi(double x) {
    return Complex(std::cos(x), std::sin(x));
}

Mat2 mul(const Mat2& a, const Mat2& b) {
    return {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3], a[2] * b[0] + a[3] * b[2],
            a[2] * b[1] + a[3] * b[3]};
}

Mat2 rx(double a) {
    double h = a * kPi / 8;
    return {std::cos(h), -kI * std::sin(h), -kI * std::sin(h), std::cos(h)};
}
Mat2 ry(double a) {
    double h = a * kPi / 8;
    return {std::cos(h), std::sin(h), -std::sin(h), std::cos(h)};
}
Mat2 rz(double a) {
    double h = a * kPi / 8;
    return {expi(-h), 0, 0, expi(h)};
}
}  // namespace

Unitary Unitary::identity(int qubits) {
    Unitary u;
    u.qubits = qubits;
    u.dim = size_t(1) << qubits;
    u.a.assign(u.dim * u.dim, 0);
    for (size_t i = 0; i < u.dim; ++i) u.at(i, i) = 1;
    return u;
}

void Unitary::apply_1q(const Mat2& m, int q) {
    size_t bit = size_t(1) << q;
    for (size_t c = 0; c < dim; ++c) {
        for (size_t r = 0; r < dim; ++r) {
            if (r & bit) continue;
            Complex v0 = at(r, c), v1 = at(r | bit, c);
            at(r, c) = m[0] * v0 + m[1] * v1;
            at(r | bit, c) = m[2] * v0 + m[3] * v1;
        }
    }
}

void Unitary::apply_2q(const std::array<Complex, 16>& m, int qa, int qb) {
    size_t ba = size_t(1) << qa, bb = size_t(1) << qb;
    for (size_t c = 0; c < dim; ++c) {
        for (size_t r = 0; r < dim; ++r) {
            if ((r & ba) || (r & bb)) continue;
            size_t idx[4] = {r, r | bb, r | ba, r | ba | bb};  // 2*bit(qa)+bit(qb)
            Complex v[4];
            for (int k = 0; k < 4; ++k) v[k] = at(idx[k], c);
            for (int i = 0; i < 4; ++i) {
                Complex s = 0;
                for (int k = 0; k < 4; ++k) s += m[i * 4 + k] * v[k];
                at(idx[i], c) = s;
            }
        }
    }
}

void Unitary::apply_mcx(const std::vector<int>& controls, int target) {
    size_t mask = 0;
    for (int q : controls) mask |= size_t(1) << q;
    size_t tb = size_t(1) << target;
    for (size_t c = 0; c < dim; ++c)
        for (size_t r = 0; r < dim; ++r)
            if ((r & mask) == mask && !(r & tb)) std::swap(at(r, c), at(r | tb, c));
}

void Unitary::apply_mcz(const std::vector<int>& qubits) {
    size_t mask = 0;
    for (int q : qubits) mask |= size_t(1) << q;
    for (size_t c = 0; c < dim; ++c)
        for (size_t r = 0; r < dim; ++r)
            if ((r & mask) == mask) at(r, c) = -at(r, c);
}

void Unitary::apply_phase(double phase) {
    Complex f = expi(kPi * phase);
    for (Complex& x : a) x *= f;
}

void Unitary::apply_gate(const Gate& g) {
    if (g.type >= Toffoli) return;
    if (is_2Q_gate(g.type)) {
        apply_2q(two_qubit_matrix(g.type, g.angle), g.control, g.target);
    } else {
        apply_1q(one_qubit_matrix(g.type, g.angle, g.angle1, g.angle2), g.target);
    }
}

Unitary Unitary::operator*(const Unitary& o) const {
    Unitary r = identity(qubits);
    for (size_t i = 0; i < dim; ++i)
        for (size_t j = 0; j < dim; ++j) {
            Complex s = 0;
            for (size_t k = 0; k < dim; ++k) s += at(i, k) * o.at(k, j);
            r.at(i, j) = s;
        }
    return r;
}

Unitary Unitary::adjoint() const {
    Unitary r = identity(qubits);
    for (size_t i = 0; i < dim; ++i)
        for (size_t j = 0; j < dim; ++j) r.at(i, j) = std::conj(at(j, i));
    return r;
}

Mat2 one_qubit_matrix(Gate_type kind, double angle, double angle1, double angle2) {
    const double s = std::sqrt(0.5);
    switch (kind) {
        case I:
            return {1, 0, 0, 1};
        case RX:
            return rx(angle);
        case RY:
            return ry(angle);
        case RZ:
            return rz(angle);
        case X:
            return {0, 1, 1, 0};
        case Y:
            return {0, -kI, kI, 0};
        case Z:
            return {1, 0, 0, -1};
        case H:
            return {s, s, s, -s};
        case S:
            return {1, 0, 0, kI};
        case S_dag:
            return {1, 0, 0, -kI};
        case T:
            return {1, 0, 0, expi(kPi / 4)};
        case T_dag:
            return {1, 0, 0, expi(-kPi / 4)};
        case RXY: {
            double h = angle * kPi / 8, f = angle1 * kPi / 4;
            // exp(i h (cos f X - sin f Y)) = cos h + i sin h (cos f X - sin f Y)
            Complex off01 = kI * std::sin(h) * (std::cos(f) + kI * std::sin(f));
            Complex off10 = kI * std::sin(h) * (std::cos(f) - kI * std::sin(f));
            return {std::cos(h), off01, off10, std::cos(h)};
        }
        case ASQU:
            return mul(rz(-angle), mul(ry(angle1), rz(-angle2)));
        default:
            ADD_FAILURE() << "simulator: no one-qubit matrix for kind " << kind;
            return {1, 0, 0, 1};
    }
}

std::array<Complex, 16> two_qubit_matrix(Gate_type kind, double angle) {
    std::array<Complex, 16> m{};
    auto diag = [&m](Complex d0, Complex d1, Complex d2, Complex d3) {
        m[0] = d0, m[5] = d1, m[10] = d2, m[15] = d3;
    };
    auto iswap = [&m](double t) {
        double h = t * kPi / 4;
        m[0] = 1, m[15] = 1;
        m[5] = std::cos(h), m[6] = -kI * std::sin(h);
        m[9] = -kI * std::sin(h), m[10] = std::cos(h);
    };
    switch (kind) {
        case CNOT:
            m[0] = 1, m[5] = 1, m[11] = 1, m[14] = 1;
            break;
        case CZ:
            diag(1, 1, 1, -1);
            break;
        case CP:
            diag(1, 1, 1, expi(angle * kPi / 4));
            break;
        case GEO:
            diag(1, expi(angle * kPi / 4), expi(angle * kPi / 4), 1);
            break;
        case SWAP:
            m[0] = 1, m[6] = 1, m[9] = 1, m[15] = 1;
            break;
        case ISWAP:
            iswap(angle);
            break;
        case ZENO:
            iswap(2);
            break;
        case ZENO_dag:
            iswap(-2);
            break;
        default:
            ADD_FAILURE() << "simulator: no two-qubit matrix for kind " << kind;
    }
    return m;
}

Unitary gates_unitary(int qubits, const std::list<Gate>& gates, double phase) {
    Unitary u = Unitary::identity(qubits);
    for (const Gate& g : gates) u.apply_gate(g);
    u.apply_phase(phase);
    return u;
}

Unitary circuit_unitary(const CircuitGraph& circuit) {
    Unitary u = Unitary::identity(circuit.num_qubits);
    for (Vertex v : circuit.topological_order()) {
        Gate g = vertex_gate_record(circuit.graph, v);
        if (g.index < 2 * circuit.num_qubits) continue;
        u.apply_gate(g);
    }
    u.apply_phase(circuit.global_phase);
    return u;
}

Unitary line_unitary(const LineOfGates& line) {
    Unitary u = Unitary::identity(1);
    for (const Gate& g : line.gates) {
        if (g.type >= Toffoli) continue;
        if (is_2Q_gate(g.type)) {
            ADD_FAILURE() << "line_unitary: two-qubit record in a one-qubit line";
            continue;
        }
        u.apply_1q(one_qubit_matrix(g.type, g.angle, g.angle1, g.angle2), 0);
    }
    u.apply_phase(line.phase);
    return u;
}

Unitary netlist_unitary(const std::string& text, Order order) {
    std::istringstream in(text);
    std::string line;
    std::map<std::string, int> names;
    int declared = 0;
    double phase = 0;
    std::vector<std::function<void(Unitary&)>> ops;
    while (std::getline(in, line)) {
        std::istringstream tokens(line);
        std::string key;
        if (!(tokens >> key) || key == "#") continue;
        std::vector<std::string> args;
        for (std::string t; tokens >> t;) args.push_back(t);
        auto q = [&](size_t i) {
            auto it = names.find(args.at(i));
            if (it == names.end()) {
                ADD_FAILURE() << "netlist_unitary: undeclared qubit " << args.at(i);
                return 0;
            }
            return it->second;
        };
        auto num = [&](size_t i) { return std::stod(args.at(i)); };
        if (key == ".end") break;
        if (key == "qubit") {
            names.emplace(args.at(0), declared++);
        } else if (key == ".global_phase") {
            phase = num(0);
        } else if (key[0] == '.') {
            continue;
        } else if (key == "MCT" || (key == "Toffoli") || key == "CkZ") {
            std::vector<int> qs;
            for (size_t i = 0; i < args.size(); ++i) qs.push_back(q(i));
            if (key == "CkZ") {
                ops.push_back([qs](Unitary& u) { u.apply_mcz(qs); });
            } else {
                std::vector<int> controls(qs.begin(), qs.end() - 1);
                int t = qs.back();
                ops.push_back([controls, t](Unitary& u) { u.apply_mcx(controls, t); });
            }
        } else if (key == "Fredkin" || key == "PERES" || key == "PERES_dag") {
            int a = q(0), b = q(1), c = q(2);
            if (key == "Fredkin") {
                ops.push_back([a, b, c](Unitary& u) {
                    u.apply_mcx({c}, b);
                    u.apply_mcx({a, b}, c);
                    u.apply_mcx({c}, b);
                });
            } else if (key == "PERES") {
                ops.push_back([a, b, c](Unitary& u) {
                    u.apply_mcx({a}, b);
                    u.apply_mcx({a, b}, c);
                });
            } else {
                ops.push_back([a, b, c](Unitary& u) {
                    u.apply_mcx({a, b}, c);
                    u.apply_mcx({a}, b);
                });
            }
        } else {
            Gate_type kind;
            if (!gate_from_keyword(key, kind)) {
                ADD_FAILURE() << "netlist_unitary: unknown keyword " << key;
                continue;
            }
            Gate g;
            g.type = kind;
            if (is_2Q_gate(kind)) {
                g.control = q(0);
                g.target = q(1);
                if (kind == CP || kind == GEO || kind == ISWAP) g.angle = num(2);
            } else {
                g.target = q(0);
                if (args.size() > 1 && kind != I && (kind <= RZ || kind >= RXY)) g.angle = num(1);
                if (kind == RXY || kind == ASQU) g.angle1 = num(2);
                if (kind == ASQU) g.angle2 = num(3);
            }
            ops.push_back([g](Unitary& u) { u.apply_gate(g); });
        }
    }
    Unitary u = Unitary::identity(declared);
    if (order == Order::Time) {
        for (auto& op : ops) op(u);
    } else {
        for (auto it = ops.rbegin(); it != ops.rend(); ++it) (*it)(u);
    }
    u.apply_phase(phase);
    return u;
}

double max_difference(const Unitary& a, const Unitary& b) {
    if (a.dim != b.dim) return 1e300;
    double m = 0;
    for (size_t i = 0; i < a.a.size(); ++i) m = std::max(m, std::abs(a.a[i] - b.a[i]));
    return m;
}

namespace {
// e^{i phi} maximising Re tr((e^{i phi} b)^dagger a).
Complex best_phase(const Unitary& a, const Unitary& b) {
    Complex tr = 0;
    for (size_t i = 0; i < a.a.size(); ++i) tr += std::conj(b.a[i]) * a.a[i];
    if (std::abs(tr) < 1e-300) return 1;
    return tr / std::abs(tr);
}
}  // namespace

double max_difference_up_to_phase(const Unitary& a, const Unitary& b) {
    if (a.dim != b.dim) return 1e300;
    Complex f = best_phase(a, b);
    double m = 0;
    for (size_t i = 0; i < a.a.size(); ++i) m = std::max(m, std::abs(a.a[i] - f * b.a[i]));
    return m;
}

double operator_distance_up_to_phase(const Unitary& a, const Unitary& b) {
    if (a.dim != b.dim) return 1e300;
    Complex f = best_phase(a, b);
    Unitary d = a;
    for (size_t i = 0; i < d.a.size(); ++i) d.a[i] = a.a[i] - f * b.a[i];
    // Largest singular value of d by power iteration on d^dagger d.
    Unitary dd = d.adjoint() * d;
    std::vector<Complex> v(d.dim, 1.0), w(d.dim);
    for (size_t k = 0; k < d.dim; ++k) v[k] += 0.01 * double(k);
    double lambda = 0;
    for (int iter = 0; iter < 200; ++iter) {
        double norm = 0;
        for (size_t i = 0; i < d.dim; ++i) {
            Complex s = 0;
            for (size_t j = 0; j < d.dim; ++j) s += dd.at(i, j) * v[j];
            w[i] = s;
            norm += std::norm(s);
        }
        norm = std::sqrt(norm);
        if (norm < 1e-300) return 0;
        double vnorm = 0;
        for (const Complex& x : v) vnorm += std::norm(x);
        lambda = norm / std::sqrt(vnorm);
        for (size_t i = 0; i < d.dim; ++i) v[i] = w[i] / norm;
    }
    return std::sqrt(lambda);
}

bool equal_exact(const Unitary& a, const Unitary& b, double tol) {
    return max_difference(a, b) <= tol;
}

bool equal_up_to_phase(const Unitary& a, const Unitary& b, double tol) {
    return max_difference_up_to_phase(a, b) <= tol;
}

std::string to_string(const Unitary& u) {
    std::ostringstream out;
    out.precision(4);
    for (size_t r = 0; r < u.dim; ++r) {
        for (size_t c = 0; c < u.dim; ++c) out << u.at(r, c) << " ";
        out << "\n";
    }
    return out.str();
}

}  // namespace sim
