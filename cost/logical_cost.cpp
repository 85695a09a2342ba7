#include "cost/logical_cost.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>

#include "circuit/fatal.h"

namespace {

// ---- Helpers ---------------------------------------------------------------------------------

double max(double a, double b) {
    return std::max(a, b);
}
double max(double a, double b, double c) {
    return std::max({a, b, c});
}
double max(double a, double b, double c, double d) {
    return std::max({a, b, c, d});
}
double max(double a, double b, double c, double d, double e) {
    return std::max({a, b, c, d, e});
}

/// Memo keys of the operations.
enum Op {
    kFTEC,
    kFTED,
    kP0,
    kPp,
    kPcat,
    kMz,
    kMx,
    kH,
    kRz,
    kRx,
    kRy,
    kH2CNOT,
    kH2CZ,
    kH2Geo,
    kV2CNOT,
    kV2CZ,
    kV2Geo,
    kHSWAP,
    kVSWAP,
    kDecoder,
    kInjection,
    kTwirlT,
    kTwirlI,
    kDistillT,
    kDistillS
};

/// Column of a machine in the level-0 tables: QD 0 ... NP 5; any other machine 6.
int column(PMD_type pmd) {
    return (pmd >= QD && pmd <= NP) ? static_cast<int>(pmd) : 6;
}

using Row = double[7];  // QD SC IT NA LP NP other

// Level-0 operation counts.       QD   SC   IT   NA   LP   NP  other
constexpr Row kOpsCNOT0 = {5, 3, 5, 3, 1, 1, 0};    // hCNOT, vCNOT
constexpr Row kOpsSWAP0 = {13, 4, 11, 9, 1, 3, 0};  // hSWAP, vSWAP
constexpr Row kOpsGeo0 = {9, 3, 1, 5, 3, 3, 0};     // hGeo, vGeo
constexpr Row kOpsCZ0 = {1, 1, 3, 1, 1, 3, 0};      // hCZ, vCZ
constexpr Row kOpsP00 = {2, 1, 1, 1, 1, 1, 1};
constexpr Row kOpsPp0 = {5, 3, 3, 3, 2, 2, 2};
constexpr Row kOpsMz0 = {1, 1, 1, 1, 1, 1, 1};
constexpr Row kOpsMx0 = {4, 3, 3, 3, 2, 2, 1};
constexpr Row kOpsH0 = {3, 2, 2, 2, 1, 1, 2};
constexpr Row kOpsRz0 = {1, 1, 1, 2, 1, 1, 1};  // angle != 0
constexpr Row kOpsRx0 = {1, 1, 1, 1, 1, 1, 1};  // angle != 0
constexpr Row kOpsRy0 = {3, 1, 1, 1, 1, 1, 1};  // angle != 0

// Level-0 cycle counts.           QD   SC   IT   NA   LP   NP  other
constexpr Row kCycCNOT0 = {25, 22, 1, 1, 10, 12, 0};  // hCNOT, vCNOT
constexpr Row kCycSWAP0 = {51, 17, 1, 1, 10, 36, 0};  // hSWAP, vSWAP
constexpr Row kCycHGeo0 = {40, 11, 1, 1, 10, 12, 0};
constexpr Row kCycVGeo0 = {40, 11, 1, 1, 21, 25, 0};
constexpr Row kCycCZ0 = {3, 10, 1, 1, 10, 14, 0};  // hCZ, vCZ
constexpr Row kCycP00 = {101, 100, 1, 1, 1, 10, 1};
constexpr Row kCycPp0 = {113, 107, 1, 1, 1, 10, 1};
constexpr Row kCycMz0 = {100, 10, 1, 1, 1, 50, 1};
constexpr Row kCycMx0 = {112, 17, 1, 1, 1, 51, 1};
constexpr Row kCycH0 = {12, 7, 1, 1, 1, 1, 1};

// Angle classes (π/4 units, exact values only).
bool odd_angle(double a) {
    return a == 1.0 || a == 3.0 || a == 5.0 || a == 7.0;
}
bool half_angle(double a) {
    return a == 2.0 || a == 6.0;
}

const Row& ops_pair0(LogicalOps::Pair kind) {
    switch (kind) {
        case LogicalOps::Pair::CNOT:
            return kOpsCNOT0;
        case LogicalOps::Pair::CZ:
            return kOpsCZ0;
        default:
            return kOpsGeo0;
    }
}

int pair_op(LogicalOps::Pair kind, bool horizontal) {
    switch (kind) {
        case LogicalOps::Pair::CNOT:
            return horizontal ? kH2CNOT : kV2CNOT;
        case LogicalOps::Pair::CZ:
            return horizontal ? kH2CZ : kV2CZ;
        default:
            return horizontal ? kH2Geo : kV2Geo;
    }
}

bool known_code(int c) {
    return c >= 0 && c <= 3;
}

}  // namespace

// ---- Memo ------------------------------------------------------------------------------------

namespace {
// NOTE: the recursion depth is the level; callers refuse levels above the bound before pricing.
void check_level(int level, const char* file, int line) {
    if (level > kMaxLogicalLevel)
        fatal_error(std::string(file) + ":" + std::to_string(line) + ": logical level " +
                    std::to_string(level) + " is above " + std::to_string(kMaxLogicalLevel));
}
}  // namespace

template <typename F>
double LogicalOps::memo(int op, int l, int c, double angle, F&& compute) {
    check_level(l, __FILE__, __LINE__);
    if (std::isnan(angle)) return compute();
    const auto key = std::make_tuple(op, l, c, angle);
    auto it = values_.find(key);
    if (it != values_.end()) return it->second;
    const double value = compute();
    values_.emplace(key, value);
    return value;
}

template <typename F>
double LogicalCycles::memo(int op, int l, int c, double angle, F&& compute) {
    check_level(l, __FILE__, __LINE__);
    if (std::isnan(angle)) return compute();
    const auto key = std::make_tuple(op, l, c, angle);
    auto it = values_.find(key);
    if (it != values_.end()) return it->second;
    const double value = compute();
    values_.emplace(key, value);
    return value;
}

