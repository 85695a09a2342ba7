#pragma once
// Recursive cost model of error-corrected (logical) operations. For a machine description, a
// code (0 to 3) and a concatenation level (0 = physical), the `ops_` family gives the number of
// physical operations one logical operation costs and the `cyc_` family the number of machine
// cycles it takes. A value at level l is built from values at level l-1 (and, for a few terms, at
// level l or 0) by fixed formulas per code; level 0 is a table per machine.
//
// Codes: 0 and 1 correct errors (FTEC) with 7-fold and 9-fold transversal gates, code 1 using
// magic-state injection and distillation for non-Clifford rotations; code 2 only detects errors
// (FTED) with 4-fold transversal gates; code 3 is built on blocks of code 2.
// Angles are in π/4 and only the exact values 0.0 ... 7.0 are told apart above level 0; every
// other angle costs 0 there. Levels below 0 are treated as level 0.

#include <map>
#include <tuple>

#include "circuit/gate.h"

/// Highest concatenation level the model evaluates. Every level multiplies the counts by two to
/// three orders of magnitude: at level 100 one logical operation costs up to about 2.4e244
/// physical operations or cycles, so that sums over any circuit stay finite; near level 130 the
/// values of a single operation leave the range of doubles. The recursion depth is the level.
constexpr int kMaxLogicalLevel = 100;

/// Memoised evaluation of the operation-count formulas for one machine description. Values are
/// those of plain recursion; each (operation, level, code, angle) is computed once.
class LogicalOps {
  public:
    explicit LogicalOps(PMD_type pmd) : pmd_(pmd) {}

    double FTEC(int l, int c);
    double FTED(int l, int c);
    double P0(int l, int c);
    double Pp(int l, int c);
    double Pcat(int l, int c);
    double Mz(int l, int c);
    double Mx(int l, int c);
    double H(int l, int c);
    double Rz(int l, int c, double angle);
    double Rx(int l, int c, double angle);
    double Ry(int l, int c, double angle);
    double hCNOT(int l, int c);
    double vCNOT(int l, int c);
    double hCZ(int l, int c);
    double vCZ(int l, int c);
    double hGeo(int l, int c);
    double vGeo(int l, int c);
    double hSWAP(int l, int c);
    double vSWAP(int l, int c);
    // Magic-state and decoder operations, always under code 1.
    double decoder(int l);
    double injection(int l);
    double twirl_T(int l);
    double twirl_i(int l);
    double distillInjectionT(int l);
    double distillInjectionS(int l);

    /// Two-qubit kinds that share the hCNOT/vCNOT formulas.
    enum class Pair { CNOT, CZ, Geo };

  private:
    double h2(Pair kind, int l, int c);
    double v2(Pair kind, int l, int c);
    template <typename F>
    double memo(int op, int l, int c, double angle, F&& compute);

    PMD_type pmd_;
    std::map<std::tuple<int, int, int, double>, double> values_;
};

/// Memoised evaluation of the cycle-count formulas for one machine description.
class LogicalCycles {
  public:
    explicit LogicalCycles(PMD_type pmd) : pmd_(pmd) {}

    double FTEC(int l, int c);
    double FTED(int l, int c);
    double P0(int l, int c);
    double Pp(int l, int c);
    double Pcat(int l, int c);
    double Mz(int l, int c);
    double Mx(int l, int c);
    double H(int l, int c);
    double Rz(int l, int c, double angle);
    double Rx(int l, int c, double angle);
    double Ry(int l, int c, double angle);
    double hCNOT(int l, int c);
    double vCNOT(int l, int c);
    double hCZ(int l, int c);
    double vCZ(int l, int c);
    double hGeo(int l, int c);
    double vGeo(int l, int c);
    double hSWAP(int l, int c);
    double vSWAP(int l, int c);
    double decoder(int l);
    double injection(int l);
    double twirl_T(int l);
    double twirl_i(int l);
    double distillInjectionT(int l);
    double distillInjectionS(int l);

    using Pair = LogicalOps::Pair;

  private:
    double h2(Pair kind, int l, int c);
    double v2(Pair kind, int l, int c);
    /// Level-0 cycles of the rotations (angle reduced into [0, 8)).
    double rotation0(int axis, double angle);
    template <typename F>
    double memo(int op, int l, int c, double angle, F&& compute);

    PMD_type pmd_;
    std::map<std::tuple<int, int, int, double>, double> values_;
};

// The `ops_` and `cyc_` families: free functions over (level, machine, code[, angle in π/4]).
// The magic-state and decoder operations take (level, machine) and use code 1.
#define MAROVIN_LOGICAL_DECLARE(name)                         \
    double ops_##name(int level, PMD_type pmd, qecCode code); \
    double cyc_##name(int level, PMD_type pmd, qecCode code);
#define MAROVIN_LOGICAL_DECLARE_ANGLE(name)                                 \
    double ops_##name(int level, PMD_type pmd, qecCode code, double angle); \
    double cyc_##name(int level, PMD_type pmd, qecCode code, double angle);
#define MAROVIN_LOGICAL_DECLARE_MAGIC(name)     \
    double ops_##name(int level, PMD_type pmd); \
    double cyc_##name(int level, PMD_type pmd);

MAROVIN_LOGICAL_DECLARE(FTEC)
MAROVIN_LOGICAL_DECLARE(FTED)
MAROVIN_LOGICAL_DECLARE(P0)
MAROVIN_LOGICAL_DECLARE(Pp)
MAROVIN_LOGICAL_DECLARE(Pcat)
MAROVIN_LOGICAL_DECLARE(Mz)
MAROVIN_LOGICAL_DECLARE(Mx)
MAROVIN_LOGICAL_DECLARE(H)
MAROVIN_LOGICAL_DECLARE_ANGLE(Rz)
MAROVIN_LOGICAL_DECLARE_ANGLE(Rx)
MAROVIN_LOGICAL_DECLARE_ANGLE(Ry)
MAROVIN_LOGICAL_DECLARE(hCNOT)
MAROVIN_LOGICAL_DECLARE(vCNOT)
MAROVIN_LOGICAL_DECLARE(hCZ)
MAROVIN_LOGICAL_DECLARE(vCZ)
MAROVIN_LOGICAL_DECLARE(hGeo)
MAROVIN_LOGICAL_DECLARE(vGeo)
MAROVIN_LOGICAL_DECLARE(hSWAP)
MAROVIN_LOGICAL_DECLARE(vSWAP)
MAROVIN_LOGICAL_DECLARE_MAGIC(decoder)
MAROVIN_LOGICAL_DECLARE_MAGIC(injection)
MAROVIN_LOGICAL_DECLARE_MAGIC(twirl_T)
MAROVIN_LOGICAL_DECLARE_MAGIC(twirl_i)
MAROVIN_LOGICAL_DECLARE_MAGIC(distillInjectionT)
MAROVIN_LOGICAL_DECLARE_MAGIC(distillInjectionS)

#undef MAROVIN_LOGICAL_DECLARE
#undef MAROVIN_LOGICAL_DECLARE_ANGLE
#undef MAROVIN_LOGICAL_DECLARE_MAGIC
