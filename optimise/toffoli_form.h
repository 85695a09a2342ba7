#pragma once
// The doubly controlled gates of a netlist written as Toffoli gates, so that reading maps them
// with the Clifford+T Toffoli (six CNOTs and seven T gates, whose phases fold) instead of the
// controlled-V construction of the multi-controlled gates: "CkZ a b c" becomes "H c",
// "Toffoli a b c", "H c" (CCZ is CCX conjugated by H on its target), and "MCT a b c" becomes
// "Toffoli a b c". Every other line is kept as it is. The rewrite reads the same in either
// orientation of the netlist. O(length of the text).

#include <string>

namespace phases {

/// \brief `netlist` with its two-control CkZ and MCT lines as Toffoli gates.
std::string toffoli_form(const std::string& netlist);

}  // namespace phases