// =============================================================================================
// Operation counts. Level l >= 1; k = l - 1. "[...](k, d)": every term at level k, code d.
// =============================================================================================

double LogicalOps::FTEC(int l, int c) {
    if (l <= 0 || !known_code(c)) return 0.0;
    return memo(kFTEC, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:  // [14 hCNOT + 28 vCNOT + 7 H + 18 hSWAP + 15 vSWAP + 8 Pp + 12 P0 + 20
                     // Mx](k,0)
                return 14 * hCNOT(k, 0) + 28 * vCNOT(k, 0) + 7 * H(k, 0) + 18 * hSWAP(k, 0) +
                       15 * vSWAP(k, 0) + 8 * Pp(k, 0) + 12 * P0(k, 0) + 20 * Mx(k, 0);
            case 1:  // [9 Pp + 9 P0 + 29 hCNOT + 9 Mx + 9 Mz + 12 hSWAP](k,1) + Rx(k,1,4) +
                     // Rz(k,1,4)
                return 9 * Pp(k, 1) + 9 * P0(k, 1) + 29 * hCNOT(k, 1) + 9 * Mx(k, 1) +
                       9 * Mz(k, 1) + 12 * hSWAP(k, 1) + Rx(k, 1, 4) + Rz(k, 1, 4);
            case 2:
                return 0.0;
            default:  // Pp(l,3) + P0(l,3) + [14 vCNOT + 7 Mz + 7 Mx + 14 vSWAP](k,2)
                      //   + 7 Rx(k,2,4) + 7 Rz(k,2,4)
                return Pp(l, 3) + P0(l, 3) + 14 * vCNOT(k, 2) + 7 * Mz(k, 2) + 7 * Mx(k, 2) +
                       14 * vSWAP(k, 2) + 7 * Rx(k, 2, 4) + 7 * Rz(k, 2, 4);
        }
    });
}

double LogicalOps::FTED(int l, int c) {
    if (l <= 0 || c != 2) return 0.0;
    return memo(kFTED, l, c, 0.0, [&]() -> double {
        const int k =
            l - 1;  // [4 P0 + 4 Pp + 6 vCNOT + 6 hCNOT + 4 Mz + 4 Mx + 4 vSWAP + 4 hSWAP](k,2)
        return 4 * P0(k, 2) + 4 * Pp(k, 2) + 6 * vCNOT(k, 2) + 6 * hCNOT(k, 2) + 4 * Mz(k, 2) +
               4 * Mx(k, 2) + 4 * vSWAP(k, 2) + 4 * hSWAP(k, 2);
    });
}

double LogicalOps::P0(int l, int c) {
    if (l <= 0) return kOpsP00[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kP0, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:  // [7 hCNOT + 7 vCNOT + 20 hSWAP + 4 Pp + 6 P0 + 3 Mx](k,0) + FTEC(l,0)
                return 7 * hCNOT(k, 0) + 7 * vCNOT(k, 0) + 20 * hSWAP(k, 0) + 4 * Pp(k, 0) +
                       6 * P0(k, 0) + 3 * Mx(k, 0) + FTEC(l, 0);
            case 1:  // [24 Pp + 12 P0 + 51 hCNOT](k,1) + FTEC(l,1)
                return 24 * Pp(k, 1) + 12 * P0(k, 1) + 51 * hCNOT(k, 1) + FTEC(l, 1);
            case 2:  // [2 P0 + 2 Pp + 2 hCNOT + 4 hSWAP](k,2) + FTED(l,2)
                return 2 * P0(k, 2) + 2 * Pp(k, 2) + 2 * hCNOT(k, 2) + 4 * hSWAP(k, 2) + FTED(l, 2);
            default:  // [3 P0 + 4 Pp + 4 hCNOT + 5 vCNOT + 9 hSWAP + 13 vSWAP](k,2)
                return 3 * P0(k, 2) + 4 * Pp(k, 2) + 4 * hCNOT(k, 2) + 5 * vCNOT(k, 2) +
                       9 * hSWAP(k, 2) + 13 * vSWAP(k, 2);
        }
    });
}

double LogicalOps::Pp(int l, int c) {
    if (l <= 0) return kOpsPp0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kPp, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:  // [7 hCNOT + 7 vCNOT + 7 H + 20 hSWAP + 4 Pp + 6 P0 + 3 Mx](k,0) + FTEC(l,0)
                return 7 * hCNOT(k, 0) + 7 * vCNOT(k, 0) + 7 * H(k, 0) + 20 * hSWAP(k, 0) +
                       4 * Pp(k, 0) + 6 * P0(k, 0) + 3 * Mx(k, 0) + FTEC(l, 0);
            case 1:  // [24 P0 + 12 Pp + 51 hCNOT](k,1) + FTEC(l,1)
                return 24 * P0(k, 1) + 12 * Pp(k, 1) + 51 * hCNOT(k, 1) + FTEC(l, 1);
            case 2:  // [2 P0 + 2 Pp + 2 vCNOT + 4 vSWAP](k,2) + FTED(l,2)
                return 2 * P0(k, 2) + 2 * Pp(k, 2) + 2 * vCNOT(k, 2) + 4 * vSWAP(k, 2) + FTED(l, 2);
            default:  // [4 P0 + 3 Pp + 4 hCNOT + 5 vCNOT + 9 hSWAP + 13 vSWAP](k,2)
                return 4 * P0(k, 2) + 3 * Pp(k, 2) + 4 * hCNOT(k, 2) + 5 * vCNOT(k, 2) +
                       9 * hSWAP(k, 2) + 13 * vSWAP(k, 2);
        }
    });
}

double LogicalOps::Pcat(int l, int c) {
    if (l <= 0 || !known_code(c)) return 0.0;
    return memo(kPcat, l, c, 0.0, [&]() -> double {
        const int k = l - 1;  // [6 hCNOT + 2 vCNOT + 17 hSWAP + Pp + 7 P0 + Mz](k,c) + FTEC(l,c)
        return 6 * hCNOT(k, c) + 2 * vCNOT(k, c) + 17 * hSWAP(k, c) + Pp(k, c) + 7 * P0(k, c) +
               Mz(k, c) + FTEC(l, c);
    });
}

