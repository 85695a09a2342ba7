#pragma once
// Conversion of one-qubit rotations to fault-tolerant gate sequences: every window of one-qubit
// records holding a rotation whose angle is not whole (π/4 units) is replaced by a sequence of
// H, T, T_dag, S, S_dag, X, Z and I from the sequence cache or a search, equal up to a global
// phase within the threshold.

#include <list>
#include <string>

#include "FaultTolerant/ft_method.h"
#include "FaultTolerant/ft_table.h"
#include "FaultTolerant/matrix/matrix2.h"
#include "circuit/circuit_graph.h"
#include "circuit/gate.h"
#include "cost/cost_model.h"

/// The side file to which the conversion appends the gates of each mixed rotation window.
constexpr const char* kAngleLogFile = "ft_angle_analysis.txt";

/// The sequence cache the conversion reads and fills, its hit and miss counters, the fractional
/// rotations it left as they were (no sequence found), and whether a write of the angle log
/// failed (reported once, with an "Error:" line).
struct FtCache {
    FT_table& table;
    int& hits;
    int& misses;
    int& unconverted;
    bool& log_failed;
};

/// \brief Converts every line. threshold: required distance (md_tri); ft_mode: 0 exhaustive
/// search, n > 0 Solovay-Kitaev depth n, unless `method` is NumberTheoretic. Bad settings end the
/// program with a message.
void convert_FT(CircuitGraph& circuit, const CostModel& cost, FtCache cache, double threshold,
                int ft_mode, FtMethod method);
/// \brief Converts the windows of one line copy; new records take indices from `gate_counter`.
void convert_1Q_window_to_FT(LineOfGates& line, int& gate_counter, FtCache cache, double threshold,
                             int ft_mode, FtMethod method);
/// \brief Left-to-right product of the window factors of [first, last); logs each record to
/// kAngleLogFile. The first write that fails prints one "Error:" line naming the cause and sets
/// `log_failed`; later windows are not logged.
Matrix2 convert_matrix(std::list<Gate>& gates, std::list<Gate>::iterator first,
                       std::list<Gate>::iterator last, bool& log_failed);
/// \brief Replaces [first, last) by the gates of a sequence string, in order.
void insert_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                   std::list<Gate>::iterator last, std::string& seq, int& gate_counter);
/// \brief Replaces [first, last) by the inverse of a sequence string (reversed, each inverted).
void insert_inv_FT_seq(std::list<Gate>& gates, std::list<Gate>::iterator first,
                       std::list<Gate>::iterator last, std::string& seq, int& gate_counter);

/// \brief True for a rotation (RX, RY, RZ) whose angle is not a whole number (NaN included).
bool is_fractional_rotation(const Gate& gate);

/// A search for a gate-sequence string whose left-to-right product is within `threshold`
/// (md_tri, up to a global phase) of the 2x2 unitary `target`; "" when it finds none.
/// ft_mode 0: the exhaustive search; n > 0: Solovay-Kitaev to depth n.
using FtSearch = std::string (*)(const Matrix2& target, double threshold, int ft_mode);

/// \brief The search the conversion uses on a cache miss: Tavex(10200, 15) for mode 0,
/// ftpelmar otherwise.
std::string ft_default_search(const Matrix2& target, double threshold, int ft_mode);

/// \brief Replaces the search used on cache misses (nullptr restores ft_default_search) and
/// returns the previous one. Lets tests drive the conversion without the expensive searches.
FtSearch set_ft_search(FtSearch search);
