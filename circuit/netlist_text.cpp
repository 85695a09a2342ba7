#include "circuit/netlist_text.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "circuit/fatal.h"

namespace netlist {

namespace {

// Quotes a line for a message: non-printable bytes become '?', long lines are cut.
std::string printable(std::string_view line) {
    constexpr size_t kShown = 60;
    std::string shown;
    for (size_t i = 0; i < line.size() && i < kShown; ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        shown += (c >= 0x20 && c < 0x7f) || c == '\t' ? static_cast<char>(c) : '?';
    }
    if (line.size() > kShown) shown += "...";
    return shown;
}
}  // namespace

bool LineReader::next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    line = std::string_view(text_).substr(pos_, end - pos_);
    pos_ = end + 1;
    ++number_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

void check_line_lengths(const std::string& text) {
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() > kMaxLineLength)
            fatal_error("Netlist line " + std::to_string(lines.line_number()) + " is longer than " +
                        std::to_string(kMaxLineLength) + " characters");
    }
}

bool tokenize_line(std::string_view line, size_t max_length, std::vector<std::string_view>& tokens,
                   std::string_view separators) {
    tokens.clear();
    if (line.size() > max_length) return false;
    size_t pos = line.find_first_not_of(separators);
    while (pos != std::string_view::npos) {
        size_t end = line.find_first_of(separators, pos);
        if (end == std::string_view::npos) end = line.size();
        tokens.push_back(line.substr(pos, end - pos));
        pos = line.find_first_not_of(separators, end);
    }
    return true;
}

void tokenize(std::string_view line, std::vector<std::string_view>& tokens) {
    tokenize_line(line, kAnyLength, tokens);
}

bool is_comment(const std::vector<std::string_view>& tokens) {
    return !tokens.empty() && tokens.front() == "#";
}

bool parse_number(std::string_view token, double& value) {
    if (token.empty()) return false;
    const std::string copy(token);
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parse_int(std::string_view token, int& value) {
    if (token.empty()) return false;
    const std::string copy(token);
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(copy.c_str(), &end, 10);
    if (end != copy.c_str() + copy.size() || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::string format_exact(double value) {
    char buffer[40];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        if (std::strtod(buffer, nullptr) == value) break;
    }
    return buffer;
}

std::string format_round_trip(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.16g", value);
    if (std::strtod(buffer, nullptr) != value) std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

void line_error(int number, std::string_view line, const std::string& problem) {
    fatal_error("Netlist line " + std::to_string(number) + " (\"" + printable(line) +
                "\"): " + problem);
}

}  // namespace netlist