double LogicalOps::Mz(int l, int c) {
    if (l <= 0) return kOpsMz0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kMz, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 7 * Mz(k, 0) + FTEC(l, 0);
            case 1:
                return 9 * Mz(k, 1) + FTEC(l, 1);
            case 2:
                return 4 * Mz(k, 2) + FTED(l, 2);
            default:
                return 7 * Mz(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalOps::Mx(int l, int c) {
    if (l <= 0) return kOpsMx0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kMx, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 7 * Mx(k, 0) + FTEC(l, 0);
            case 1:
                return 9 * Mx(k, 1) + FTEC(l, 1);
            case 2:
                return 4 * Mx(k, 2) + FTED(l, 2);
            default:
                return 7 * Mx(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalOps::H(int l, int c) {
    if (l <= 0) return kOpsH0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kH, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 7 * H(k, 0) + FTEC(l, 0);
            case 1:
                return 9 * H(k, 1) + 40 * hSWAP(k, 1) + FTEC(l, 1);
            case 2:
                return 4 * H(k, 2) + FTED(l, 2);
            default:
                return 7 * H(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalOps::hSWAP(int l, int c) {
    if (l <= 0) return kOpsSWAP0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kHSWAP, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 56 * hSWAP(k, 0) + 2 * FTEC(l, 0);
            case 1:
                return 144 * hSWAP(k, 1) + FTEC(l, 1);
            case 2:
                return 20 * hSWAP(k, 2) + FTED(l, 2);
            default:
                return 112 * hSWAP(k, 2) + 14 * vSWAP(k, 2) + 2 * FTEC(l, 3);
        }
    });
}

double LogicalOps::vSWAP(int l, int c) {
    if (l <= 0) return kOpsSWAP0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kVSWAP, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 42 * vSWAP(k, 0) + 2 * FTEC(l, 0);
            case 1:
                return hSWAP(l, 1);
            case 2:
                return 20 * vSWAP(k, 2) + FTED(l, 2);
            default:
                return 84 * vSWAP(k, 2) + 14 * hSWAP(k, 2) + 2 * FTEC(l, 3);
        }
    });
}

// hCNOT, hCZ and hGeo share one row; vCNOT, vCZ and vGeo another (X = the pair's own kind).
double LogicalOps::h2(Pair kind, int l, int c) {
    if (l <= 0) return ops_pair0(kind)[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(pair_op(kind, true), l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:  // [7 vX + 112 hSWAP + 14 vSWAP](k,0) + 2 FTEC(l,0)
                return 7 * v2(kind, k, 0) + 112 * hSWAP(k, 0) + 14 * vSWAP(k, 0) + 2 * FTEC(l, 0);
            case 1:  // [9 hX + 144 hSWAP](k,1) + FTEC(l,1)
                return 9 * h2(kind, k, 1) + 144 * hSWAP(k, 1) + FTEC(l, 1);
            case 2:  // [4 hX + 8 hSWAP + 40 vSWAP](k,2) + 2 FTED(l,2)
                return 4 * h2(kind, k, 2) + 8 * hSWAP(k, 2) + 40 * vSWAP(k, 2) + 2 * FTED(l, 2);
            default:  // [7 vX + 112 hSWAP + 14 vSWAP](k,2) + 2 FTEC(l,3)
                return 7 * v2(kind, k, 2) + 112 * hSWAP(k, 2) + 14 * vSWAP(k, 2) + 2 * FTEC(l, 3);
        }
    });
}

double LogicalOps::v2(Pair kind, int l, int c) {
    if (l <= 0) return ops_pair0(kind)[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(pair_op(kind, false), l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:  // [7 vX + 12 hSWAP + 70 vSWAP](k,0) + 2 FTEC(l,0)
                return 7 * v2(kind, k, 0) + 12 * hSWAP(k, 0) + 70 * vSWAP(k, 0) + 2 * FTEC(l, 0);
            case 1:
                return h2(kind, l, 1);  // hX(l,1)
            case 2:                     // [4 vX + 8 vSWAP + 40 hSWAP](k,2) + 2 FTED(l,2)
                return 4 * v2(kind, k, 2) + 8 * vSWAP(k, 2) + 40 * hSWAP(k, 2) + 2 * FTED(l, 2);
            default:  // [7 vX + 12 hSWAP + 70 vSWAP](k,2) + 2 FTEC(l,3)
                return 7 * v2(kind, k, 2) + 12 * hSWAP(k, 2) + 70 * vSWAP(k, 2) + 2 * FTEC(l, 3);
        }
    });
}

double LogicalOps::hCNOT(int l, int c) {
    return h2(Pair::CNOT, l, c);
}
double LogicalOps::vCNOT(int l, int c) {
    return v2(Pair::CNOT, l, c);
}
double LogicalOps::hCZ(int l, int c) {
    return h2(Pair::CZ, l, c);
}
double LogicalOps::vCZ(int l, int c) {
    return v2(Pair::CZ, l, c);
}
double LogicalOps::hGeo(int l, int c) {
    return h2(Pair::Geo, l, c);
}
double LogicalOps::vGeo(int l, int c) {
    return v2(Pair::Geo, l, c);
}

// ---- Magic states (code 1) --------------------------------------------------------------------

double LogicalOps::decoder(int l) {
    if (l < 1) return 0.0;
    return memo(kDecoder, l, 1, 0.0, [&]() -> double {
        const int k = l - 1;  // l x [8 hCNOT + 2 Mz + 6 Mx](k,1)
        return l * (8 * hCNOT(k, 1) + 2 * Mz(k, 1) + 6 * Mx(k, 1));
    });
}

double LogicalOps::injection(int l) {
    return memo(kInjection, std::max(l, 0), 1, 0.0, [&]() -> double {
        return Pp(l, 1) + P0(l, 1) + Rz(0, 1, 2) + hCNOT(l, 1) + decoder(l) + Mz(0, 1) + Mx(0, 1) +
               Rx(l, 1, 4) + Rz(l, 1, 4);
    });
}

double LogicalOps::twirl_T(int l) {
    return memo(kTwirlT, std::max(l, 0), 1, 0.0,
                [&]() -> double { return Mz(0, 1) + Rz(l, 1, 2) + Rx(l, 1, 4); });
}

