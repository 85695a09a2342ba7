#pragma once
// The program's synthesis flow: command line, forward and backward synthesis, the choice, the
// optional fault-tolerant conversion, the output file and the console report.

/// \brief Runs the whole program on the command line `argv` (argv[0] is the program name) and
/// returns the exit status (0 after a complete run, 1 for the usage message). Fatal input and
/// file errors end the process with status 1.
int run_marovin(int argc, char** argv);
