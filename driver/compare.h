#pragma once
// marovin compare: the synthesis of one circuit for every machine description (QD SC IT NA LP NP
// CTL FTS), as one aligned table, optionally as CSV (--csv FILE) and as a grouped bar chart
// (--svg FILE), with the output files kept in a folder (--out DIR).
//
// Each description runs as a child process that is an ordinary run of the program, in a working
// folder of its own (DIR/<description>, or a temporary folder without --out) that links to the
// data files of the working folder: the figures are those of eight separate runs, and the side
// files of one run ("FT_before_converted.txt", "ft_angle_analysis.txt") never meet another's.
// compare writes each run's console itself. A kept folder is locked while compare runs, and a
// run folder is used only when it holds nothing but what an earlier compare recorded writing
// there; those files are removed first.

/// \brief Runs `marovin compare [options] input [threshold [ft_mode [code [level]]]]`; argv[1]
/// is "compare". Options (--csv FILE, --svg FILE, --out DIR, --max-gates N) may stand before or
/// after the positional arguments. Returns 0 when every description ran, 1 otherwise (a row
/// that did not run included); bad arguments, files that would meet and unusable folders end
/// the program with one message and status 1 before any run.
int run_compare(int argc, char** argv);
