#include "driver/compare.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
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
#include "driver/run_files.h"

namespace fs = std::filesystem;

namespace {

constexpr PMD_type kDescriptions[] = {QD, SC, IT, NA, LP, NP, CTL, FTS};
// The files a run writes in its folder, besides its output file and the links to the data files.
constexpr const char* kRunFolderFiles[] = {"console.txt", "report.json", kSideFiles[0],
                                           kSideFiles[1]};
// The record, in each kept run folder, of the names compare wrote there (one a line): the next
// compare into the folder removes those and nothing else.
constexpr const char* kRecordFile = ".marovin-compare";
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

// The numbers after the input (threshold, ft_mode or "grid", code, level) must be numbers: a
// word would be read as 0.
void check_numbers(const std::vector<std::string>& positional) {
    constexpr const char* kNames[] = {"threshold", "ft_mode", "code", "level"};
    for (size_t i = 1; i < positional.size(); ++i) {
        const char* text = positional[i].c_str();
        if (i == 2 && positional[i] == "grid") continue;
        char* end = nullptr;
        if (i == 1)
            std::strtod(text, &end);
        else
            std::strtol(text, &end, 10);
        if (end != text && *end == '\0') continue;
        std::string message =
            std::string("compare: the ") + kNames[i - 1] + " must be a number: " + text;
        for (const PMD_type pmd : kDescriptions)
            if (positional[i] == pmd_keyword(pmd))
                message += " (compare runs every machine description; name none)";
        fatal_error(message);
    }
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

// The output file of a run is named as the input, unless that name is taken in the run's folder.
std::string output_name(const std::string& input) {
    const std::string name = fs::path(input).filename().string();
    for (const char* taken : kRunFolderFiles)
        if (name == taken) return "output_" + name;
    for (const char* taken : kDataFiles)
        if (name == taken) return "output_" + name;
    if (name == kRecordFile) return "output_" + name;
    return name;
}

// Every name a run may write in its folder: output, console, report, side files, data links.
std::vector<std::string> run_folder_names(const std::string& output) {
    std::vector<std::string> names{output};
    names.insert(names.end(), std::begin(kRunFolderFiles), std::end(kRunFolderFiles));
    names.insert(names.end(), std::begin(kDataFiles), std::end(kDataFiles));
    return names;
}

// The names an earlier compare recorded in `folder`; none without a record.
std::vector<std::string> recorded_names(const fs::path& folder) {
    std::vector<std::string> names;
    std::string text;
    if (!read_text_file((folder / kRecordFile).string(), text)) return names;
    std::istringstream lines(text);
    for (std::string name; std::getline(lines, name);)
        if (!name.empty() && name.find('/') == std::string::npos && name != "." && name != "..")
            names.push_back(name);
    return names;
}

// A kept run folder must be compare's own: no data file of its own and nothing but what an
// earlier compare recorded. Changes nothing.
void check_run_folder(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(folder, error))) return;
    if (!fs::is_directory(folder, error))
        fatal_error("The run folder " + folder.string() + " is no folder");
    const std::vector<std::string> recorded = recorded_names(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name == kRecordFile) continue;
        const bool link = entry.is_symlink(error);
        for (const char* data : kDataFiles)
            if (name == data && !link)
                fatal_error("The run folder " + folder.string() +
                            " holds a data file of its own: " + entry.path().string());
        const bool listed = std::find(recorded.begin(), recorded.end(), name) != recorded.end();
        if (!listed || (!link && !entry.is_regular_file(error)))
            fatal_error("The run folder " + folder.string() + " holds " + name +
                        ", which compare did not write there; give --out a new or empty folder");
    }
    if (error) fatal_error("Cannot read the folder " + folder.string() + ": " + error.message());
}

// Prepares a kept run folder: removes the files an earlier compare recorded, then records the
// names this run may write.
void take_run_folder(const fs::path& folder, const std::vector<std::string>& names) {
    std::error_code error;
    for (const std::string& name : recorded_names(folder)) fs::remove(folder / name, error);
    std::string record;
    for (const std::string& name : names) record += name + "\n";
    if (write_text_file_atomically((folder / kRecordFile).string(), record) != WriteStatus::Written)
        fatal_error("Cannot write " + (folder / kRecordFile).string() + " (" +
                    write_failure_cause() + ")");
}

// Holds the --out folder for this compare: an exclusive lock on the folder itself, released
// when the program ends, so that two compares never share one folder.
void lock_folder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fatal_error("Cannot open the folder " + folder.string() + " (" + std::strerror(errno) +
                    ")");
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            fatal_error("The folder " + folder.string() +
                        " is in use by another compare; wait for it to end or give another --out");
        fatal_error("Cannot lock the folder " + folder.string() + " (" + std::strerror(errno) +
                    ")");
    }
    // NOTE: the descriptor stays open for the life of the program; so does the lock.
}

