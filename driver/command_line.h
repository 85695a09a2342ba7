#pragma once
// The command line: options (each beginning with "--", all before the positional arguments),
// then input_file output_file [PMD [threshold [ft_mode [code [level]]]]]. Parsing echoes the
// settings as the program has always done and refuses values the program cannot use.

#include <ostream>
#include <string>

#include "FaultTolerant/ft_method.h"
#include "FaultTolerant/ft_table.h"
#include "FaultTolerant/pelmar/net.h"
#include "circuit/gate.h"
#include "cost/logical_cost.h"

/// Limits of the command line. Each one bounds work or recursion that the number controls.
struct CommandLineLimits {
    /// Deepest Solovay-Kitaev recursion (see Net::kMaxDepth).
    static constexpr long kMaxSkDepth = Net::kMaxDepth;
    /// Highest concatenation level of a code (see kMaxLogicalLevel).
    static constexpr long kMaxLevel = kMaxLogicalLevel;
    /// Smallest threshold the exhaustive search can verify (see kFtDistanceResolution).
    static constexpr double kMinExhaustiveThreshold = kFtDistanceResolution;
    /// Default bound on the number of gates one circuit may hold once mapped (--max-gates):
    /// about 700 MB of circuit graphs and texts, and a few minutes of synthesis.
    static constexpr long kDefaultMaxGates = 1000000;
};

/// Optimisation levels (--optimise): the road as it has always been, or that road after phase
/// folding and commutation-aware cancellation of the input's gates.
enum class OptimiseLevel { Standard = 1, Phases = 2 };

/// Everything a run needs from the command line.
struct Settings {
    std::string input_file;
    std::string output_file;
    PMD_type pmd = CTL;
    double threshold = 0.0;  // precision of the fault-tolerant conversion; 0: no conversion
    FtMethod ft_method = FtMethod::ByMode;  // NumberTheoretic for the word "grid"
    int ft_mode = 0;  // as given: 0 exhaustive, n > 0 Solovay-Kitaev depth n; 0 for "grid"
    qecCode code = qec_none;
    int level = 0;  // concatenation level of the code
    long max_gates = CommandLineLimits::kDefaultMaxGates;
    std::string json_file;  // --json: where the machine-readable report goes; "" for none
    OptimiseLevel optimise = OptimiseLevel::Standard;  // --optimise

    /// \brief True when the fault-tolerant conversion runs.
    bool converts() const { return threshold != 0; }
    /// \brief True when cache misses go to the exhaustive search.
    bool exhaustive_search() const { return ft_method == FtMethod::ByMode && ft_mode == 0; }
};

enum class ParseStatus { Ok, Usage };

/// \brief Parses argv[1..argc-1] into `settings`, echoing the settings on `echo` exactly as they
/// are typed. Returns Usage when fewer than two positional arguments are given (the caller
/// prints the usage line). Values the program cannot use end the program with one message line
/// and exit status 1 (fatal_error).
ParseStatus parse_command_line(int argc, char** argv, Settings& settings, std::ostream& echo);

/// \brief The usage line printed for too few arguments.
const char* usage_line();
