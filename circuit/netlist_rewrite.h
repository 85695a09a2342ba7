#pragma once
// Text rewrites of a netlist: reversal of the gate order and gate-by-gate inversion.

#include <string>

void inverse_netlist(std::string& in, std::string& out);
void reverse_netlist(std::string& in, std::string& out);
void inverse_netlistfile(std::string input_file, std::string output_file);
void reverse_netlistfile(std::string input_file, std::string output_file);
