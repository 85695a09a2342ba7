#pragma once
// Cache of fault-tolerant gate sequences approximating Z rotations, keyed by angle (π/4 units).

#include <map>
#include <string>
#include <vector>

#include "circuit/gate.h"

/// One cached sequence: a gate-sequence string accepted for distance `dist`.
struct FT_entry {
    double dist = 0.0;
    std::string seq;
};

class FT_table {
public:
    std::map<double, std::vector<FT_entry>> table;

    /// \brief Reads "FT_table.txt" and merges its blocks (angles already present are kept).
    void set_FT_table();
    /// \brief Appends {dist, seq} to the entries of `angle`.
    void insert_FT_table(double angle, double dist, std::string seq);
    /// \brief Sequence for a gate of `kind` rotating by `angle` within `dist`, or "".
    std::string get_FT_seq(Gate_type kind, double angle, double dist);
};
