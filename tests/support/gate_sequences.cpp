#include "support/gate_sequences.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <list>

#include "FaultTolerant/matrix/matrix2.h"
#include "FaultTolerant/tavex/tavex.h"
#include "circuit/fatal.h"
#include "circuit/named_rotation.h"

namespace fttest {

sim::Unitary sequence_unitary(const std::string& seq) {
    std::list<Gate> gates;
    for (char c : seq) {
        Gate_type kind;
        switch (c) {
            case '(':
            case ')':
                continue;
            case 'H':
                kind = H;
                break;
            case 'T':
                kind = T;
                break;
            case 't':
                kind = T_dag;
                break;
            case 'S':
                kind = S;
                break;
            case 's':
                kind = S_dag;
                break;
            case 'X':
                kind = X;
                break;
            case 'Z':
                kind = Z;
                break;
            case 'I':
                kind = I;
                break;
            default:
                ADD_FAILURE() << "letter " << c << " outside the alphabet in " << seq;
                continue;
        }
        gates.push_back(Gate(kind, 0, 0, 0, -1, 0, 0));
    }
    return sim::gates_unitary(1, gates, 0);
}

sim::Unitary rotation_unitary(Gate_type kind, double angle) {
    return sim::gates_unitary(1, {Gate(kind, angle, 0, 0, -1, 0, 0)}, 0);
}

double distance_to_rotation(const std::string& seq, Gate_type kind, double angle) {
    return sim::operator_distance_up_to_phase(sequence_unitary(seq), rotation_unitary(kind, angle));
}

static Matrix2 to_mtx(const sim::Unitary& u) {
    Matrix2 m;
    for (unsigned r = 0; r < 2; ++r)
        for (unsigned c = 0; c < 2; ++c) m(r, c) = u.at(r, c);
    return m;
}

double md_tri_between(const sim::Unitary& a, const sim::Unitary& b) {
    return md_tri(to_mtx(a), to_mtx(b));
}

double md_tri_to_rotation(const std::string& seq, Gate_type kind, double angle) {
    return md_tri_between(sequence_unitary(seq), rotation_unitary(kind, angle));
}

void read_HT_string(const char* file_name, LineOfGates& line) {
    std::ifstream in(file_name, std::ios::binary);
    if (!in) fatal_error("Cannot read input file!");
    line.gates.push_back(Gate(IN, 0, 0, 0, -1, -1, -100));
    char c;
    while (in.get(c)) {
        std::cout << c << ' ';
        if (c == 'H') {
            line.gates.push_back(Gate(H, 0, 0, 0, -1, -1, -100));
        } else if (c == 'T' || c == 't') {
            const NamedRotation& r = *named_rotation(c == 'T' ? T : T_dag);
            line.gates.push_back(Gate(r.rotation, r.angle, 0, 0, -1, -1, -100));
            line.phase += r.phase;
        } else if (c != '\n') {
            std::cout << "Error: read_HT_string, gate not supported: " << c << "\n";
        }
    }
    line.gates.push_back(Gate(OUT, 0, 0, 0, -1, -1, -100));
}

}  // namespace fttest
