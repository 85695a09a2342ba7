#pragma once
// The program: command line, synthesis flow, output file and report.

/// \brief Runs the whole program on the command line `argv` (argv[0] is the program name) and
/// returns the exit status: 0 after a complete run, 1 for the usage message or when memory runs
/// out. Files that would meet (a written file naming the input, a data file or another written
/// file) are refused before any work. The output file and the JSON report are put in place
/// once, after a complete run, the report first. Fatal input and file errors end the process
/// with status 1 and leave any earlier output file as it was.
int run_marovin(int argc, char** argv);
