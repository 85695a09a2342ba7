#pragma once
// Cache of fault-tolerant gate sequences approximating Z rotations, keyed by angle (π/4 units).
//
// A gate-sequence string holds one character per fault-tolerant gate, in time order: "H", "T"
// (T), "t" (T_dag), "S" (S), "s" (S_dag), "X", "Z" and "I" (identity); "(" and ")" enclose the
// letters of one composite label of the exhaustive search and stand for no gate. The matrix of a
// string is the product of its letters' matrices from left to right. The empty string means
// that no sequence is available.

#include <istream>
#include <map>
#include <string>
#include <vector>

#include "circuit/gate.h"

/// One cached sequence: a gate-sequence string accepted for distance `dist`.
struct FT_entry {
    double dist = 0.0;
    std::string seq;
};

/// Angle (π/4 units, compared exactly) -> entries in arrival order: file order first, then the
/// sequences found at run time. Entries are never reordered or removed, so the first entry of an
/// angle that meets a required distance wins.
class FT_table {
  public:
    std::map<double, std::vector<FT_entry>> table;

    /// \brief Reads "FT_table.txt" from the working directory and merges its blocks: a block
    /// whose angle is already a key is ignored. Ends the program on a missing file or a syntax
    /// error. O(file size).
    void set_FT_table();
    /// \brief Appends {dist, seq} to the entries of `angle` (π/4 units), creating the key.
    void insert_FT_table(double angle, double dist, std::string seq);
    /// \brief Sequence for a gate of `kind` (RX, RY or RZ) rotating by `angle` (π/4 units) whose
    /// cached distance is at most `dist`, wrapped for the axis: RX as "H"+seq+"H", RY as
    /// "SH"+seq+"Hs". "" when the angle is absent or no entry is fine enough.
    std::string get_FT_seq(Gate_type kind, double angle, double dist);
};

/// \brief Merges the cache blocks of a text in the format of "FT_table.txt" into `cache`, with
/// the rules of FT_table::set_FT_table (which reads the file through it). O(text size).
void ft_table_read(std::istream& in, FT_table& cache);