double LogicalOps::twirl_i(int l) {
    return memo(kTwirlI, std::max(l, 0), 1, 0.0,
                [&]() -> double { return Mz(0, 1) + Ry(l, 1, 4); });
}

double LogicalOps::distillInjectionT(int l) {
    return memo(kDistillT, std::max(l, 0), 1, 0.0, [&]() -> double {
        return 2 * injection(l) + 15 * twirl_T(l) + 32 * hCNOT(l, 1) + 14 * Mx(l, 1);
    });
}

double LogicalOps::distillInjectionS(int l) {
    return memo(kDistillS, std::max(l, 0), 1, 0.0, [&]() -> double {
        return 2 * injection(l) + 2 * twirl_i(l) + hCZ(l, 1) + hCNOT(l, 1) + Mx(l, 1);
    });
}

// ---- Rotations (angle θ in π/4; θ = 0 costs 0 at every level) ---------------------------------

double LogicalOps::Rz(int l, int c, double a) {
    if (a == 0.0) return 0.0;
    if (l <= 0) return kOpsRz0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kRz, l, c, a, [&]() -> double {
        const int k = l - 1;
        if (odd_angle(a) || half_angle(a)) {
            switch (c) {
                case 0:  // P0(l,0) + 28 Rz(k,0,θ) + 2 Pcat(l,0) + 14 vCNOT(k,0) + hCNOT(k,0)
                         //   + 14 Mx(l,0) + Mz(l,0) + FTEC(l,0)
                    return P0(l, 0) + 28 * Rz(k, 0, a) + 2 * Pcat(l, 0) + 14 * vCNOT(k, 0) +
                           hCNOT(k, 0) + 14 * Mx(l, 0) + Mz(l, 0) + FTEC(l, 0);
                case 1:
                    if (odd_angle(a))  // distillInjectionT(l) + hCNOT(l,1) + Mz(l,1) + Rz(l,1,2)
                        return distillInjectionT(l) + hCNOT(l, 1) + Mz(l, 1) + Rz(l, 1, 2);
                    // distillInjectionS(l) + hCNOT(l,1) + hCZ(l,1)
                    return distillInjectionS(l) + hCNOT(l, 1) + hCZ(l, 1);
                case 2:
                    if (odd_angle(a))  // [4 hCNOT + 20 vSWAP + 8 hSWAP](k,2) + Mz(l,2) + Rz(l,2,2)
                        return 4 * hCNOT(k, 2) + 20 * vSWAP(k, 2) + 8 * hSWAP(k, 2) + Mz(l, 2) +
                               Rz(l, 2, 2);
                    // 2 H(l,2) + [8 hCNOT + 20 vSWAP + 4 hSWAP](k,2)
                    return 2 * H(l, 2) + 8 * hCNOT(k, 2) + 20 * vSWAP(k, 2) + 4 * hSWAP(k, 2);
                default:  // P0(l,3) + 28 Rz(k,2,θ) + 2 Pcat(l,3) + 14 vCNOT(k,2) + 7 hCNOT(k,2)
                          //   + 2 Mx(l,3) + Mz(l,3) + FTEC(l,3)
                    return P0(l, 3) + 28 * Rz(k, 2, a) + 2 * Pcat(l, 3) + 14 * vCNOT(k, 2) +
                           7 * hCNOT(k, 2) + 2 * Mx(l, 3) + Mz(l, 3) + FTEC(l, 3);
            }
        }
        if (a == 4.0) {
            switch (c) {
                case 0:
                    return 7 * Rz(k, 0, 4) + FTEC(l, 0);
                case 1:
                    return 3 * Rz(k, 1, 4) + FTEC(l, 1);
                case 2:
                    return 2 * Rz(k, 2, 4) + FTED(l, 2);
                default:
                    return 7 * Rz(k, 3, 4) + FTEC(l, 3);  // the lower level keeps code 3
            }
        }
        return 0.0;  // any other angle
    });
}

double LogicalOps::Rx(int l, int c, double a) {
    if (a == 0.0) return 0.0;
    if (l <= 0) return kOpsRx0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kRx, l, c, a, [&]() -> double {
        const int k = l - 1;
        if (odd_angle(a) || half_angle(a)) return H(l, c) + Rz(l, c, a) + H(l, c);
        if (a == 4.0) {
            switch (c) {
                case 0:
                    return 7 * Rx(k, 0, 4) + FTEC(l, 0);
                case 1:
                    return 3 * Rx(k, 1, 4) + FTEC(l, 1);
                case 2:
                    return 2 * Rx(k, 2, 4) + FTED(l, 2);
                default:
                    return 7 * Rx(k, 2, 4) + FTEC(l, 3);
            }
        }
        return 0.0;
    });
}

double LogicalOps::Ry(int l, int c, double a) {
    if (a == 0.0) return 0.0;
    if (l <= 0) return kOpsRy0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kRy, l, c, a, [&]() -> double {
        const int k = l - 1;
        // Rz(l,c,2) + H(l,c) + Rz(l,c,θ) + H(l,c) + Rz(l,c,6)
        if (odd_angle(a)) return Rz(l, c, 2) + H(l, c) + Rz(l, c, a) + H(l, c) + Rz(l, c, 6);
        if (half_angle(a)) return H(l, c) + Rz(l, c, 4);
        if (a == 4.0) {
            switch (c) {
                case 0:
                    return 7 * Ry(k, 0, 4) + FTEC(l, 0);
                case 1:
                    return 9 * Ry(k, 1, 4) + FTEC(l, 1);
                case 2:
                    return Rx(k, 2, 4) + Rz(k, 2, 4) + Ry(k, 2, 4) + FTED(l, 2);
                default:
                    return 7 * Ry(k, 2, 4) + FTEC(l, 3);
            }
        }
        return 0.0;
    });
}

// =============================================================================================
// Cycle counts. A step whose sub-operations run side by side lasts max(...) of them.
// =============================================================================================

