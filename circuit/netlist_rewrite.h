#pragma once
// Text rewrites of a netlist, without building a circuit: reversal of the gate order and
// gate-by-gate inversion. Applying both gives the netlist of the inverse circuit.

#include <string>

/// \brief `out` becomes `in` with every gate replaced by its inverse, in the same order. The
/// first line is dropped when it is a comment or empty. Angles are negated and written so that
/// they read back to the same double. Ends the program on an unknown gate keyword.
void inverse_netlist(std::string& in, std::string& out);

/// \brief `out` becomes `in` with the lines of the gate section in reverse order; the header is
/// kept and the text always ends with ".end".
void reverse_netlist(std::string& in, std::string& out);
