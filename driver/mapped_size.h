#pragma once
// A bound on how many gates a netlist becomes once mapped, computed from its text before any
// circuit is built, so that a line whose expansion cannot fit is refused before it is mapped.

#include <string>

/// The most native gates one netlist line yields on any machine description: a
/// multi-controlled gate with m controls yields at most kGatesPerControlSubset gates for each
/// of its 2^m - 1 control subsets (a controlled V and the CNOTs of the Gray code; 10 on QD and
/// IT), every other line at most kGatesPerLine (a Fredkin on QD: 25).
struct MappedSizeBound {
    static constexpr double kGatesPerControlSubset = 10;
    static constexpr double kGatesPerLine = 25;
};

/// \brief Walks the gate lines of the netlist `text` (input file order, between ".begin" and
/// ".end") and ends the program with a message naming the first line at which the mapped size
/// bound passes `max_gates`, pointing to --max-gates. O(1) per character.
void check_mapped_size(const std::string& text, long max_gates);