double LogicalCycles::FTEC(int l, int c) {
    if (l <= 0 || !known_code(c)) return 0.0;
    return memo(kFTEC, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        if (c == 0 || c == 1) {
            // max(P0,Pp) + max(P0,Pp,hCNOT) + max(hCNOT,hSWAP) + max(hSWAP,hCNOT,Mx,Mz)
            //   + max(hCNOT,Mx,Mz) + max(Mz,Mx) + Mx, all at (k,c)
            const double p0 = P0(k, c), pp = Pp(k, c), cx = hCNOT(k, c), sw = hSWAP(k, c),
                         mx = Mx(k, c), mz = Mz(k, c);
            return max(p0, pp) + max(p0, pp, cx) + max(cx, sw) + max(sw, cx, mx, mz) +
                   max(cx, mx, mz) + max(mz, mx) + mx;
        }
        if (c == 2) return 0.0;
        // max(P0(l,3), Pp(l,3)) + [2 vCNOT + Mz + Mx + max(Mx,Mz) + 2 vSWAP](k,2)
        return max(P0(l, 3), Pp(l, 3)) + 2 * vCNOT(k, 2) + Mz(k, 2) + Mx(k, 2) +
               max(Mx(k, 2), Mz(k, 2)) + 2 * vSWAP(k, 2);
    });
}

double LogicalCycles::FTED(int l, int c) {
    if (l <= 0 || c != 2) return 0.0;
    return memo(kFTED, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        // [max(P0,Pp) + max(Mx,Mz) + max(vCNOT,hCNOT) + hCNOT + vCNOT + vSWAP + hSWAP](k,2)
        return max(P0(k, 2), Pp(k, 2)) + max(Mx(k, 2), Mz(k, 2)) + max(vCNOT(k, 2), hCNOT(k, 2)) +
               hCNOT(k, 2) + vCNOT(k, 2) + vSWAP(k, 2) + hSWAP(k, 2);
    });
}

double LogicalCycles::P0(int l, int c) {
    if (l <= 0) return kCycP00[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kP0, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0: {
                // max(P0,Pp,vSWAP) + max(P0,Pp,hCNOT,vCNOT) + max(hSWAP,vSWAP,vCNOT,P0)
                //   + max(hSWAP,hCNOT,vCNOT) + max(hCNOT,hSWAP) + max(hSWAP,vSWAP,hCNOT,Mx)
                //   + max(hSWAP,vSWAP,Mx), at (k,0); + FTEC(l,0)
                const double p0 = P0(k, 0), pp = Pp(k, 0), hs = hSWAP(k, 0), vs = vSWAP(k, 0),
                             hc = hCNOT(k, 0), vc = vCNOT(k, 0), mx = Mx(k, 0);
                return max(p0, pp, vs) + max(p0, pp, hc, vc) + max(hs, vs, vc, p0) +
                       max(hs, hc, vc) + max(hc, hs) + max(hs, vs, hc, mx) + max(hs, vs, mx) +
                       FTEC(l, 0);
            }
            case 1: {
                // max(Pp,P0) + max(hCNOT,P0) + max(hCNOT,Mz) + max(hSWAP,P0) + 2 hCNOT
                //   + 2 hSWAP + Mx, at (k,1); + FTEC(l,1)
                const double p0 = P0(k, 1), pp = Pp(k, 1), hc = hCNOT(k, 1), hs = hSWAP(k, 1);
                return max(pp, p0) + max(hc, p0) + max(hc, Mz(k, 1)) + max(hs, p0) + 2 * hc +
                       2 * hs + Mx(k, 1) + FTEC(l, 1);
            }
            case 2:  // [max(P0,Pp) + hCNOT](k,2)
                return max(P0(k, 2), Pp(k, 2)) + hCNOT(k, 2);
            default: {
                // max(P0,Pp) + max(vCNOT,hCNOT) + hCNOT + 2 max(vCNOT,hSWAP,vSWAP)
                //   + 3 max(vSWAP,hSWAP) + hSWAP, at (k,2)
                const double hc = hCNOT(k, 2), vc = vCNOT(k, 2), hs = hSWAP(k, 2), vs = vSWAP(k, 2);
                return max(P0(k, 2), Pp(k, 2)) + max(vc, hc) + hc + 2 * max(vc, hs, vs) +
                       3 * max(vs, hs) + hs;
            }
        }
    });
}

double LogicalCycles::Pp(int l, int c) {
    if (l <= 0) return kCycPp0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kPp, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0: {
                // as P0 code 0, but the second step is max(P0,Pp,hCNOT,vCNOT,H)
                const double p0 = P0(k, 0), pp = Pp(k, 0), hs = hSWAP(k, 0), vs = vSWAP(k, 0),
                             hc = hCNOT(k, 0), vc = vCNOT(k, 0), mx = Mx(k, 0);
                return max(p0, pp, vs) + max(p0, pp, hc, vc, H(k, 0)) + max(hs, vs, vc, p0) +
                       max(hs, hc, vc) + max(hc, hs) + max(hs, vs, hc, mx) + max(hs, vs, mx) +
                       FTEC(l, 0);
            }
            case 2:  // [max(P0,Pp) + vCNOT](k,2)
                return max(P0(k, 2), Pp(k, 2)) + vCNOT(k, 2);
            default:
                return P0(l, c);  // codes 1 and 3: as P0
        }
    });
}

double LogicalCycles::Pcat(int l, int c) {
    if (l <= 0 || !known_code(c)) return 0.0;
    return memo(kPcat, l, c, 0.0, [&]() -> double {
        // [max(P0,Pp) + 2 vCNOT + 3 hCNOT + vSWAP + hSWAP + 2 max(vSWAP,hSWAP)
        //   + max(Mz,hSWAP,vSWAP)](k,c) + FTEC(l,c)
        const int k = l - 1;
        const double hs = hSWAP(k, c), vs = vSWAP(k, c);
        return max(P0(k, c), Pp(k, c)) + 2 * vCNOT(k, c) + 3 * hCNOT(k, c) + vs + hs +
               2 * max(vs, hs) + max(Mz(k, c), hs, vs) + FTEC(l, c);
    });
}

