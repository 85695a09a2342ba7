#include "driver/command_line.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "FaultTolerant/ft_conversion.h"
#include "circuit/fatal.h"
#include "circuit/text_file.h"

namespace {

constexpr const char* kUsage =
    "Format: <input_file> <output_file> <PMD> <threshold> <ft_mode> <code> <level>";

// Machine descriptions that the command line offers, in the order they are compared.
constexpr PMD_type kCommandLinePmds[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};

qecCode code_from_number(long number) {
    switch (number) {
        case 0:
            return qec_code0;
        case 1:
            return qec_code1;
        case 2:
            return qec_code2;
        default:
            return qec_none;  // 3 and every other number: no code
    }
}

// An integer argument as strtol reads it (non-numeric text reads as 0), and whether the value
// it names fits the range [low, high]. Out of range includes values strtol itself saturates.
struct IntegerArgument {
    long value = 0;
    bool overflowed = false;

    bool within(long low, long high) const { return !overflowed && value >= low && value <= high; }
};

IntegerArgument read_integer(const char* text) {
    IntegerArgument a;
    errno = 0;
    a.value = std::strtol(text, nullptr, 10);
    a.overflowed = errno == ERANGE;
    return a;
}

std::string to_text(long value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// The options ("--name value") ahead of the positional arguments; returns the index of the first
// positional argument. "--" alone ends the options.
int read_options(int argc, char** argv, Settings& s) {
    int i = 1;
    while (i < argc && std::string(argv[i]).rfind("--", 0) == 0) {
        const std::string option = argv[i];
        if (option == "--") return i + 1;
        if (option == "--max-gates") {
            if (i + 1 >= argc) fatal_error("The option --max-gates needs a number of gates");
            const char* text = argv[i + 1];
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(text, &end, 10);
            if (end == text || *end != '\0' || errno == ERANGE || n < 1)
                fatal_error(std::string("--max-gates needs a positive whole number of gates: ") +
                            text);
            s.max_gates = n;
            i += 2;
            continue;
        }
        if (option == "--json") {
            if (i + 1 >= argc) fatal_error("The option --json needs a file name");
            s.json_file = argv[i + 1];
            i += 2;
            continue;
        }
        if (option == "--optimise") {
            const std::string level = i + 1 < argc ? argv[i + 1] : "";
            if (level != "1" && level != "2")
                fatal_error("The option --optimise needs the level 1 or 2: " + level);
            s.optimise = level == "1" ? OptimiseLevel::Standard : OptimiseLevel::Phases;
            i += 2;
            continue;
        }
        fatal_error("Unknown option: " + option);
    }
    return i;
}

// Echoes the positional settings as given. n = number of positional arguments, a[1..n].
void echo_settings(int n, char** a, std::ostream& echo) {
    if (n < 2 || n > 7) return;
    if (n == 2) echo << "Default PMD type: CTL" << std::endl;
    if (n <= 3) echo << "No FT conversion" << std::endl;
    if (n >= 4) echo << "FT threshold is set to: " << a[4] << std::endl;
    const long ft_mode = n >= 5 ? std::strtol(a[5], nullptr, 10) : 0;
    if (n >= 4) {
        if (n >= 5 && std::string(a[5]) == "grid")
            echo << "Use number-theoretic FT synthesis" << std::endl;
        else if (ft_mode == 0)
            echo << "Use Brask FT search by default" << std::endl;
        else
            echo << "Use S-K algorithm, # iterations= " << ft_mode << std::endl;
    }
    if (n >= 6) echo << "QECC code is: " << a[6] << std::endl;
    if (n == 6) echo << "Level is: " << 1 << std::endl;
    if (n == 7) echo << "Level is " << a[7] << std::endl;
}

void read_pmd(const std::string& keyword, Settings& s, std::ostream& echo) {
    for (PMD_type pmd : kCommandLinePmds) {
        if (keyword == pmd_keyword(pmd)) {
            s.pmd = pmd;
            echo << "PMD=" << pmd_keyword(pmd) << std::endl;
            return;
        }
    }
    echo << "Not supported PMD type: " << keyword << std::endl;
}

// ft_mode: 0 is the exhaustive search, a positive number the Solovay-Kitaev depth, the word
// "grid" the number-theoretic synthesis. The depth is bounded only when a conversion runs;
// without one the number is not used.
void read_ft_mode(const char* text, Settings& s) {
    if (std::string(text) == "grid") {
        s.ft_method = FtMethod::NumberTheoretic;
        s.ft_mode = 0;
        return;
    }
    const IntegerArgument mode = read_integer(text);
    if (!mode.within(INT_MIN, INT_MAX))
        fatal_error(std::string("The FT mode is not a number the program can use: ") + text);
    s.ft_mode = static_cast<int>(mode.value);
    if (s.converts() && !mode.within(0, CommandLineLimits::kMaxSkDepth))
        fatal_error(std::string("The FT mode must be 0 (exhaustive search) or a Solovay-Kitaev "
                                "depth from 1 to ") +
                    to_text(CommandLineLimits::kMaxSkDepth) + ": " + text);
}

// The level is bounded only when a code prices the circuit; without one it is not used.
void read_level(const char* text, Settings& s) {
    const IntegerArgument level = read_integer(text);
    if (!level.within(INT_MIN, INT_MAX))
        fatal_error(std::string("The level is not a number the program can use: ") + text);
    s.level = static_cast<int>(level.value);
    if (s.code != qec_none && !level.within(0, CommandLineLimits::kMaxLevel))
        fatal_error(std::string("The level of a code must be from 0 to ") +
                    to_text(CommandLineLimits::kMaxLevel) + ": " + text);
}

// The finest threshold the settings' method reaches, and the method's name in messages.
struct ThresholdFloor {
    double value;
    const char* method;
    const char* reason;
};

ThresholdFloor threshold_floor(const Settings& s) {
    if (s.ft_method == FtMethod::NumberTheoretic)
        return {CommandLineLimits::kMinGridThreshold, "the number-theoretic synthesis",
                "its searches find no sequence for some rotations below it"};
    if (s.exhaustive_search())
        return {CommandLineLimits::kMinExhaustiveThreshold, "the exhaustive search",
                "double precision cannot verify less"};
    return {CommandLineLimits::kMinSkThreshold, "the Solovay-Kitaev algorithm",
            "no depth gets closer"};
}

std::string number_text(double x) {
    std::ostringstream out;
    out << x;
    return out.str();
}

}  // namespace

const char* usage_line() {
    return kUsage;
}

ParseStatus parse_command_line(int argc, char** argv, Settings& s, std::ostream& echo) {
    const int first = read_options(argc, argv, s);
    // a[1..n] are the positional arguments, as argv[1..] were before options existed.
    char** a = argv + first - 1;
    const int n = argc - first;
    if (n < 2) return ParseStatus::Usage;
    echo_settings(n, a, echo);

    s.input_file = a[1];
    s.output_file = a[2];
    if (n >= 3) read_pmd(a[3], s, echo);
    if (s.optimise == OptimiseLevel::Phases)
        echo << "Optimisation level 2: phase folding and commuting cancellation" << std::endl;
    if (n >= 4) {
        s.threshold = std::strtod(a[4], nullptr);
        s.threshold_text = a[4];
    }
    if (n >= 5) {
        // The threshold decides whether the mode is used; its own checks need the method.
        read_ft_mode(a[5], s);
    }
    if (n >= 6) {
        s.code = code_from_number(std::strtol(a[6], nullptr, 10));
        if (n >= 7)
            read_level(a[7], s);
        else
            s.level = 1;
    }
    check_settings(s);
    return ParseStatus::Ok;
}

void check_settings(const Settings& s) {
    // NOTE: "nan" and "inf" read as numbers; no conversion can meet such a precision.
    const std::string& typed = s.threshold_text;
    if (!std::isfinite(s.threshold)) fatal_error("The threshold must be a finite number: " + typed);
    if (!s.converts()) return;
    const ThresholdFloor floor = threshold_floor(s);
    if (s.threshold < 0)
        fatal_error(std::string("FT threshold must be a positive number for ") + floor.method);
    if (s.threshold < floor.value)
        fatal_error("The threshold must be at least " + number_text(floor.value) + " for " +
                    floor.method + " (" + floor.reason + "): " + typed);
    // The data file and the side files of the conversion, before the synthesis rather than
    // after it. Reading the cache refuses a missing file, a folder or a file not of its form.
    FT_table cache;
    cache.set_FT_table();
    if (!output_path_writable(kBeforeConversionFile))
        fatal_error(std::string("Cannot write ") + kBeforeConversionFile +
                    " in the working folder (a folder, or no write permission)");
    if (!appendable_file(kAngleLogFile))
        fatal_error(std::string("Cannot write ") + kAngleLogFile +
                    " in the working folder (a folder, or no write permission)");
}

const char* ft_method_name(const Settings& s) {
    if (s.ft_method == FtMethod::NumberTheoretic) return "grid";
    return s.exhaustive_search() ? "exhaustive" : "solovay-kitaev";
}
