#include "driver/compare.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/netlist_text.h"
#include "circuit/text_file.h"
#include "driver/bar_chart.h"
#include "driver/command_line.h"
#include "driver/json_value.h"
#include "driver/program.h"
#include "driver/progress.h"

namespace fs = std::filesystem;

namespace {

constexpr PMD_type kDescriptions[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};
constexpr const char* kDataFiles[] = {"CostGateCount.txt", "FT_table.txt"};
constexpr const char* kUsage =
    "Format: compare [--csv FILE] [--svg FILE] [--out DIR] [--max-gates N] <input_file> "
    "[<threshold> [<ft_mode> [<code> [<level>]]]]";

struct CompareArguments {
    std::string csv_file;
    std::string svg_file;
    std::string out_dir;
    std::vector<std::string> passed_options;  // handed to every run
    std::vector<std::string> positional;      // input, then the numbers
};

// Figures of one description, from the run's JSON report.
struct Row {
    PMD_type pmd = CTL;
    bool ok = false;
    std::string failure;     // the run's last console line when it failed
    double values[13] = {};  // see kFigures
};

// The figures a row holds: their JSON path and the CSV column name.
struct Figure {
    const char* stage;
    const char* key;
    const char* column;
};
constexpr Figure kFigures[] = {
    {"non_ft", "ops_before", "ops_before"},
    {"non_ft", "ops_after", "ops_after"},
    {"non_ft", "cycles_before", "cycles_before"},
    {"non_ft", "cycles_after", "cycles_after"},
    {"post_ft", "ops_before", "ft_ops_before"},
    {"post_ft", "ops_after", "ft_ops_after"},
    {"post_ft", "cycles_before", "ft_cycles_before"},
    {"post_ft", "cycles_after", "ft_cycles_after"},
    {"logical", "ops_before", "logical_ops_before"},
    {"logical", "ops_after", "logical_ops_after"},
    {"logical", "cycles_before", "logical_cycles_before"},
    {"logical", "cycles_after", "logical_cycles_after"},
    {"", "seconds", "seconds"},
};
constexpr int kNonFt = 0, kPostFt = 4, kLogical = 8, kSeconds = 12;

CompareArguments read_arguments(int argc, char** argv) {
    CompareArguments a;
    bool options = true;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
            continue;
        }
        if (!options || arg.rfind("--", 0) != 0) {
            a.positional.push_back(arg);
            continue;
        }
        if (i + 1 >= argc) fatal_error("The option " + arg + " needs a value");
        const std::string value = argv[++i];
        if (arg == "--csv")
            a.csv_file = value;
        else if (arg == "--svg")
            a.svg_file = value;
        else if (arg == "--out")
            a.out_dir = value;
        else if (arg == "--max-gates" || arg == "--optimise")
            a.passed_options.insert(a.passed_options.end(), {arg, value});
        else
            fatal_error("Unknown option of compare: " + arg);
    }
    return a;
}

// The command line of one description's run.
std::vector<std::string> run_arguments(const CompareArguments& a, const std::string& input,
                                       const std::string& output, PMD_type pmd) {
    std::vector<std::string> args{"marovin"};
    args.insert(args.end(), a.passed_options.begin(), a.passed_options.end());
    args.insert(args.end(), {"--json", "report.json", input, output, pmd_keyword(pmd)});
    args.insert(args.end(), a.positional.begin() + 1, a.positional.end());
    return args;
}

// Parses the settings a run would use, so that bad numbers are refused once, before any run.
Settings settings_of(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& s : args) argv.push_back(s.data());
    Settings settings;
    std::ostringstream echo;
    parse_command_line(static_cast<int>(argv.size()), argv.data(), settings, echo);
    return settings;
}

std::string last_line(const std::string& text) {
    std::istringstream in(text);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty()) last = line;
    return last.empty() ? "no output" : last;
}

// The output file of a run is named as the input, unless that name is taken in the run's folder.
std::string output_name(const std::string& input) {
    const std::string name = fs::path(input).filename().string();
    for (const char* taken : {"console.txt", "report.json", "CostGateCount.txt", "FT_table.txt",
                              "FT_before_converted.txt", "ft_angle_analysis.txt"})
        if (name == taken) return "output_" + name;
    return name;
}

// Holds back, for the parent, the signals that end a run from the keyboard or a supervisor. One
// that arrives while a child runs is passed on to the child; once the runs are over and the
// temporary folder is gone, it takes its usual course and ends the program. The children run
// with the signal mask the program started with.
class HeldInterruptions {
  public:
    HeldInterruptions() {
        sigemptyset(&held_);
        for (int signal : kSignals) sigaddset(&held_, signal);
        sigprocmask(SIG_BLOCK, &held_, &previous_);
    }
    ~HeldInterruptions() {
        sigprocmask(SIG_SETMASK, &previous_, nullptr);
        if (received_ != 0) raise(received_);
    }
    HeldInterruptions(const HeldInterruptions&) = delete;
    HeldInterruptions& operator=(const HeldInterruptions&) = delete;