double LogicalCycles::Mz(int l, int c) {
    if (l <= 0) return kCycMz0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kMz, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return FTEC(l, 0) - Mx(k, 0) + max(Mz(k, 0), Mx(k, 0));
            case 1:
                return Mz(k, 1) + FTEC(l, 1);
            case 2:
                return Mz(0, 2) + FTED(l, 2);
            default:
                return Mz(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalCycles::Mx(int l, int c) {
    if (l <= 0) return kCycMx0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kMx, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return FTEC(l, 0);  // the error-correction step itself
            case 1:
                return Mx(k, 1) + FTEC(l, 1);
            case 2:
                return Mx(0, 2) + FTED(l, 2);
            default:
                return Mx(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalCycles::H(int l, int c) {
    if (l <= 0) return kCycH0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kH, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return H(k, 0) + FTEC(l, 0);
            case 1:
                return H(k, 1) + 40 * hSWAP(k, 1) + 3 * FTEC(l, 1);
            case 2:
                return H(0, 2) + FTED(l, 2);
            default:
                return H(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalCycles::hSWAP(int l, int c) {
    if (l <= 0) return kCycSWAP0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kHSWAP, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 8 * hSWAP(k, 0) + FTEC(l, 0);
            case 1:
                return 8 * hSWAP(k, 1) + FTEC(l, 1);
            case 2:
                return 5 * hSWAP(k, 2) + FTED(l, 2);
            default:
                return 8 * hSWAP(k, 2) + 2 * vSWAP(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalCycles::vSWAP(int l, int c) {
    if (l <= 0) return kCycSWAP0[column(pmd_)];
    if (!known_code(c)) return 0.0;
    return memo(kVSWAP, l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        switch (c) {
            case 0:
                return 6 * vSWAP(k, 0) + FTEC(l, 0);
            case 1:
                return hSWAP(l, 1);
            case 2:
                return 5 * vSWAP(k, 2) + FTED(l, 2);
            default:
                return 6 * vSWAP(k, 2) + 2 * hSWAP(k, 2) + FTEC(l, 3);
        }
    });
}

double LogicalCycles::h2(Pair kind, int l, int c) {
    if (l <= 0) {
        if (kind == Pair::CNOT) return kCycCNOT0[column(pmd_)];
        return (kind == Pair::CZ ? kCycCZ0 : kCycHGeo0)[column(pmd_)];
    }
    if (!known_code(c)) return 0.0;
    return memo(pair_op(kind, true), l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        if (c == 1)  // hX(k,1) + 8 hSWAP(k,1) + FTEC(l,1)
            return h2(kind, k, 1) + 8 * hSWAP(k, 1) + FTEC(l, 1);
        if (c == 2)  // [vX + 4 hSWAP + 2 max(hSWAP,vSWAP)](k,2) + FTED(l,2)
            return v2(kind, k, 2) + 4 * hSWAP(k, 2) + 2 * max(hSWAP(k, 2), vSWAP(k, 2)) +
                   FTED(l, 2);
        // Codes 0 and 3, all at (k,d) with d = 0 or 2, no FTEC term:
        // 6 hSWAP + 3 vX + 2 Mx + max(vSWAP,hSWAP) + max(P0,Pp) + max(P0,Pp,hSWAP)
        //   + max(P0,Pp,hX,vX) + max(P0,Pp,hX,vX,hSWAP) + 2 max(hSWAP,vSWAP,vX,P0)
        //   + 2 max(hSWAP,hX,vX) + 2 max(hX,hSWAP) + 2 max(hSWAP,vSWAP,hX,Mx)
        //   + 2 max(hSWAP,vSWAP,Mx)
        const int d = (c == 0) ? 0 : 2;
        const double hs = hSWAP(k, d), vs = vSWAP(k, d), hx = h2(kind, k, d), vx = v2(kind, k, d),
                     p0 = P0(k, d), pp = Pp(k, d), mx = Mx(k, d);
        return 6 * hs + 3 * vx + 2 * mx + max(vs, hs) + max(p0, pp) + max(p0, pp, hs) +
               max(p0, pp, hx, vx) + max(p0, pp, hx, vx, hs) + 2 * max(hs, vs, vx, p0) +
               2 * max(hs, hx, vx) + 2 * max(hx, hs) + 2 * max(hs, vs, hx, mx) +
               2 * max(hs, vs, mx);
    });
}

double LogicalCycles::v2(Pair kind, int l, int c) {
    if (l <= 0) {
        if (kind == Pair::CNOT) return kCycCNOT0[column(pmd_)];
        return (kind == Pair::CZ ? kCycCZ0 : kCycVGeo0)[column(pmd_)];
    }
    if (!known_code(c)) return 0.0;
    return memo(pair_op(kind, false), l, c, 0.0, [&]() -> double {
        const int k = l - 1;
        if (c == 1) return h2(kind, l, 1);  // hX(l,1)
        if (c == 2)                         // [hX + 4 vSWAP + 2 max(hSWAP,vSWAP)](k,2) + FTED(l,2)
            return h2(kind, k, 2) + 4 * vSWAP(k, 2) + 2 * max(hSWAP(k, 2), vSWAP(k, 2)) +
                   FTED(l, 2);
        // Codes 0 and 3, all at (k,d) with d = 0 or 2, no FTEC term:
        // 4 vSWAP + 2 vX + 2 Mx + 2 max(vSWAP,vX) + max(hSWAP,vSWAP) + max(P0,Pp)
        //   + max(P0,Pp,hSWAP,vSWAP) + max(P0,Pp,hX,vX) + max(P0,Pp,hX,vX,hSWAP)
        //   + 2 max(hSWAP,vSWAP,vX,P0) + 2 max(hSWAP,hX,vX) + 2 max(hSWAP,hX)
        //   + 2 max(hSWAP,vSWAP,hX,Mx) + 2 max(hSWAP,vSWAP,Mx)
        const int d = (c == 0) ? 0 : 2;
        const double hs = hSWAP(k, d), vs = vSWAP(k, d), hx = h2(kind, k, d), vx = v2(kind, k, d),
                     p0 = P0(k, d), pp = Pp(k, d), mx = Mx(k, d);
        return 4 * vs + 2 * vx + 2 * mx + 2 * max(vs, vx) + max(hs, vs) + max(p0, pp) +
               max(p0, pp, hs, vs) + max(p0, pp, hx, vx) + max(p0, pp, hx, vx, hs) +
               2 * max(hs, vs, vx, p0) + 2 * max(hs, hx, vx) + 2 * max(hs, hx) +
               2 * max(hs, vs, hx, mx) + 2 * max(hs, vs, mx);
    });
}

double LogicalCycles::hCNOT(int l, int c) {
    return h2(Pair::CNOT, l, c);
}
double LogicalCycles::vCNOT(int l, int c) {
    return v2(Pair::CNOT, l, c);
}
double LogicalCycles::hCZ(int l, int c) {
    return h2(Pair::CZ, l, c);
}
double LogicalCycles::vCZ(int l, int c) {
    return v2(Pair::CZ, l, c);
}
double LogicalCycles::hGeo(int l, int c) {
    return h2(Pair::Geo, l, c);
}
double LogicalCycles::vGeo(int l, int c) {
    return v2(Pair::Geo, l, c);
}

double LogicalCycles::decoder(int l) {
    if (l < 1) return 0.0;
    return memo(kDecoder, l, 1, 0.0, [&]() -> double {
        const int k = l - 1;  // l x [3 hCNOT + max(Mx,Mz)](k,1)
        return l * (3 * hCNOT(k, 1) + max(Mx(k, 1), Mz(k, 1)));
    });
}

double LogicalCycles::injection(int l) {
    return memo(kInjection, std::max(l, 0), 1, 0.0, [&]() -> double {
        // max(P0(l,1), Pp(l,1), Rz(0,1,2)) + hCNOT(l,1) + decoder(l) + hCNOT(0,1)
        //   + max(Mx(0,1), Mz(0,1)) + Rx(l,1,4) + Rz(l,1,4)
        return max(P0(l, 1), Pp(l, 1), Rz(0, 1, 2)) + hCNOT(l, 1) + decoder(l) + hCNOT(0, 1) +
               max(Mx(0, 1), Mz(0, 1)) + Rx(l, 1, 4) + Rz(l, 1, 4);
    });
}

double LogicalCycles::twirl_T(int l) {
    return memo(kTwirlT, std::max(l, 0), 1, 0.0,
                [&]() -> double { return Mz(0, 1) + Rz(l, 1, 2) + Rx(l, 1, 4); });
}

double LogicalCycles::twirl_i(int l) {
    return memo(kTwirlI, std::max(l, 0), 1, 0.0,
                [&]() -> double { return Mz(0, 1) + Ry(l, 1, 4); });
}

double LogicalCycles::distillInjectionT(int l) {
    return memo(kDistillT, std::max(l, 0), 1, 0.0, [&]() -> double {
        return injection(l) + twirl_T(l) + 21 * hCNOT(l, 1) + Mx(l, 1);
    });
}

double LogicalCycles::distillInjectionS(int l) {
    return memo(kDistillS, std::max(l, 0), 1, 0.0, [&]() -> double {
        return injection(l) + twirl_i(l) + hCZ(l, 1) + hCNOT(l, 1) + Mx(l, 1);
    });
}

// Level-0 rotation cycles; axis 0 = Rz, 1 = Rx, 2 = Ry.
double LogicalCycles::rotation0(int axis, double angle) {
    const double a = normalised_turn(angle);
    if (a == 0.0) return 0.0;
    switch (pmd_) {
        case IT:
        case NA:
        case LP:
        case NP:
            return 1.0;
        case SC:
            if (a > 0 && a <= 1) return 5;
            if (a > 1 && a <= 2) return 6;
            if (a > 2 && a <= 3) return 8;
            if (a > 3 && a < 5) return 10;
            if (a >= 5 && a < 6) return 8;
            if (a >= 6 && a < 7) return 6;
            if (a >= 7 && a < 8) return 5;
            std::cout << "Error! Execution cycle RX, RY, CP, ISWAP" << std::endl;
            return 0.0;
        case QD: {
            const double low = (axis == 1) ? 10 : 12, high = (axis == 1) ? 18 : 20;
            if ((a > 0 && a <= 2) || (a >= 6 && a < 8)) return low;
            if (a > 2 && a < 6) return high;
            std::cout << (axis == 1 ? "Error! Execution cycle Rx, angle= "
                                    : "Error! Execution cycle Rz, angle= ")
                      << angle << std::endl;
            return 0.0;
        }
        default:
            return 0.0;  // machines beyond NP
    }
}

double LogicalCycles::Rz(int l, int c, double a) {
    if (a == 0.0) return 0.0;
    if (l <= 0) return rotation0(0, a);
    if (!known_code(c)) return 0.0;
    return memo(kRz, l, c, a, [&]() -> double {
        const int k = l - 1;
        if (odd_angle(a) || half_angle(a)) {
            switch (c) {
                case 0: {
                    // U + V + 2 W + hCNOT(l,0) + 2 Y + Mz(l,0) + FTEC(l,0)
                    const double rz = Rz(k, 0, a), pcat = Pcat(l, 0);
                    const double U = max(pcat, P0(l, 0) + rz), V = max(pcat, rz);
                    const double W = odd_angle(a) ? hCNOT(k, 0) : vCNOT(k, 0);
                    const double Y = max(Mx(k, 0), rz);
                    return U + V + 2 * W + hCNOT(l, 0) + 2 * Y + Mz(l, 0) + FTEC(l, 0);
                }
                case 1:
                    if (odd_angle(a))  // distillInjectionT(l) + hCNOT(l,1) + Mz(l,1) + Rz(l,1,2)
                        return distillInjectionT(l) + hCNOT(l, 1) + Mz(l, 1) + Rz(l, 1, 2);
                    return distillInjectionS(l) + hCNOT(l, 1) + hCZ(l, 1);
                case 2:
                    // odd: [5 vSWAP + 2 hSWAP + hCNOT](k,2) + Mz(l,2) + Rz(l,2,2θ), the doubled
                    // angle not reduced (θ = 5 and 7 give 0 for that term)
                    if (odd_angle(a))
                        return 5 * vSWAP(k, 2) + 2 * hSWAP(k, 2) + hCNOT(k, 2) + Mz(l, 2) +
                               Rz(l, 2, 2 * a);
                    // 2 H(l,2) + [2 hCNOT + hSWAP + 5 vSWAP](k,2)
                    return 2 * H(l, 2) + 2 * hCNOT(k, 2) + hSWAP(k, 2) + 5 * vSWAP(k, 2);
                default: {
                    // as code 0 with Pcat(l,3), P0(l,3), Rz(k,2,θ), W = vCNOT(k,2),
                    // hCNOT(l,2), Mx(k,2), Mz(l,3), FTEC(l,3)
                    const double rz = Rz(k, 2, a), pcat = Pcat(l, 3);
                    const double U = max(pcat, P0(l, 3) + rz), V = max(pcat, rz);
                    const double W = vCNOT(k, 2);
                    const double Y = max(Mx(k, 2), rz);
                    return U + V + 2 * W + hCNOT(l, 2) + 2 * Y + Mz(l, 3) + FTEC(l, 3);
                }
            }
        }
        if (a == 4.0) {
            switch (c) {
                case 0:
                    return Rz(k, 0, 4) + FTEC(l, 0);
                case 1:
                    return Rz(k, 1, 4) + FTEC(l, 1);
                case 2:
                    return Rz(0, 2, 4) + FTED(l, 2);
                default:
                    return Rz(k, 2, 4) + FTEC(l, 3);
            }
        }
        return 0.0;
    });
}

double LogicalCycles::Rx(int l, int c, double a) {
    if (a == 0.0) return 0.0;
    if (l <= 0) return rotation0(1, a);
    if (!known_code(c)) return 0.0;
    return memo(kRx, l, c, a, [&]() -> double {
        const int k = l - 1;
        if (odd_angle(a) || half_angle(a)) return H(l, c) + Rz(l, c, a) + H(l, c);
        if (a == 4.0) {
            switch (c) {
                case 0:
                    return Rx(k, 0, 4) + FTEC(l, 0);
                case 1:
                    return Rx(k, 1, 4) + FTEC(l, 1);
                case 2:
                    return Rx(0, 2, 4) + FTED(l, 2);
                default:
                    return Rx(k, 2, 4) + FTEC(l, 3);
            }
        }
        return 0.0;
    });
}

double LogicalCycles::Ry(int l, int c, double a) {
    if (a == 0.0) return 0.0;
    if (l <= 0) return rotation0(2, a);
    if (!known_code(c)) return 0.0;
    return memo(kRy, l, c, a, [&]() -> double {
        const int k = l - 1;
        if (odd_angle(a)) return Rz(l, c, 2) + H(l, c) + Rz(l, c, a) + H(l, c) + Rz(l, c, 6);
        if (half_angle(a)) return H(l, c) + Rz(l, c, 4);
        if (a == 4.0) {
            switch (c) {
                case 0:
                    return Ry(k, 0, 4) + FTEC(l, 0);
                case 1:
                    return Ry(k, 1, 4) + FTEC(l, 1);
                case 2:
                    return Ry(0, 2, 4) + FTED(l, 2);
                default:
                    return Ry(k, 2, 4) + FTEC(l, 3);
            }
        }
        return 0.0;
    });
}

// ---- The ops_ and cyc_ families ---------------------------------------------------------------

#define MAROVIN_LOGICAL_DEFINE(name)                           \
    double ops_##name(int level, PMD_type pmd, qecCode code) { \
        return LogicalOps(pmd).name(level, code);              \
    }                                                          \
    double cyc_##name(int level, PMD_type pmd, qecCode code) { \
        return LogicalCycles(pmd).name(level, code);           \
    }
#define MAROVIN_LOGICAL_DEFINE_ANGLE(name)                                   \
    double ops_##name(int level, PMD_type pmd, qecCode code, double angle) { \
        return LogicalOps(pmd).name(level, code, angle);                     \
    }                                                                        \
    double cyc_##name(int level, PMD_type pmd, qecCode code, double angle) { \
        return LogicalCycles(pmd).name(level, code, angle);                  \
    }
#define MAROVIN_LOGICAL_DEFINE_MAGIC(name)       \
    double ops_##name(int level, PMD_type pmd) { \
        return LogicalOps(pmd).name(level);      \
    }                                            \
    double cyc_##name(int level, PMD_type pmd) { \
        return LogicalCycles(pmd).name(level);   \
    }

