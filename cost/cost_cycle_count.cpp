#include "cost/cost_cycle_count.h"

#include <cmath>
#include <iostream>
#include <iterator>

namespace {

/// NOTE: the named gates X, Y and Z carry angle 0 in the graph, which the angle tables would
/// price at 0 cycles although each is a rotation by π. They are priced as that rotation.
double named_rotation_angle(Gate_type kind, double angle) {
    return (kind == X || kind == Y || kind == Z) ? 4.0 : angle;
}

/// QD rotation prices: x in (0, 2] and [6, 8) is the short pulse, (2, 6) the long one.
int qd_rotation(double x, int short_pulse, int long_pulse) {
    if (x == 0.0) return 0;
    if (x > 0.0 && x <= 2.0) return short_pulse;
    if (x > 2.0 && x < 6.0) return long_pulse;
    return short_pulse;  // [6, 8)
}

/// SC drive prices for X, Y, ISWAP and CP: (0,1] 5, (1,2] 6, (2,3] 8, (3,4] 10, (4,5) 10,
/// [5,6) 8, [6,7) 6, [7,8) 5.
int sc_drive(double x) {
    if (x == 0.0) return 0;
    if (x <= 1.0) return 5;
    if (x <= 2.0) return 6;
    if (x <= 3.0) return 8;
    if (x < 5.0) return 10;
    if (x < 6.0) return 8;
    if (x < 7.0) return 6;
    return 5;
}

void report_unsupported(const char* pmd_name, Gate_type kind) {
    std::cout << "Error! PMD=" << pmd_name << ", Execution cycle, not supported gate: " << kind
              << std::endl;
}

int qd_cycles(Gate_type kind, double x) {
    switch (kind) {
        case X:
        case RX:
            if (std::isnan(x)) {
                std::cout << "Error! Execution cycle Rx, angle= " << x << std::endl;
                return 18;
            }
            return qd_rotation(x, 10, 18);
        case Y:
        case RY:
            if (std::isnan(x)) {
                std::cout << "Error! Execution cycle Rz, angle= " << x << std::endl;
                return 20;
            }
            return qd_rotation(x, 12, 20);
        case Z:
        case RZ:
            if (std::isnan(x)) {
                std::cout << "Error! Execution cycle Rz, angle= " << x << std::endl;
                return 2;
            }
            return qd_rotation(x, 1, 2);
        case S:
        case S_dag:
        case T:
        case T_dag:
            return 1;
        case H:
            return 12;
        case CZ:
            return 3;
        case CNOT:
            return 25;
        case SWAP:
            return 51;
        case ZENO:
            return 53;
        default:
            report_unsupported("QD", kind);
            return 53;
    }
}

int sc_cycles(Gate_type kind, double x) {
    switch (kind) {
        case X:
        case RX:
        case Y:
        case RY:
        case ISWAP:
        case CP:
            if (std::isnan(x)) {
                std::cout << "Error! Execution cycle RX, RY, CP, ISWAP" << std::endl;
                return 10;
            }
            return sc_drive(x);
        case H:
            return 7;
        case S:
        case S_dag:
        case T:
        case T_dag:
        case Z:
        case RZ:
            return 1;
        case CZ:
            return 10;
        case CNOT:
            return 22;
        case SWAP:
            return 17;
        case ZENO:
            return 6;
        // NOTE: the adjoint of ZENO is native on SC and takes as long as ZENO.
        case ZENO_dag:
            return 6;
        default:
            report_unsupported("SC", kind);
            return 22;
    }
}

int lp_cycles(Gate_type kind) {
    if (is_1Q_gate(kind)) return 1;
    if (kind <= ZENO) return 10;  // CNOT, CZ, SWAP, ZENO
    report_unsupported("LP", kind);
    return 10;
}

int np_cycles(Gate_type kind) {
    if (is_1Q_gate(kind)) return 1;
    switch (kind) {
        case CNOT:
            return 12;
        case CZ:
            return 14;
        case SWAP:
            return 36;
        case ZENO:
            return 51;
        default:
            report_unsupported("NP", kind);
            return 14;
    }
}

}  // namespace

int CostCycleCount::get_cycle_cost(Gate_type kind, PMD_type pmd, double angle) {
    if (kind == I || is_marker(kind)) return 0;
    if (pmd == CTL) return 1;
    const double x = normalised_turn(named_rotation_angle(kind, angle));
    switch (pmd) {
        case IT:
        case NA:
            return 1;
        case QD:
            return qd_cycles(kind, x);
        case SC:
            return sc_cycles(kind, x);
        case LP:
            return lp_cycles(kind);
        case NP:
            return np_cycles(kind);
        // ND and FTS have no cycle table: every gate takes one step, as on CTL.
        default:
            return 1;
    }
}

void cost_window_bounds(std::list<Gate>& line, int first, int last,
                        std::list<Gate>::iterator& begin, std::list<Gate>::iterator& end) {
    begin = end = line.end();
    if (first == -1 && last == -1) {
        if (line.size() < 2) return;
        begin = std::next(line.begin());
        end = std::prev(line.end());
        return;
    }
    // One scan; when an index occurs several times its last occurrence counts, and a record
    // that matches `first` is never taken as the end.
    for (auto it = line.begin(); it != line.end(); ++it) {
        if (it->index == first)
            begin = it;
        else if (it->index == last)
            end = it;
    }
}

int CostCycleCount::get_window_cycle_cost(std::list<Gate>& line, int first, int last,
                                          PMD_type pmd) {
    std::list<Gate>::iterator begin, end;
    cost_window_bounds(line, first, last, begin, end);
    int total = 0;
    for (auto it = begin; it != end && it != line.end(); ++it)
        total += get_cycle_cost(it->type, pmd, it->angle);
    return total;
}
