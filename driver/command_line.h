#pragma once
// The command line: options (each beginning with "--", all before the positional arguments),
// then input_file output_file [PMD [threshold [ft_mode [code [level]]]]]. Parsing echoes the
// settings as the program has always done and refuses values the program cannot use.

#include <ostream>
#include <string>

#include "circuit/gate.h"

/// How a cache miss of the fault-tolerant conversion is searched, as chosen by ft_mode.
enum class FtMethod { Exhaustive, SolovayKitaev };

/// Limits of the command line. Each one bounds work or recursion that the number controls.
struct CommandLineLimits {
    /// Deepest Solovay-Kitaev recursion: sequences grow fivefold and the work threefold per
    /// level, and beyond this depth double precision no longer improves the approximation.
    static constexpr long kMaxSkDepth = 8;
    /// Highest concatenation level of a code: the logical counts grow by two to three orders of
    /// magnitude per level and leave the range of doubles above this level.
    static constexpr long kMaxLevel = 40;
    /// Smallest threshold the exhaustive search can verify: distances are computed in double
    /// precision from a trace and cannot resolve less.
    static constexpr double kMinExhaustiveThreshold = 1e-7;
    /// Default bound on the number of mapped gates of one circuit (see --max-gates).
    static constexpr long kDefaultMaxGates = 20000000;
};

/// Everything a run needs from the command line.
struct Settings {
    std::string input_file;
    std::string output_file;
    PMD_type pmd = CTL;
    double threshold = 0.0;  // precision of the fault-tolerant conversion; 0: no conversion
    FtMethod ft_method = FtMethod::Exhaustive;
    int ft_mode = 0;  // as given: 0 exhaustive, n > 0 Solovay-Kitaev depth n
    qecCode code = qec_none;
    int level = 0;  // concatenation level of the code
    long max_gates = CommandLineLimits::kDefaultMaxGates;
    std::string json_file;  // --json: where the machine-readable report goes; "" for none

    /// \brief True when the fault-tolerant conversion runs.
    bool converts() const { return threshold != 0; }
};

enum class ParseStatus { Ok, Usage };

/// \brief Parses argv[1..argc-1] into `settings`, echoing the settings on `echo` exactly as they
/// are typed. Returns Usage when fewer than two positional arguments are given (the caller
/// prints the usage line). Values the program cannot use end the program with one message line
/// and exit status 1 (fatal_error).
ParseStatus parse_command_line(int argc, char** argv, Settings& settings, std::ostream& echo);

/// \brief The usage line printed for too few arguments.
const char* usage_line();