    /// \brief The mask to run a child with.
    const sigset_t& original_mask() const { return previous_; }
    /// \brief True once a held signal has arrived: no further run is started.
    bool arrived() const { return received_ != 0; }

    /// \brief Waits for the child `pid` and returns its wait status, passing on a held signal
    /// that arrives meanwhile. Polls ten times a second.
    int wait_for(pid_t pid) {
        const timespec tick{0, 100000000};
        for (;;) {
            int status = 0;
            const pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid || (done < 0 && errno != EINTR)) return status;
            const int signal = sigtimedwait(&held_, nullptr, &tick);
            if (signal > 0) {
                received_ = signal;
                kill(pid, signal);
            }
        }
    }

  private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    sigset_t held_;
    sigset_t previous_;
    int received_ = 0;
};

// Runs one description as a child process in `folder`; the child's console goes to
// folder/console.txt.
Row run_description(const CompareArguments& a, const std::string& input, PMD_type pmd,
                    const fs::path& folder, HeldInterruptions& interruptions) {
    Row row;
    row.pmd = pmd;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) fatal_error("Cannot create the folder " + folder.string() + ": " + error.message());
    std::vector<fs::path> links;
    for (const char* name : kDataFiles) {
        const fs::path data = fs::absolute(name);
        const fs::path link = folder / name;
        fs::remove(link, error);
        if (!fs::exists(data)) continue;  // the run reports the missing file as a single run would
        fs::create_symlink(data, link, error);
        if (!error) links.push_back(link);
    }
    fs::remove(folder / "report.json", error);

    std::vector<std::string> args = run_arguments(a, input, output_name(input), pmd);
    std::vector<char*> argv;
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);

    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) fatal_error("Cannot start the run for " + std::string(pmd_keyword(pmd)));
    if (pid == 0) {
        // The child: an ordinary run of the program in its own folder.
        sigprocmask(SIG_SETMASK, &interruptions.original_mask(), nullptr);
        const int console = chdir(folder.c_str()) == 0
                                ? open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644)
                                : -1;
        if (console < 0) _exit(1);
        dup2(console, STDOUT_FILENO);
        dup2(console, STDERR_FILENO);
        close(console);
        const int status = run_marovin(static_cast<int>(args.size()), argv.data());
        std::cout.flush();
        std::cerr.flush();
        _exit(status);
    }
    const int status = interruptions.wait_for(pid);
    for (const fs::path& link : links) fs::remove(link, error);

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::string console;
        read_text_file((folder / "console.txt").string(), console);
        row.failure = WIFEXITED(status) ? last_line(console) : "the run was stopped by a signal";
        return row;
    }
    JsonValue report;
    std::string json_error;
    std::string json;
    if (!read_text_file((folder / "report.json").string(), json) ||
        !parse_json(json, report, json_error)) {
        row.failure = "the run's report is unreadable " + json_error;
        return row;
    }
    for (size_t i = 0; i < std::size(kFigures); ++i) {
        std::vector<std::string> path;
        if (*kFigures[i].stage) path.push_back(kFigures[i].stage);
        path.push_back(kFigures[i].key);
        row.values[i] = report.number_at(path, NAN);
    }
    row.ok = true;
    return row;
}

// A figure as the table shows it: whole numbers in full, others with six digits.
std::string cell_number(double x) {
    char buffer[40];
    if (!std::isfinite(x)) return "-";
    if (x == std::floor(x) && std::fabs(x) < 1e15)
        std::snprintf(buffer, sizeof buffer, "%.0f", x);
    else
        std::snprintf(buffer, sizeof buffer, "%.6g", x);
    return buffer;
}

// The column groups shown: non-FT always, post-FT with a threshold, logical with a code.
std::vector<int> stages_shown(const Settings& s) {
    std::vector<int> stages{kNonFt};
    if (s.converts()) stages.push_back(kPostFt);
    if (s.code != qec_none) stages.push_back(kLogical);
    return stages;
}

std::string padded_left(const std::string& s, size_t width) {
    return std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
}

// One column of the table: a header and, per row, a figure before and after (or one text).
struct Column {
    std::string header;
    std::vector<std::string> before, after;

    size_t width_before() const { return longest(before); }
    size_t width_after() const { return longest(after); }
    size_t width() const {
        const size_t pair = after.empty() ? width_before() : width_before() + 4 + width_after();
        return std::max(header.size(), pair);
    }
    std::string cell(size_t row) const {
        if (after.empty()) return padded_left(before[row], width());
        return padded_left(padded_left(before[row], width_before()) + " -> " +
                               padded_left(after[row], width_after()),
                           width());
    }

  private:
    static size_t longest(const std::vector<std::string>& v) {
        size_t n = 0;
        for (const std::string& s : v) n = std::max(n, s.size());
        return n;
    }
};

