// Placeholder until the text rewrites land.
#include "circuit/netlist_rewrite.h"

#include "circuit/fatal.h"

void inverse_netlist(std::string&, std::string&) { fatal_error("inverse_netlist: not yet supported"); }
void reverse_netlist(std::string&, std::string&) { fatal_error("reverse_netlist: not yet supported"); }
void inverse_netlistfile(std::string, std::string) { fatal_error("inverse_netlistfile: not yet supported"); }
void reverse_netlistfile(std::string, std::string) { fatal_error("reverse_netlistfile: not yet supported"); }