// Holds back, for the parent, the signals that end a run from the keyboard or a supervisor. One
// that arrives while a child runs is passed on to the child; once the runs are over and the
// temporary folder is gone, it takes its usual course and ends the program. A signal the program
// was started to ignore (nohup, a background job of a script) stays ignored, by the parent and
// by the children. The children run with the signal mask the program started with.
class HeldInterruptions {
  public:
    HeldInterruptions() {
        sigemptyset(&held_);
        for (int signal : kSignals) {
            struct sigaction action {};
            if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
            sigaddset(&held_, signal);
        }
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

    /// \brief Waits for the child `pid` and returns its wait status, handing what the child
    /// writes on `output` (a pipe, read to its end) to `take` and passing on a held signal that
    /// arrives meanwhile. Polls ten times a second.
    int wait_for(pid_t pid, int output, const std::function<void(const char*, size_t)>& take) {
        const timespec none{0, 0};
        const timespec tick{0, 100000000};
        for (;;) {
            if (output >= 0) {
                pollfd ready{output, POLLIN, 0};
                if (poll(&ready, 1, 100) > 0) {
                    char buffer[1 << 16];
                    const ssize_t n = read(output, buffer, sizeof buffer);
                    if (n > 0)
                        take(buffer, static_cast<size_t>(n));
                    else if (n == 0 || errno != EINTR)
                        output = -1;  // the child's end is closed
                }
            } else {
                int status = 0;
                const pid_t done = waitpid(pid, &status, WNOHANG);
                if (done == pid || (done < 0 && errno != EINTR)) return status;
            }
            const int signal = sigtimedwait(&held_, nullptr, output >= 0 ? &none : &tick);
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

// What a run printed: written to its console.txt as it comes, the last line kept for the table.
class Console {
  public:
    explicit Console(int fd) : fd_(fd) {}

    void take(const char* data, size_t size) {
        for (size_t done = 0; fd_ >= 0 && error_ == 0 && done < size;) {
            const ssize_t n = write(fd_, data + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) error_ = n < 0 ? errno : EIO;
            if (n > 0) done += static_cast<size_t>(n);
        }
        for (size_t i = 0; i < size; ++i) {
            if (data[i] != '\n') {
                if (line_.size() < kLongestLine) line_ += data[i];
                continue;
            }
            if (!line_.empty()) last_ = line_;
            line_.clear();
        }
    }
    /// \brief The last line that is not empty, or "no output"; with the cause when console.txt
    /// could not take everything.
    std::string last_line() const {
        std::string last = line_.empty() ? last_ : line_;
        if (last.empty()) last = "no output";
        if (error_ != 0) last += " (console.txt: " + std::string(std::strerror(error_)) + ")";
        return last;
    }
    bool complete() const { return error_ == 0; }

  private:
    static constexpr size_t kLongestLine = 4096;
    int fd_;
    int error_ = 0;
    std::string line_, last_;
};

// The signal that ends a child whose parent has died: SIGTERM, so that a file being written is
// left whole, unless the program was started to ignore it.
int parent_death_signal() {
    struct sigaction action {};
    sigaction(SIGTERM, nullptr, &action);
    return action.sa_handler == SIG_IGN ? SIGKILL : SIGTERM;
}

// Runs one description as a child process in `folder`; what the child prints goes to
// folder/console.txt. A kept folder is taken over from an earlier compare first.
Row run_description(const CompareArguments& a, const std::string& input, PMD_type pmd,
                    const fs::path& folder, bool keep, HeldInterruptions& interruptions) {
    Row row;
    row.pmd = pmd;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) fatal_error("Cannot create the folder " + folder.string() + ": " + error.message());
    const std::string output = output_name(input);
    if (keep) take_run_folder(folder, run_folder_names(output));
    std::vector<fs::path> links;
    for (const char* name : kDataFiles) {
        const fs::path data = fs::absolute(name);
        const fs::path link = folder / name;
        if (!fs::exists(data)) continue;  // the run reports the missing file as a single run would
        fs::create_symlink(data, link, error);
        if (!error) links.push_back(link);
    }
    const auto remove_links = [&] {
        for (const fs::path& link : links) fs::remove(link, error);
    };

    std::vector<std::string> args = run_arguments(a, input, output, pmd);
    std::vector<char*> argv;
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);

    const int console_fd = open((folder / "console.txt").c_str(),
                                O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
    int pipe_fds[2] = {-1, -1};
    if (console_fd < 0 || pipe2(pipe_fds, O_CLOEXEC) != 0) {
        row.failure = "cannot write console.txt (" + std::string(std::strerror(errno)) + ")";
        if (console_fd >= 0) close(console_fd);
        remove_links();
        return row;
    }

    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t parent = getpid();
    const int death_signal = parent_death_signal();
    const pid_t pid = fork();
    if (pid < 0) fatal_error("Cannot start the run for " + std::string(pmd_keyword(pmd)));
    if (pid == 0) {
        // The child: an ordinary run of the program in its own folder, which ends when compare
        // does (also when compare is killed).
        prctl(PR_SET_PDEATHSIG, death_signal);
        if (getppid() != parent) _exit(1);
        sigprocmask(SIG_SETMASK, &interruptions.original_mask(), nullptr);
        if (chdir(folder.c_str()) != 0) _exit(1);
        dup2(pipe_fds[1], STDOUT_FILENO);
        dup2(pipe_fds[1], STDERR_FILENO);
        const int status = run_marovin(static_cast<int>(args.size()), argv.data());
        std::cout.flush();
        std::cerr.flush();
        _exit(status);
    }
    close(pipe_fds[1]);
    Console console(console_fd);
    const int status = interruptions.wait_for(
        pid, pipe_fds[0], [&](const char* data, size_t size) { console.take(data, size); });
    close(pipe_fds[0]);
    const bool console_closed = close(console_fd) == 0;
    remove_links();

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        row.failure = WIFEXITED(status) ? console.last_line() : "the run was stopped by a signal";
        return row;
    }
    if (!console.complete() || !console_closed) {
        row.failure = "console.txt could not be written: " + console.last_line();
        return row;
    }
    JsonValue report;
    std::string json_error;
    std::string json;
    if (!read_text_file((folder / "report.json").string(), json)) {
        row.failure = "the run's report is unreadable (" + std::string(std::strerror(errno)) + ")";
        return row;
    }
    if (!parse_json(json, report, json_error)) {
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
        fatal_error("Cannot write " + file + " (" + write_failure_cause() + ")");
}

void check_writable(const std::string& file) {
    if (!file.empty() && !output_path_writable(file))
        fatal_error("Cannot write " + file + " (" + write_failure_cause() + ")");
}

// Before any run: no file compare or its runs write may name the input, a data file or another
// written file.
void check_files(const CompareArguments& a, const std::string& input, const Settings& s,
                 const fs::path& out) {
    std::vector<RunFile> files{{"input file", input, FileUse::Read}};
    if (s.code != qec_none) files.push_back({"layout file", input + ".layout"});
    for (const char* data : kDataFiles) files.push_back({std::string("data file ") + data, data});
    if (!out.empty()) {
        // NOTE: the links to the data files lead, by design, to the data files; they are removed
        // before the CSV and SVG are written.
        std::vector<std::string> names = run_folder_names(output_name(input));
        names.resize(names.size() - std::size(kDataFiles));
        for (const PMD_type pmd : kDescriptions) {
            for (const std::string& name : names)
                files.push_back({std::string(pmd_keyword(pmd)) + " run's " + name,
                                 (out / pmd_keyword(pmd) / name).string(), FileUse::Written});
        }
    }
    if (!a.csv_file.empty()) files.push_back({"CSV table", a.csv_file, FileUse::Written});
    if (!a.svg_file.empty()) files.push_back({"SVG chart", a.svg_file, FileUse::Written});
    refuse_clashing_files(files);
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
    check_numbers(a.positional);
    const std::string input = fs::absolute(a.positional[0]).string();
    std::string text;
    if (!read_text_file(input, text))
        fatal_error_stderr("Cannot read input file: " + a.positional[0]);
    const Settings settings = settings_of(run_arguments(a, input, "out", CTL));
    const bool keep = !a.out_dir.empty();
    const fs::path out = keep ? fs::absolute(a.out_dir) : fs::path();
    if (keep)
        for (const PMD_type pmd : kDescriptions) {
            std::error_code error;
            const fs::path folder = out / pmd_keyword(pmd);
            if (fs::equivalent(folder, fs::current_path(), error))
                fatal_error("The run folder " + folder.string() +
                            " is the working folder; give --out a folder of its own");
        }
    if (keep) {
        std::error_code error;
        fs::create_directories(out, error);
        if (error) fatal_error("Cannot create the folder " + out.string() + ": " + error.message());
        lock_folder(out);
    }
    check_files(a, input, settings, out);
    check_writable(a.csv_file);
    check_writable(a.svg_file);
    if (keep)
        for (const PMD_type pmd : kDescriptions) check_run_folder(out / pmd_keyword(pmd));

    const fs::path base = keep ? out : temporary_folder();
    std::cout << "Compare: " << a.positional[0] << " on every machine description" << std::endl;
    ProgressMeter progress = ProgressMeter::for_terminal();
    std::vector<Row> rows;
    {
        HeldInterruptions interruptions;
        for (const PMD_type pmd : kDescriptions) {
            progress.step(std::string("compare, ") + pmd_keyword(pmd) + " (" +
                          std::to_string(rows.size() + 1) + " of " +
                          std::to_string(std::size(kDescriptions)) + ")");
            rows.push_back(
                run_description(a, input, pmd, base / pmd_keyword(pmd), keep, interruptions));
            if (interruptions.arrived()) break;
        }
        if (!keep) {
            std::error_code error;
            fs::remove_all(base, error);
        }
    }  // a signal that arrived ends the program here, after the clean-up

    // NOTE: a description that did not run is a failed row; a table is never short of one.
    for (size_t i = rows.size(); i < std::size(kDescriptions); ++i) {
        Row missing;
        missing.pmd = kDescriptions[i];
        missing.failure = "not run: compare was interrupted";
        rows.push_back(missing);
    }
    const long failures =
        std::count_if(rows.begin(), rows.end(), [](const Row& r) { return !r.ok; });
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
