#pragma once
// Exact arithmetic in the rings Z[√2] and Z[ω], ω = e^{iπ/4}, with multi-precision integer
// coordinates. These are the entries (up to a power of 1/√2) of the Clifford+T unitaries.

#include <boost/multiprecision/cpp_int.hpp>
#include <string>

namespace grid {

using Integer = boost::multiprecision::cpp_int;

/// \brief Floor of n / d for d != 0 (cpp_int division truncates towards zero).
Integer floor_div(const Integer& n, const Integer& d);
/// \brief Nearest integer to n / d for d > 0, halves rounded up.
Integer round_div(const Integer& n, const Integer& d);

/// a + b√2.
struct ZRoot2 {
    Integer a, b;

    ZRoot2() = default;
    ZRoot2(Integer a_, Integer b_) : a(std::move(a_)), b(std::move(b_)) {}

    /// \brief √2-conjugate a − b√2.
    ZRoot2 conj2() const { return {a, -b}; }
    /// \brief Norm a² − 2b² (the product with the √2-conjugate).
    Integer norm() const { return a * a - 2 * b * b; }
    bool is_zero() const { return a == 0 && b == 0; }
    /// \brief Sign of the real value a + b√2 (-1, 0 or 1), exactly.
    int sign() const;
    /// \brief Both the value and its √2-conjugate are ≥ 0.
    bool doubly_positive() const { return sign() >= 0 && conj2().sign() >= 0; }
    /// \brief The value as a double (for logs and ordering of small elements).
    double to_double() const;
    std::string to_string() const;
};

bool operator==(const ZRoot2& x, const ZRoot2& y);
inline bool operator!=(const ZRoot2& x, const ZRoot2& y) {
    return !(x == y);
}
ZRoot2 operator+(const ZRoot2& x, const ZRoot2& y);
ZRoot2 operator-(const ZRoot2& x, const ZRoot2& y);
ZRoot2 operator*(const ZRoot2& x, const ZRoot2& y);

/// \brief True when √2 divides x in Z[√2].
bool zroot2_divisible_by_root2(const ZRoot2& x);
/// \brief x / √2, for x divisible by √2.
ZRoot2 zroot2_div_root2(const ZRoot2& x);
/// \brief Number of times √2 divides x (x != 0).
int zroot2_root2_valuation(const ZRoot2& x);
/// \brief Quotient x / y when y divides x exactly; false otherwise (y != 0).
bool zroot2_divide_exact(const ZRoot2& x, const ZRoot2& y, ZRoot2& quotient);
/// \brief Greatest common divisor (up to a unit), by Euclid's algorithm with rounded quotients.
ZRoot2 zroot2_gcd(ZRoot2 x, ZRoot2 y);
/// \brief λ = 1 + √2, the fundamental unit, and its inverse √2 − 1.
ZRoot2 zroot2_lambda();
ZRoot2 zroot2_lambda_inverse();

/// c0 + c1 ω + c2 ω² + c3 ω³, with ω⁴ = −1.
struct ZOmega {
    Integer c[4];

    ZOmega() = default;
    ZOmega(Integer c0, Integer c1, Integer c2, Integer c3)
        : c{std::move(c0), std::move(c1), std::move(c2), std::move(c3)} {}
    /// \brief The element a + b√2 of Z[√2] ⊂ Z[ω] (√2 = ω − ω³).
    explicit ZOmega(const ZRoot2& x) : c{x.a, x.b, 0, -x.b} {}

    /// \brief Complex conjugate (ω ↦ ω⁻¹).
    ZOmega conj() const { return {c[0], -c[3], -c[2], -c[1]}; }
    /// \brief √2-conjugate (ω ↦ −ω).
    ZOmega conj2() const { return {c[0], -c[1], c[2], -c[3]}; }
    bool is_zero() const { return c[0] == 0 && c[1] == 0 && c[2] == 0 && c[3] == 0; }
    /// \brief Lies in Z[√2] (real and fixed by nothing more than √2 terms).
    bool is_zroot2() const { return c[2] == 0 && c[1] == -c[3]; }
    /// \brief The Z[√2] value of an element for which is_zroot2() holds.
    ZRoot2 to_zroot2() const { return {c[0], c[1]}; }
    /// \brief x† x, the squared modulus, an element of Z[√2].
    ZRoot2 norm_sq() const;
    /// \brief Integer norm: the product of x† x and its √2-conjugate (≥ 0).
    Integer norm() const { return norm_sq().norm(); }
    /// \brief Approximate complex value (for logs and tests).
    void to_double(double& re, double& im) const;
    std::string to_string() const;
};

bool operator==(const ZOmega& x, const ZOmega& y);
inline bool operator!=(const ZOmega& x, const ZOmega& y) {
    return !(x == y);
}
ZOmega operator+(const ZOmega& x, const ZOmega& y);
ZOmega operator-(const ZOmega& x, const ZOmega& y);
ZOmega operator-(const ZOmega& x);
ZOmega operator*(const ZOmega& x, const ZOmega& y);

/// \brief ω^j x, any integer j (ω⁸ = 1).
ZOmega zomega_times_omega_power(const ZOmega& x, int j);
/// \brief True when √2 divides x in Z[ω].
bool zomega_divisible_by_root2(const ZOmega& x);
/// \brief x / √2, for x divisible by √2.
ZOmega zomega_div_root2(const ZOmega& x);
/// \brief Quotient x / y when y divides x exactly; false otherwise (y != 0).
bool zomega_divide_exact(const ZOmega& x, const ZOmega& y, ZOmega& quotient);
/// \brief Greatest common divisor (up to a unit), by Euclid's algorithm with rounded quotients;
/// false when the division did not shrink the norm within a generous step bound (the rounding
/// can tie in Z[ω]).
bool zomega_gcd(ZOmega x, ZOmega y, ZOmega& gcd);

}  // namespace grid
