// Exact arithmetic in Z[√2] and Z[ω].

#include "FaultTolerant/grid/ring.h"

#include <cmath>
#include <sstream>

namespace grid {

Integer floor_div(const Integer& n, const Integer& d) {
    Integer q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
    return q;
}

Integer round_div(const Integer& n, const Integer& d) {
    return floor_div(2 * n + d, 2 * d);
}

// ---- Z[√2] ----

int ZRoot2::sign() const {
    const int sa = a.sign(), sb = b.sign();
    if (sa >= 0 && sb >= 0) return (sa == 0 && sb == 0) ? 0 : 1;
    if (sa <= 0 && sb <= 0) return -1;
    // Opposite signs: the term of larger square wins (a² = 2b² only for a = b = 0).
    const Integer a2 = a * a, b2 = 2 * b * b;
    if (sa > 0) return a2 > b2 ? 1 : -1;
    return b2 > a2 ? 1 : -1;
}

double ZRoot2::to_double() const {
    return static_cast<double>(a) + static_cast<double>(b) * std::sqrt(2.0);
}

std::string ZRoot2::to_string() const {
    std::ostringstream out;
    out << a << (b < 0 ? " - " : " + ") << abs(b) << "√2";
    return out.str();
}

bool operator==(const ZRoot2& x, const ZRoot2& y) {
    return x.a == y.a && x.b == y.b;
}
ZRoot2 operator+(const ZRoot2& x, const ZRoot2& y) {
    return {x.a + y.a, x.b + y.b};
}
ZRoot2 operator-(const ZRoot2& x, const ZRoot2& y) {
    return {x.a - y.a, x.b - y.b};
}
ZRoot2 operator*(const ZRoot2& x, const ZRoot2& y) {
    return {x.a * y.a + 2 * x.b * y.b, x.a * y.b + x.b * y.a};
}

bool zroot2_divisible_by_root2(const ZRoot2& x) {
    return (x.a & 1) == 0;
}

// (a + b√2) / √2 = b + (a/2)√2.
ZRoot2 zroot2_div_root2(const ZRoot2& x) {
    return {x.b, x.a / 2};
}

int zroot2_root2_valuation(const ZRoot2& x) {
    int v = 0;
    ZRoot2 y = x;
    while (!y.is_zero() && zroot2_divisible_by_root2(y)) {
        y = zroot2_div_root2(y);
        ++v;
    }
    return v;
}

bool zroot2_divide_exact(const ZRoot2& x, const ZRoot2& y, ZRoot2& quotient) {
    const Integer n = y.norm();
    const ZRoot2 p = x * y.conj2();
    if (p.a % n != 0 || p.b % n != 0) return false;
    quotient = {p.a / n, p.b / n};
    return true;
}

ZRoot2 zroot2_gcd(ZRoot2 x, ZRoot2 y) {
    // |N(remainder)| ≤ |N(y)| / 2 at every step, so this ends after O(bits) steps.
    while (!y.is_zero()) {
        const Integer n = y.norm();
        const ZRoot2 p = x * y.conj2();
        // Rounding towards the quotient with a positive denominator.
        const Integer sn = n < 0 ? Integer(-n) : n;
        const int s = n < 0 ? -1 : 1;
        const ZRoot2 q{round_div(s * p.a, sn), round_div(s * p.b, sn)};
        ZRoot2 r = x - q * y;
        x = y;
        y = r;
    }
    return x;
}

ZRoot2 zroot2_lambda() {
    return {1, 1};
}
ZRoot2 zroot2_lambda_inverse() {
    return {-1, 1};
}

// ---- Z[ω] ----

ZRoot2 ZOmega::norm_sq() const {
    return (conj() * *this).to_zroot2();
}

void ZOmega::to_double(double& re, double& im) const {
    const double r = std::sqrt(0.5);
    const double c0 = static_cast<double>(c[0]), c1 = static_cast<double>(c[1]);
    const double c2 = static_cast<double>(c[2]), c3 = static_cast<double>(c[3]);
    re = c0 + (c1 - c3) * r;
    im = c2 + (c1 + c3) * r;
}

std::string ZOmega::to_string() const {
    std::ostringstream out;
    out << "(" << c[0] << ", " << c[1] << ", " << c[2] << ", " << c[3] << ")";
    return out.str();
}

bool operator==(const ZOmega& x, const ZOmega& y) {
    for (int i = 0; i < 4; ++i)
        if (x.c[i] != y.c[i]) return false;
    return true;
}

ZOmega operator+(const ZOmega& x, const ZOmega& y) {
    return {x.c[0] + y.c[0], x.c[1] + y.c[1], x.c[2] + y.c[2], x.c[3] + y.c[3]};
}

ZOmega operator-(const ZOmega& x, const ZOmega& y) {
    return {x.c[0] - y.c[0], x.c[1] - y.c[1], x.c[2] - y.c[2], x.c[3] - y.c[3]};
}

ZOmega operator-(const ZOmega& x) {
    return {-x.c[0], -x.c[1], -x.c[2], -x.c[3]};
}

ZOmega operator*(const ZOmega& x, const ZOmega& y) {
    ZOmega r{0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        if (x.c[i] == 0) continue;
        for (int j = 0; j < 4; ++j) {
            if (i + j < 4)
                r.c[i + j] += x.c[i] * y.c[j];
            else
                r.c[i + j - 4] -= x.c[i] * y.c[j];  // ω⁴ = −1
        }
    }
    return r;
}

ZOmega zomega_times_omega_power(const ZOmega& x, int j) {
    j = ((j % 8) + 8) % 8;
    // ω^j moves coordinate i to i + j, with a sign for every pass over ω⁴ = −1.
    ZOmega r;
    for (int i = 0; i < 4; ++i) {
        const int to = i + j;
        r.c[to % 4] = ((to / 4) % 2 == 0) ? x.c[i] : Integer(-x.c[i]);
    }
    return r;
}

// x √2 = x (ω − ω³) = (c1 − c3, c0 + c2, c1 + c3, c2 − c0); x / √2 is that over 2.
bool zomega_divisible_by_root2(const ZOmega& x) {
    return ((x.c[1] - x.c[3]) & 1) == 0 && ((x.c[0] + x.c[2]) & 1) == 0;
}

ZOmega zomega_div_root2(const ZOmega& x) {
    return {(x.c[1] - x.c[3]) / 2, (x.c[0] + x.c[2]) / 2, (x.c[1] + x.c[3]) / 2,
            (x.c[2] - x.c[0]) / 2};
}

namespace {

/// x y† (y†y)•, whose coordinates over N(y) give x / y.
ZOmega quotient_numerator(const ZOmega& x, const ZOmega& y, Integer& n) {
    const ZRoot2 m = y.norm_sq();
    n = m.norm();
    return x * y.conj() * ZOmega(m.conj2());
}

}  // namespace

bool zomega_divide_exact(const ZOmega& x, const ZOmega& y, ZOmega& quotient) {
    Integer n;
    const ZOmega p = quotient_numerator(x, y, n);
    for (int i = 0; i < 4; ++i)
        if (p.c[i] % n != 0) return false;
    quotient = {p.c[0] / n, p.c[1] / n, p.c[2] / n, p.c[3] / n};
    return true;
}

bool zomega_gcd(ZOmega x, ZOmega y, ZOmega& gcd) {
    // The rounded quotient leaves a remainder of norm at most the divisor's, strictly smaller
    // except in ties; the bound ends the walk on a tie cycle instead of looping.
    const int max_steps = 64 + 8 * static_cast<int>(msb(x.norm() + y.norm() + 1));
    for (int step = 0; step < max_steps; ++step) {
        if (y.is_zero()) {
            gcd = x;
            return true;
        }
        Integer n;
        const ZOmega p = quotient_numerator(x, y, n);
        const ZOmega q{round_div(p.c[0], n), round_div(p.c[1], n), round_div(p.c[2], n),
                       round_div(p.c[3], n)};
        ZOmega r = x - q * y;
        x = std::move(y);
        y = std::move(r);
    }
    return false;
}

}  // namespace grid
