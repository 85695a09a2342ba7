// Exact Clifford+T unitaries.

#include "FaultTolerant/grid/exact_unitary.h"

#include <algorithm>
#include <sstream>

namespace grid {

namespace {

const ZOmega kZero{0, 0, 0, 0};
const ZOmega kOne{1, 0, 0, 0};

ExactUnitary diagonal(const ZOmega& a, const ZOmega& b) {
    ExactUnitary u;
    u.m[0][0] = a;
    u.m[0][1] = kZero;
    u.m[1][0] = kZero;
    u.m[1][1] = b;
    u.k = 0;
    return u;
}

bool all_divisible(const ExactUnitary& u) {
    for (const auto& row : u.m)
        for (const ZOmega& x : row)
            if (!zomega_divisible_by_root2(x)) return false;
    return true;
}

}  // namespace

ExactUnitary ExactUnitary::identity() {
    return diagonal(kOne, kOne);
}

void ExactUnitary::reduce() {
    bool zero = true;
    for (const auto& row : m)
        for (const ZOmega& x : row) zero = zero && x.is_zero();
    if (zero) return;
    while (all_divisible(*this)) {
        for (auto& row : m)
            for (ZOmega& x : row) x = zomega_div_root2(x);
        --k;
    }
}

ExactUnitary ExactUnitary::adjoint() const {
    ExactUnitary a;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) a.m[r][c] = m[c][r].conj();
    a.k = k;
    return a;
}

bool ExactUnitary::is_unitary() const {
    if (k < 0) return false;
    const ExactUnitary p = adjoint() * *this;
    // The product is reduced; a unitary reduces to the identity with k = 0.
    return p.k == 0 && p.m[0][0] == kOne && p.m[1][1] == kOne && p.m[0][1].is_zero() &&
           p.m[1][0].is_zero();
}

ExactUnitary operator*(const ExactUnitary& a, const ExactUnitary& b) {
    ExactUnitary p;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) p.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c];
    p.k = a.k + b.k;
    p.reduce();
    return p;
}

bool exact_letter(char letter, ExactUnitary& u) {
    switch (letter) {
        case 'I':
            u = ExactUnitary::identity();
            return true;
        case 'H':
            u.m[0][0] = kOne;
            u.m[0][1] = kOne;
            u.m[1][0] = kOne;
            u.m[1][1] = -kOne;
            u.k = 1;
            return true;
        case 'T':
            u = diagonal(kOne, ZOmega{0, 1, 0, 0});
            return true;
        case 't':
            u = diagonal(kOne, ZOmega{0, 0, 0, -1});  // ω⁻¹ = −ω³
            return true;
        case 'S':
            u = diagonal(kOne, ZOmega{0, 0, 1, 0});
            return true;
        case 's':
            u = diagonal(kOne, ZOmega{0, 0, -1, 0});
            return true;
        case 'Z':
            u = diagonal(kOne, -kOne);
            return true;
        case 'X':
            u = diagonal(kZero, kZero);
            u.m[0][1] = kOne;
            u.m[1][0] = kOne;
            return true;
        default:
            return false;
    }
}

bool exact_from_letters(const std::string& letters, ExactUnitary& u) {
    u = ExactUnitary::identity();
    // Right multiplication by each letter acts on the columns: the diagonal letters turn the
    // second column by a power of ω, X swaps the columns, H takes their sum and difference.
    for (char c : letters) {
        int turn = -1;
        switch (c) {
            case '(':
            case ')':
            case 'I':
                continue;
            case 'T':
                turn = 1;
                break;
            case 'S':
                turn = 2;
                break;
            case 'Z':
                turn = 4;
                break;
            case 's':
                turn = 6;
                break;
            case 't':
                turn = 7;
                break;
            case 'X':
                for (auto& row : u.m) std::swap(row[0], row[1]);
                continue;
            case 'H':
                for (auto& row : u.m) {
                    ZOmega sum = row[0] + row[1];
                    row[1] = row[0] - row[1];
                    row[0] = std::move(sum);
                }
                ++u.k;
                u.reduce();
                continue;
            default:
                return false;
        }
        for (auto& row : u.m) row[1] = zomega_times_omega_power(row[1], turn);
    }
    return true;
}

bool operator<(const PhaseKey& a, const PhaseKey& b) {
    if (a.k != b.k) return a.k < b.k;
    return a.c < b.c;
}

bool operator==(const PhaseKey& a, const PhaseKey& b) {
    return a.k == b.k && a.c == b.c;
}

PhaseKey exact_phase_key(const ExactUnitary& u_in) {
    ExactUnitary u = u_in;
    u.reduce();
    const ZOmega* first = nullptr;
    for (const auto& row : u.m)
        for (const ZOmega& x : row)
            if (first == nullptr && !x.is_zero()) first = &x;
    int best_j = 0;
    if (first != nullptr) {
        ZOmega best = *first;
        for (int j = 1; j < 8; ++j) {
            ZOmega turned = zomega_times_omega_power(*first, j);
            if (std::lexicographical_compare(turned.c, turned.c + 4, best.c, best.c + 4)) {
                best = std::move(turned);
                best_j = j;
            }
        }
    }
    PhaseKey key;
    key.k = u.k;
    int i = 0;
    for (const auto& row : u.m)
        for (const ZOmega& x : row) {
            const ZOmega turned = zomega_times_omega_power(x, best_j);
            for (const Integer& c : turned.c) key.c[i++] = c;
        }
    return key;
}

bool exact_equal_up_to_phase(const ExactUnitary& a, const ExactUnitary& b) {
    return exact_phase_key(a) == exact_phase_key(b);
}

int exact_sde_top_left(const ExactUnitary& u) {
    const ZRoot2 n = u.m[0][0].norm_sq();
    if (n.is_zero()) return 0;
    return std::max(0, 2 * u.k - zroot2_root2_valuation(n));
}

int t_count(const std::string& letters) {
    return static_cast<int>(
        std::count_if(letters.begin(), letters.end(), [](char c) { return c == 'T' || c == 't'; }));
}

}  // namespace grid
