#include "FaultTolerant/pelmar/su2.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "FaultTolerant/pelmar/exception.h"

using cd = std::complex<double>;

const Matrix2 Id2 = matrix2_of(1.0, 0.0, 0.0, 1.0);
const Matrix2 PX = matrix2_of(0.0, 1.0, 1.0, 0.0);
const Matrix2 PY = matrix2_of(0.0, cd(0, -1), cd(0, 1), 0.0);
const Matrix2 PZ = matrix2_of(1.0, 0.0, 0.0, -1.0);

namespace su2 {

namespace {

constexpr double kPi = 3.14159265358979323846;

double clamp_unit(double x) {
    return std::max(-1.0, std::min(1.0, x));
}

Cart3 cross(const Cart3& a, const Cart3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const Cart3& a, const Cart3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Cart3 scaled(const Cart3& a, double f) {
    return {a[0] * f, a[1] * f, a[2] * f};
}

/// A unit vector perpendicular to the unit vector u.
Cart3 perpendicular(const Cart3& u) {
    const Cart3 e = std::abs(u[0]) < 0.9 ? Cart3{1, 0, 0} : Cart3{0, 1, 0};
    Cart3 p = cross(u, e);
    return scaled(p, 1.0 / norm(p.data(), 3));
}

}  // namespace

Cart4 mat_to_cart4(const Matrix2& M) {
    Cart4 x{M(0, 0).real(), -M(0, 1).imag(), M(1, 0).real(), M(1, 1).imag()};
    for (double& v : x)
        if (std::abs(v) < 1e-15) v = 0.0;
    return x;
}

Matrix2 cart4_to_mat(const Cart4& x) {
    return matrix2_of(cd(x[0], -x[3]), cd(-x[2], -x[1]), cd(x[2], -x[1]), cd(x[0], x[3]));
}

Cart3 mat_to_cart3(const Matrix2& M) {
    const Cart3 axis{-M(0, 1).imag(), M(1, 0).real(), (M(1, 1).imag() - M(0, 0).imag()) / 2};
    const double r = norm(axis.data(), 3);
    const double w = (M(0, 0).real() + M(1, 1).real()) / 2;
    // NOTE: rounding can put w just outside [-1, 1] (e.g. 1 + 2e-16 for a product equal to the
    // identity), where acos gives NaN; clamp it.
    if (r == 0.0) return {2 * std::acos(clamp_unit(w)), 0.0, 0.0};
    const double theta = 2 * std::atan2(r, w);
    return scaled(axis, theta / r);
}

Matrix2 cart3_to_mat(const Cart3& v) {
    const double theta = norm(v.data(), 3);
    if (theta == 0.0) return Id2;
    const double s = std::sin(theta / 2) / theta;
    return cart4_to_mat({std::cos(theta / 2), v[0] * s, v[1] * s, v[2] * s});
}

double norm(const double* v, int n) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i) sum += v[i] * v[i];
    return std::sqrt(sum);
}

double proj_trace_dist(const Matrix2& A, const Matrix2& B) {
    const double a[4] = {A(0, 0).real(), A(0, 1).imag(), A(1, 0).real(), A(1, 1).imag()};
    const double b[4] = {B(0, 0).real(), B(0, 1).imag(), B(1, 0).real(), B(1, 1).imag()};
    double minus = 0.0;
    double plus = 0.0;
    for (int k = 0; k < 4; ++k) {
        minus += (a[k] - b[k]) * (a[k] - b[k]);
        plus += (a[k] + b[k]) * (a[k] + b[k]);
    }
    return std::sqrt(static_cast<double>(static_cast<float>(std::min(minus, plus))));
}

void similarity_matrix(const Matrix2& A, const Matrix2& B, Matrix2& S) {
    const Cart3 a = mat_to_cart3(A);
    const Cart3 b = mat_to_cart3(B);
    const double na = norm(a.data(), 3);
    const double nb = norm(b.data(), 3);
    if (!(std::abs(na - nb) < 1e-12))
        throw Exception(std::string(__FILE__) + ":" + std::to_string(__LINE__) +
                        ": assertion abs(na- nb) < 1e-12 failed");
    // NOTE: the axes are compared as unit vectors. Testing the cross product of the rotation
    // vectors themselves took any two small rotations (angle below 1e-6) for parallel and
    // returned the identity, and took opposite axes for equal ones; both gave a commutator about
    // the wrong axis.
    if (na < 1e-12) {
        S = Id2;
        return;
    }
    const Cart3 ua = scaled(a, 1.0 / na);
    const Cart3 ub = scaled(b, 1.0 / nb);
    const Cart3 axis = cross(ub, ua);  // turns b's axis towards a's
    const double sine = norm(axis.data(), 3);
    const double cosine = dot(ua, ub);
    if (sine < 1e-12) {
        S = cosine > 0 ? Id2 : cart3_to_mat(scaled(perpendicular(ub), kPi));
        return;
    }
    S = cart3_to_mat(scaled(axis, std::atan2(sine, cosine) / sine));
}

void x_group_factor(const Matrix2& delta_x, Matrix2& V, Matrix2& W) {
    // s^4 = (1 - cos(theta/2)) / 2 = sin^2(theta/4).
    // NOTE: s is taken from the rotation angle as sqrt(sin(theta/4)) instead of from
    // ((1 - x0) / 2)^(1/4) with x0 = cos(theta/2): for small theta, 1 - x0 cancels to a few
    // significant bits (a rotation by 1e-7 came back 1% off), and x0 rounded above 1 gave NaN.
    const Cart3 v = mat_to_cart3(delta_x);
    const double theta = norm(v.data(), 3);
    const double s = std::sqrt(std::max(0.0, std::sin(theta / 4)));
    const double c = std::sqrt(1 - s * s);
    const double phi = 2 * std::asin(s);
    const double alpha = std::atan(s);
    V = cart3_to_mat(scaled({s * std::cos(alpha), s * std::sin(alpha), -c}, phi));
    const Matrix2 W0 = cart3_to_mat(scaled({s * std::cos(alpha), s * std::sin(alpha), c}, phi));
    similarity_matrix(W0, V.Adjoint(), W);
}

void group_factor(const Matrix2& delta, Matrix2& V, Matrix2& W) {
    const Cart3 a = mat_to_cart3(delta);
    const double theta = norm(a.data(), 3);
    const Matrix2 delta_x = cart3_to_mat({theta, 0.0, 0.0});
    Matrix2 S;
    similarity_matrix(delta, delta_x, S);
    Matrix2 Vx;
    Matrix2 Wx;
    x_group_factor(delta_x, Vx, Wx);
    const Matrix2 S_dag = S.Adjoint();
    V = S * Vx * S_dag;
    W = S * Wx * S_dag;
}

}  // namespace su2
