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
#include "driver/mapped_size.h"

/// Limits of the command line. Each one bounds work or recursion that the number controls.
struct CommandLineLimits {
    /// Deepest Solovay-Kitaev recursion (see Net::kMaxDepth).
    static constexpr long kMaxSkDepth = Net::kMaxDepth;
    /// Highest concatenation level of a code (see kMaxLogicalLevel).
    static constexpr long kMaxLevel = kMaxLogicalLevel;
    /// Smallest threshold the exhaustive search can verify (see kFtDistanceResolution).
    static constexpr double kMinExhaustiveThreshold = kFtDistanceResolution;
    /// Smallest distance Solovay-Kitaev reaches at any depth: at depths 5 and 6 the
    /// double-precision products stop it near 3e-6 (see Net::kMaxDepth).
    static constexpr double kMinSkThreshold = 3e-6;
    /// Finest threshold the number-theoretic synthesis reaches for every rotation and window.
    static constexpr double kMinGridThreshold = 1e-20;
};

/// Optimisation levels (--optimise): the road as it has always been, or that road after phase
/// folding and commutation-aware cancellation of the input's gates.
enum class OptimiseLevel { Standard = 1, Phases = 2 };

/// Everything a run needs from the command line.
struct Settings {
    std::string input_file;
    std::string output_file;
    PMD_type pmd = CTL;
    double threshold = 0.0;      // precision of the fault-tolerant conversion; 0: no conversion
    std::string threshold_text;  // the threshold as typed, for messages
    FtMethod ft_method = FtMethod::ByMode;  // NumberTheoretic for the word "grid"
    int ft_mode = 0;  // as given: 0 exhaustive, n > 0 Solovay-Kitaev depth n; 0 for "grid"
    qecCode code = qec_none;
    int level = 0;                         // concatenation level of the code
    long max_gates = default_max_gates();  // --max-gates; by default as memory allows
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

/// \brief Refuses, with one message line and exit status 1, settings a run cannot complete: a
/// threshold that is not finite, or, with a conversion, one that is not positive or finer than
/// the method reaches; and, with a conversion, an FT_table.txt that cannot be read or is not of
/// its form, and a working folder that cannot take the side files FT_before_converted.txt and
/// ft_angle_analysis.txt. parse_command_line calls it once the settings are read, before any
/// work.
void check_settings(const Settings& settings);

/// The side file holding the circuit just before the fault-tolerant conversion.
constexpr const char* kBeforeConversionFile = "FT_before_converted.txt";

/// \brief The name of the conversion method for reports: "exhaustive", "solovay-kitaev" or
/// "grid".
const char* ft_method_name(const Settings& settings);

/// \brief The usage line printed for too few arguments.
const char* usage_line();
