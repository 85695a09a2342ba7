#pragma once
// Cache of fault-tolerant gate sequences approximating Z rotations, keyed by angle (π/4 units).
//
// Entries are gate-sequence strings (letters and their gates: FaultTolerant/gate_sequence.h);
// the matrix of a string is the product of its letters' matrices from left to right. The empty
// string means that no sequence is available.

#include <istream>
#include <map>
#include <string>
#include <vector>

#include "circuit/gate.h"

/// Smallest distance (md_tri) that the double-precision 2x2 products resolve: the distance is
/// the square root of a difference near 1e-16, so values below about 3e-8 are rounding noise.
constexpr double kFtDistanceResolution = 1e-7;

/// Where a cached sequence comes from: the cache file (checked against its angle before it is
/// used) or a search of this run (taken as the search returned it).
enum class EntrySource { Search, File };

/// One cached sequence: a gate-sequence string accepted for distance `dist`.
struct FT_entry {
    double dist = 0.0;
    std::string seq;
    EntrySource source = EntrySource::Search;
    /// Distance (md_tri, up to a global phase) of the sequence to its rotation, once measured;
    /// negative before.
    double measured = -1.0;
    bool reported = false;  // a miss of the threshold has been reported
};

/// \brief Distance (md_tri: sqrt((2 - |tr(A^dagger B)|) / 2), up to a global phase) between the
/// left-to-right product of the gates of the gate-sequence string `seq` and Rz(angle), angle in
/// π/4 units. NaN for a letter outside the alphabet. O(length of seq).
double ft_sequence_distance(const std::string& seq, double angle);

/// Angle (π/4 units, compared exactly) -> entries in arrival order: file order first, then the
/// sequences found at run time. Entries are never reordered or removed, so the first entry of an
/// angle that meets a required distance wins.
class FT_table {
  public:
    std::map<double, std::vector<FT_entry>> table;

    /// \brief Reads "FT_table.txt" from the working directory and merges its blocks: a block
    /// whose angle is already a key is ignored. Ends the program on a missing or unreadable
    /// file, a syntax error, a number that is not one, a negative distance or a letter outside
    /// the alphabet (naming the line). O(file size).
    void set_FT_table();
    /// \brief Appends {dist, seq} to the entries of `angle` (π/4 units), creating the key.
    void insert_FT_table(double angle, double dist, std::string seq);
    /// \brief Sequence for a gate of `kind` (RX, RY or RZ) rotating by `angle` (π/4 units) whose
    /// cached distance is at most `dist`, wrapped for the axis: RX as "H"+seq+"H", RY as
    /// "SH"+seq+"Hs". "" when the angle is absent or no entry is fine enough. An entry from the
    /// file is used only if its sequence is within `dist` of its rotation; one that is not is
    /// reported (once) with an "Error:" line and skipped.
    std::string get_FT_seq(Gate_type kind, double angle, double dist);

  private:
    /// \brief True when `entry` may serve a lookup that requires `dist` for `angle`.
    bool usable(FT_entry& entry, double angle, double dist);
};

/// \brief Merges the cache blocks of a text in the format of "FT_table.txt" into `cache`, with
/// the rules of FT_table::set_FT_table (which reads the file through it). O(text size).
void ft_table_read(std::istream& in, FT_table& cache);
