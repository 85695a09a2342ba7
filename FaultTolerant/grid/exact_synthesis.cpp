// Exact synthesis of Clifford+T unitaries.

#include "FaultTolerant/grid/exact_synthesis.h"

#include <map>
#include <vector>

namespace grid {

namespace {

constexpr int kTableTCount = 1;
// Unitaries of the table have a small exponent; only those are looked up.
constexpr int kTableMaxSde = 2 * kTableTCount + 2;

/// Shortest strings (fewest T, then fewest letters) of every unitary with at most
/// kTableTCount T gates, keyed up to a power of ω. Built once, never changed.
const std::map<PhaseKey, std::string>& small_unitaries() {
    static const std::map<PhaseKey, std::string> table = [] {
        std::map<PhaseKey, std::string> t;
        // The 24 Cliffords by breadth-first search over the Clifford letters.
        std::vector<std::pair<std::string, ExactUnitary>> cliffords{{"", ExactUnitary::identity()}};
        t[exact_phase_key(ExactUnitary::identity())] = "";
        for (size_t i = 0; i < cliffords.size(); ++i) {
            for (char c : std::string("HSsXZ")) {
                ExactUnitary g;
                exact_letter(c, g);
                const ExactUnitary p = cliffords[i].second * g;
                const PhaseKey key = exact_phase_key(p);
                if (t.count(key)) continue;
                t[key] = cliffords[i].first + c;
                cliffords.emplace_back(cliffords[i].first + c, p);
            }
        }
        ExactUnitary tgate;
        exact_letter('T', tgate);
        std::vector<std::pair<std::string, ExactUnitary>> layer = cliffords;
        for (int n = 1; n <= kTableTCount; ++n) {
            std::vector<std::pair<std::string, ExactUnitary>> next;
            for (const auto& [word, w] : layer) {
                const ExactUnitary wt = w * tgate;
                for (const auto& [cword, c] : cliffords) {
                    const ExactUnitary p = wt * c;
                    const PhaseKey key = exact_phase_key(p);
                    if (t.count(key)) continue;
                    t[key] = word + "T" + cword;
                    next.emplace_back(word + "T" + cword, p);
                }
            }
            layer = std::move(next);
        }
        return t;
    }();
    return table;
}

/// H T^{-j} u: row 1 times ω^{-j}, then the rows' sum and difference over √2. With
/// `columns` 1 only the first column is formed (enough to choose j: a unitary's columns share
/// their denominator).
ExactUnitary peel(const ExactUnitary& u, int j, int columns = 2) {
    ExactUnitary r;
    for (int c = 0; c < 2; ++c) r.m[0][c] = r.m[1][c] = ZOmega{0, 0, 0, 0};
    for (int c = 0; c < columns; ++c) {
        const ZOmega low = zomega_times_omega_power(u.m[1][c], -j);
        r.m[0][c] = u.m[0][c] + low;
        r.m[1][c] = u.m[0][c] - low;
    }
    r.k = u.k + 1;
    r.reduce();
    return r;
}

const char* const kTPower[] = {"", "T", "S", "ST"};

}  // namespace

bool exact_synthesis(const ExactUnitary& u_in, std::string& letters) {
    letters.clear();
    ExactUnitary u = u_in;
    u.reduce();
    if (!u.is_unitary()) return false;
    const auto& table = small_unitaries();
    // Every step lowers the exponent by one, so 2k + 2 steps bound the walk.
    for (int step = 0, bound = 2 * u.k + 2; step <= bound; ++step) {
        const int s = exact_sde_top_left(u);
        if (s <= kTableMaxSde) {
            const auto hit = table.find(exact_phase_key(u));
            if (hit != table.end()) {
                letters += hit->second;
                return true;
            }
        }
        int best_j = -1, best_s = s;
        for (int j = 0; j < 4; ++j) {
            const int ns = exact_sde_top_left(peel(u, j, 1));
            if (ns < best_s) {
                best_s = ns;
                best_j = j;
            }
        }
        if (best_j < 0) return false;
        // u = T^j H (H T^{-j} u).
        letters += kTPower[best_j];
        letters += 'H';
        u = peel(u, best_j);
    }
    return false;
}

}  // namespace grid
