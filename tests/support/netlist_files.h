#pragma once
// The netlist rewrites from one file to another, for tests that drive them on files: the
// program itself rewrites texts.

#include <string>

/// \brief inverse_netlist from one file to another (they may be the same file; the output is
/// replaced atomically). An unreadable input or unwritable output ends through fatal_error.
void inverse_netlistfile(std::string input_file, std::string output_file);

/// \brief reverse_netlist from one file to another, as inverse_netlistfile.
void reverse_netlistfile(std::string input_file, std::string output_file);
