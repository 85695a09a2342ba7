// The norm equation t† t = ξ: factor N(ξ) over the rationals, lift each prime to Z[√2] and then
// to Z[ω] with a gcd, and fix the unit at the end.

#include "FaultTolerant/grid/norm_equation.h"

#include "FaultTolerant/grid/prime_factoring.h"

namespace grid {

namespace {

const ZOmega kOne{1, 0, 0, 0};
const ZOmega kDelta{1, 1, 0, 0};   // 1 + ω, with δ†δ = 2 + √2 = √2 λ
const ZOmega kI{0, 0, 1, 0};       // i = ω²
const ZOmega kIRoot2{0, 1, 0, 1};  // i√2 = ω + ω³

ZOmega power(const ZOmega& x, int e) {
    ZOmega r = kOne;
    for (int i = 0; i < e; ++i) r = r * x;
    return r;
}

/// Divides `rest` by η as often as it goes (at most `limit` times); returns the count.
int strip(ZRoot2& rest, const ZRoot2& eta, int limit) {
    int count = 0;
    ZRoot2 q;
    while (count < limit && zroot2_divide_exact(rest, eta, q)) {
        rest = q;
        ++count;
    }
    return count;
}

/// s with s† s equal to η up to a unit, from gcd(η, h + root) where h² ≡ −(root† root) mod p.
bool lift_prime(const ZRoot2& eta, const Integer& p, const Integer& minus, const ZOmega& root,
                ZOmega& s) {
    Integer h;
    if (!sqrt_mod_prime(-minus, p, h)) return false;
    ZOmega g;
    if (!zomega_gcd(ZOmega(eta), ZOmega(h, 0, 0, 0) + root, g)) return false;
    // g† g must be an associate of η: same norm up to sign, and dividing it.
    const ZRoot2 n = g.norm_sq();
    ZRoot2 q;
    if (abs(n.norm()) != abs(eta.norm()) || !zroot2_divide_exact(n, eta, q)) return false;
    s = g;
    return true;
}

/// Multiplies t by the unit λ^{-j} that makes t† t equal ξ, given t† t = ξ λ^{2j}.
bool fix_unit(const ZRoot2& xi, ZOmega& t) {
    ZRoot2 v;
    if (!zroot2_divide_exact(t.norm_sq(), xi, v)) return false;
    if (abs(v.norm()) != 1 || !v.doubly_positive()) return false;
    const ZOmega lambda(zroot2_lambda()), lambda_inverse(zroot2_lambda_inverse());
    const ZRoot2 l2 = zroot2_lambda() * zroot2_lambda();
    const ZRoot2 l2_inverse = zroot2_lambda_inverse() * zroot2_lambda_inverse();
    const ZRoot2 one{1, 0};
    for (int guard = 0; v != one; ++guard) {
        if (guard > 100000) return false;
        // v = λ^{2j} > 0: compare with 1 exactly.
        if ((v - one).sign() > 0) {
            v = v * l2_inverse;
            t = t * lambda_inverse;
        } else {
            v = v * l2;
            t = t * lambda;
        }
    }
    return true;
}

}  // namespace

NormEquation solve_norm_equation(const ZRoot2& xi, int budget, ZOmega& t) {
    if (xi.is_zero()) {
        t = ZOmega{0, 0, 0, 0};
        return NormEquation::Solved;
    }
    if (!xi.doubly_positive()) return NormEquation::Unsolvable;

    // The factors √2: δ†δ = √2 λ.
    ZRoot2 rest = xi;
    t = kOne;
    while (zroot2_divisible_by_root2(rest)) {
        rest = zroot2_div_root2(rest);
        t = t * kDelta;
    }
    std::vector<PrimePower> primes;
    if (!factor_integer(abs(rest.norm()), budget, primes)) return NormEquation::TimedOut;

    for (const auto& [p, e] : primes) {
        const unsigned r = static_cast<unsigned>(p % 8);
        if (r == 3 || r == 5) {
            // p stays prime in Z[√2] and occurs to the power e/2.
            if (e % 2 != 0) return NormEquation::Unsolvable;
            ZOmega s;
            if (!lift_prime(ZRoot2(p, 0), p, r == 5 ? 1 : 2, r == 5 ? kI : kIRoot2, s))
                return NormEquation::TimedOut;
            t = t * power(s, e / 2);
            continue;
        }
        // p = η η• splits in Z[√2]: η = gcd(p, x + √2) with x² ≡ 2 (mod p).
        Integer x;
        if (!sqrt_mod_prime(2, p, x)) return NormEquation::TimedOut;
        const ZRoot2 eta = zroot2_gcd(ZRoot2(p, 0), ZRoot2(x, 1));
        if (abs(eta.norm()) != p) return NormEquation::TimedOut;
        const int a = strip(rest, eta, e);
        const int b = strip(rest, eta.conj2(), e);
        if (a + b != e) return NormEquation::TimedOut;
        if (r == 7) {
            // η stays prime in Z[ω]: only even powers are norms.
            if (a % 2 != 0 || b % 2 != 0) return NormEquation::Unsolvable;
            t = t * power(ZOmega(eta), a / 2) * power(ZOmega(eta.conj2()), b / 2);
            continue;
        }
        ZOmega s;
        if (!lift_prime(eta, p, 1, kI, s)) return NormEquation::TimedOut;
        t = t * power(s, a) * power(s.conj2(), b);
    }
    if (!fix_unit(xi, t) || t.norm_sq() != xi) return NormEquation::TimedOut;
    return NormEquation::Solved;
}

}  // namespace grid
