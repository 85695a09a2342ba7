// Probable primes, bounded factoring and modular square roots.

#include "FaultTolerant/grid/prime_factoring.h"

#include <algorithm>

namespace grid {

namespace {

using boost::multiprecision::powm;

constexpr unsigned kSmallPrimeBound = 2000;

const std::vector<unsigned>& small_primes() {
    static const std::vector<unsigned> primes = [] {
        std::vector<unsigned> p;
        std::vector<bool> composite(kSmallPrimeBound + 1, false);
        for (unsigned i = 2; i <= kSmallPrimeBound; ++i) {
            if (composite[i]) continue;
            p.push_back(i);
            for (unsigned j = i * i; j <= kSmallPrimeBound; j += i) composite[j] = true;
        }
        return p;
    }();
    return primes;
}

Integer mod(const Integer& a, const Integer& m) {
    Integer r = a % m;
    if (r < 0) r += m;
    return r;
}

void add_factor(std::vector<PrimePower>& factors, const Integer& p, int e) {
    for (PrimePower& f : factors)
        if (f.first == p) {
            f.second += e;
            return;
        }
    factors.emplace_back(p, e);
}

/// Splits n (odd, > 1, no small factors) into primes; false when the budget runs out.
bool split(const Integer& n, int budget, std::vector<PrimePower>& factors, int depth) {
    if (n == 1) return true;
    if (is_probable_prime(n)) {
        add_factor(factors, n, 1);
        return true;
    }
    if (depth > 64) return false;
    Integer f;
    if (!pollard_rho(n, budget, f)) return false;
    return split(f, budget, factors, depth + 1) && split(n / f, budget, factors, depth + 1);
}

}  // namespace

bool is_probable_prime(const Integer& n) {
    if (n < 2) return false;
    static const unsigned bases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    for (unsigned p : bases) {
        if (n == p) return true;
        if (n % p == 0) return false;
    }
    const Integer m = n - 1;
    const unsigned s = lsb(m);
    const Integer d = m >> s;
    for (unsigned base : bases) {
        Integer x = powm(Integer(base), d, n);
        if (x == 1 || x == m) continue;
        bool witness = true;
        for (unsigned r = 1; r < s && witness; ++r) {
            x = x * x % n;
            if (x == m) witness = false;
        }
        if (witness) return false;
    }
    return true;
}

bool pollard_rho(const Integer& n, int budget, Integer& factor) {
    if (n % 2 == 0) {
        factor = 2;
        return true;
    }
    // Brent's variant with batched gcds; the seeds c = 1, 2, 3 are tried in turn.
    for (unsigned c = 1; c <= 3; ++c) {
        Integer y = 2, x, ys, q = 1, g = 1;
        int r = 1, steps = 0;
        const int batch = 32;
        while (g == 1 && steps < budget) {
            x = y;
            for (int i = 0; i < r; ++i) y = (y * y + c) % n;
            for (int k = 0; k < r && g == 1 && steps < budget; k += batch) {
                ys = y;
                for (int i = 0; i < std::min(batch, r - k); ++i) {
                    y = (y * y + c) % n;
                    q = q * abs(x - y) % n;
                    ++steps;
                }
                g = gcd(q, n);
            }
            r *= 2;
        }
        if (g == n) {  // the batch overshot: step back one at a time
            g = 1;
            for (int i = 0; i < 2 * batch && g == 1; ++i) {
                ys = (ys * ys + c) % n;
                g = gcd(abs(x - ys), n);
            }
        }
        if (g != 1 && g != n) {
            factor = g;
            return true;
        }
    }
    return false;
}

bool factor_integer(Integer n, int budget, std::vector<PrimePower>& factors) {
    factors.clear();
    if (n < 1) return false;
    for (unsigned p : small_primes()) {
        if (n % p != 0) continue;
        int e = 0;
        while (n % p == 0) {
            n /= p;
            ++e;
        }
        factors.emplace_back(Integer(p), e);
    }
    if (!split(n, budget, factors, 0)) return false;
    std::sort(factors.begin(), factors.end());
    return true;
}

bool sqrt_mod_prime(const Integer& a_in, const Integer& p, Integer& root) {
    const Integer a = mod(a_in, p);
    if (a == 0) {
        root = 0;
        return true;
    }
    const Integer half = (p - 1) / 2;
    if (powm(a, half, p) != 1) return false;
    if (p % 4 == 3) {
        root = powm(a, (p + 1) / 4, p);
        return true;
    }
    // p − 1 = q 2^s with q odd; z is the least quadratic non-residue (found within a few tries
    // for any prime; the bound only guards against a composite p).
    const unsigned s = lsb(Integer(p - 1));
    const Integer q = (p - 1) >> s;
    Integer z = 2;
    for (int tries = 0; powm(z, half, p) != p - 1; ++tries, ++z)
        if (tries > 10000) return false;
    Integer m = s, c = powm(z, q, p), t = powm(a, q, p), r = powm(a, (q + 1) / 2, p);
    for (unsigned guard = 0; t != 1; ++guard) {
        if (guard > 4 * s + 8) return false;
        Integer i = 0, t2 = t;
        while (t2 != 1) {
            t2 = t2 * t2 % p;
            ++i;
            if (i == m) return false;  // p was not prime
        }
        Integer b = c;
        for (Integer j = 0; j < m - i - 1; ++j) b = b * b % p;
        m = i;
        c = b * b % p;
        t = t * c % p;
        r = r * b % p;
    }
    root = r;
    return true;
}

}  // namespace grid
