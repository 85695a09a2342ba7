// Primality, factoring and modular square roots against a sieve and brute force.

#include "FaultTolerant/grid/prime_factoring.h"

#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

std::vector<bool> sieve(int n) {
    std::vector<bool> prime(n + 1, true);
    prime[0] = prime[1] = false;
    for (int i = 2; i * i <= n; ++i)
        if (prime[i])
            for (int j = i * i; j <= n; j += i) prime[j] = false;
    return prime;
}

}  // namespace

TEST(PrimeFactoring, ProbablePrimesMatchTheSieve) {
    const auto prime = sieve(20000);
    for (int n = 0; n <= 20000; ++n) EXPECT_EQ(is_probable_prime(n), prime[n]) << n;
    // Strong pseudoprimes to several small bases and Carmichael numbers are composite.
    for (const char* n : {"3215031751", "2152302898747", "3474749660383", "341550071728321", "561",
                          "41041", "3825123056546413051"})
        EXPECT_FALSE(is_probable_prime(Integer(n))) << n;
    EXPECT_TRUE(is_probable_prime(Integer("170141183460469231731687303715884105727")));  // 2^127−1
}

TEST(PrimeFactoring, FactorisationsMultiplyBack) {
    const char* cases[] = {"1",
                           "2",
                           "360",
                           "1000003",
                           "999985999949",          // 999983 · 1000003
                           "18446744073709551617",  // 2^64 + 1 = 274177 · 67280421310721
                           "12345678901234567890"};
    for (const char* text : cases) {
        const Integer n(text);
        std::vector<PrimePower> factors;
        ASSERT_TRUE(factor_integer(n, 200000, factors)) << text;
        Integer product = 1;
        for (const auto& [p, e] : factors) {
            EXPECT_TRUE(is_probable_prime(p)) << text << ": " << p;
            for (int i = 0; i < e; ++i) product *= p;
        }
        EXPECT_EQ(product, n);
    }
}

TEST(PrimeFactoring, BudgetStopsHardCofactors) {
    // The product of two 40-bit primes needs far more than ten rho iterations.
    const Integer n = Integer("1099511627791") * Integer("1099511628401");
    std::vector<PrimePower> factors;
    EXPECT_FALSE(factor_integer(n, 10, factors));
}

TEST(PrimeFactoring, SquareRootsModuloSmallPrimes) {
    const auto prime = sieve(400);
    for (int p = 3; p <= 400; ++p) {
        if (!prime[p]) continue;
        std::vector<bool> square(p, false);
        for (int x = 0; x < p; ++x) square[(x * x) % p] = true;
        for (int a = 0; a < p; ++a) {
            Integer r;
            const bool found = sqrt_mod_prime(a, p, r);
            EXPECT_EQ(found, square[a]) << a << " mod " << p;
            if (found) {
                EXPECT_EQ(r * r % p, a) << a << " mod " << p;
            }
        }
    }
    Integer r;
    ASSERT_TRUE(sqrt_mod_prime(-1, Integer("1000000000000000000000000000057"), r));
    EXPECT_EQ((r * r + 1) % Integer("1000000000000000000000000000057"), 0);
}
