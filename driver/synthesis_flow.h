#pragma once
// The synthesis flow: forward and backward synthesis, the choice, the optional fault-tolerant
// conversion and the figures of the report. The flow writes no output file; its result carries
// the text that a complete run puts in place.

#include <ostream>
#include <string>

#include "driver/command_line.h"

/// Operation and cycle counts of one circuit, as num_ops and num_cycles give them.
struct Counts {
    double ops = 0;
    double cycles = 0;
};

/// Everything one run produces.
struct SynthesisResult {
    Settings settings;
    bool forward_wins = true;
    Counts initial;         // the input as read, before any reduction
    Counts winner;          // after the non-FT synthesis of the winning direction
    Counts converted;       // after the conversion, with the code (threshold only)
    Counts last;            // after the last synthesis (threshold only)
    Counts logical_before;  // physical counts of the best text (code only)
    Counts logical_after;   // physical counts of the final text (code only)
    int cache_hits = 0;
    int cache_misses = 0;
    int unconverted_rotations = 0;  // fractional rotations no sequence was found for
    bool angle_log_failed = false;  // a write of ft_angle_analysis.txt failed (said then)
    double seconds = 0;             // run time on the monotonic clock, reading included
    std::string output_text;        // the output file's text, in the input's orientation
    std::string input_netlist;      // the input as a netlist text (a QASM input translated)
};

/// \brief Runs the whole flow for `settings`: prints "read input file= ..." and the progress
/// lines on standard output, reads the input and returns the result. Writes the side file
/// "FT_before_converted.txt" on the fault-tolerant road, never the output file. Fatal input and
/// file errors end the process with status 1.
SynthesisResult run_synthesis(const Settings& settings);

/// \brief True when the run did all it was asked: every rotation converted and the angle log
/// written whole. A run that did not still writes its output, and exits with status 1.
inline bool run_complete(const SynthesisResult& r) {
    return r.unconverted_rotations == 0 && !r.angle_log_failed;
}

/// \brief Prints the report lines of `result` (from "Forward is better!" to the run time) on
/// `out`, numbers at the stream's current precision; with unconverted rotations one "Error:" line
/// before the run time.
void print_report(const SynthesisResult& result, std::ostream& out);