std::string table(const std::vector<Row>& rows, const Settings& s) {
    const char* const stage_names[] = {"", "post-FT ", "logical "};
    std::vector<Column> columns;
    for (const int stage : stages_shown(s)) {
        for (const int k : {0, 2}) {
            Column c;
            c.header =
                std::string(stage_names[stage / 4]) + (k ? "cycles" : "ops") + " before -> after";
            for (const Row& r : rows) {
                if (!r.ok) continue;
                c.before.push_back(cell_number(r.values[stage + k]));
                c.after.push_back(cell_number(r.values[stage + k + 1]));
            }
            columns.push_back(c);
        }
    }
    Column seconds;
    seconds.header = "seconds";
    for (const Row& r : rows) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.3f", r.values[kSeconds]);
        if (r.ok) seconds.before.push_back(buffer);
    }
    columns.push_back(seconds);

    const size_t name_width = std::string("description").size();
    std::string out = "description";
    for (const Column& c : columns) out += "  " + padded_left(c.header, c.width());
    out += "\n";
    size_t k = 0;  // index among the rows that ran
    for (const Row& r : rows) {
        std::string line = pmd_keyword(r.pmd);
        line += std::string(name_width - line.size(), ' ');
        if (r.ok) {
            for (const Column& c : columns) line += "  " + c.cell(k);
            ++k;
        } else {
            line += "  failed: " + r.failure;
        }
        out += line + "\n";
    }
    return out;
}

std::string csv_field(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string out = "\"";
    for (const char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string csv(const std::vector<Row>& rows, const Settings& s) {
    std::vector<int> columns;
    for (const int stage : stages_shown(s))
        for (int k = 0; k < 4; ++k) columns.push_back(stage + k);
    columns.push_back(kSeconds);
    std::string out = "description";
    for (const int c : columns) out += std::string(",") + kFigures[c].column;
    out += ",status,message\n";
    for (const Row& r : rows) {
        out += pmd_keyword(r.pmd);
        for (const int c : columns)
            out += "," + (r.ok && std::isfinite(r.values[c]) ? netlist::format_exact(r.values[c])
                                                             : std::string());
        out += r.ok ? ",ok,\n" : ",failed," + csv_field(r.failure) + "\n";
    }
    return out;
}

std::string svg(const std::vector<Row>& rows, const std::string& input) {
    BarChart chart;
    chart.title =
        "Synthesis of " + fs::path(input).filename().string() + " per machine description";
    chart.x_label = "machine description";
    chart.y_label = "count after synthesis";
    chart.series = {"operations", "cycles"};
    for (const Row& r : rows) {
        BarGroup g{pmd_keyword(r.pmd), {}};
        if (r.ok) g.values = {r.values[kNonFt + 1], r.values[kNonFt + 3]};
        chart.groups.push_back(g);
    }
    return bar_chart_svg(chart);
}

void write_file(const std::string& file, const std::string& text) {
    if (write_text_file_atomically(file, text) != WriteStatus::Written)
        fatal_error("Cannot write " + file);
}

void check_writable(const std::string& file) {
    if (!file.empty() && !output_path_writable(file)) fatal_error("Cannot write " + file);
}

// A fresh private folder for the runs when no --out folder keeps them.
fs::path temporary_folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/marovin-compare-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) fatal_error("Cannot create a temporary folder");
    return pattern;
}

}  // namespace

int run_compare(int argc, char** argv) {
    const CompareArguments a = read_arguments(argc, argv);
    if (a.positional.empty() || a.positional.size() > 5) {
        std::cout << kUsage << std::endl;
        return 1;
    }
    const std::string input = fs::absolute(a.positional[0]).string();
    std::string text;
    if (!read_text_file(input, text))
        fatal_error_stderr("Cannot read input file: " + a.positional[0]);
    const Settings settings = settings_of(run_arguments(a, input, "out", CTL));
    check_writable(a.csv_file);
    check_writable(a.svg_file);

    const bool keep = !a.out_dir.empty();
    const fs::path base = keep ? fs::absolute(a.out_dir) : temporary_folder();
    std::cout << "Compare: " << a.positional[0] << " on every machine description" << std::endl;
    ProgressMeter progress = ProgressMeter::for_terminal();
    std::vector<Row> rows;
    int failures = 0;
    {
        HeldInterruptions interruptions;
        for (const PMD_type pmd : kDescriptions) {
            progress.step(std::string("compare, ") + pmd_keyword(pmd) + " (" +
                          std::to_string(rows.size() + 1) + " of " +
                          std::to_string(std::size(kDescriptions)) + ")");
            rows.push_back(run_description(a, input, pmd, base / pmd_keyword(pmd), interruptions));
            if (!rows.back().ok) ++failures;
            if (interruptions.arrived()) break;
        }
        if (!keep) {
            std::error_code error;
            fs::remove_all(base, error);
        }
    }  // a signal that arrived ends the program here, after the clean-up

    std::cout << table(rows, settings);
    if (!a.csv_file.empty()) write_file(a.csv_file, csv(rows, settings));
    if (!a.svg_file.empty()) write_file(a.svg_file, svg(rows, a.positional[0]));
    if (keep)
        std::cout << "Outputs and console logs in " << base.string() << "/<description>/"
                  << std::endl;
    if (failures > 0) {
        std::cout << "Error: " << failures << " of " << std::size(kDescriptions)
                  << " descriptions failed" << std::endl;
        return 1;
    }
    return 0;
}