MAROVIN_LOGICAL_DEFINE(FTEC)
MAROVIN_LOGICAL_DEFINE(FTED)
MAROVIN_LOGICAL_DEFINE(P0)
MAROVIN_LOGICAL_DEFINE(Pp)
MAROVIN_LOGICAL_DEFINE(Pcat)
MAROVIN_LOGICAL_DEFINE(Mz)
MAROVIN_LOGICAL_DEFINE(Mx)
MAROVIN_LOGICAL_DEFINE(H)
MAROVIN_LOGICAL_DEFINE_ANGLE(Rz)
MAROVIN_LOGICAL_DEFINE_ANGLE(Rx)
MAROVIN_LOGICAL_DEFINE_ANGLE(Ry)
MAROVIN_LOGICAL_DEFINE(hCNOT)
MAROVIN_LOGICAL_DEFINE(vCNOT)
MAROVIN_LOGICAL_DEFINE(hCZ)
MAROVIN_LOGICAL_DEFINE(vCZ)
MAROVIN_LOGICAL_DEFINE(hGeo)
MAROVIN_LOGICAL_DEFINE(vGeo)
MAROVIN_LOGICAL_DEFINE(hSWAP)
MAROVIN_LOGICAL_DEFINE(vSWAP)
MAROVIN_LOGICAL_DEFINE_MAGIC(decoder)
MAROVIN_LOGICAL_DEFINE_MAGIC(injection)
MAROVIN_LOGICAL_DEFINE_MAGIC(twirl_T)
MAROVIN_LOGICAL_DEFINE_MAGIC(twirl_i)
MAROVIN_LOGICAL_DEFINE_MAGIC(distillInjectionT)
MAROVIN_LOGICAL_DEFINE_MAGIC(distillInjectionS)
