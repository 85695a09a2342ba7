#include "cost/cost_gate_count.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/netlist_text.h"

namespace {

const char* const kCostFile = "CostGateCount.txt";

/// Longest line of the file (the reader's buffer holds 99 characters and the terminator).
constexpr std::size_t kMaxLineLength = 99;

[[noreturn]] void row_error(const std::string& source, int line_number, const std::string& what) {
    fatal_error(source + " line " + std::to_string(line_number) + ": " + what);
}

/// One price token: "-" (not available) or a non-negative decimal integer.
int parse_price(const std::string& token, const std::string& source, int line_number,
                const std::string& keyword) {
    if (token == "-") return kUnavailableGate;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(token.c_str(), &end, 10);
    // NOTE: a price that is not a whole number is rejected instead of being read as 0, so that a
    // damaged table cannot make a gate look free.
    if (end == token.c_str() || *end != '\0' || errno == ERANGE || value < 0 || value > INT_MAX) {
        row_error(source, line_number,
                  "price \"" + token + "\" of row \"" + keyword +
                      "\" is not a non-negative whole number or \"-\"");
    }
    return static_cast<int>(value);
}

}  // namespace

void CostGateCount::set_cost_table() {
    std::ifstream in(kCostFile, std::ios::binary);
    if (!in.is_open()) fatal_error(std::string("Cannot open file: ") + kCostFile);
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad()) fatal_error(std::string("Cannot read file: ") + kCostFile);
    add_rows(text.str(), kCostFile);
}

void CostGateCount::add_rows(const std::string& text, const std::string& source) {
    std::istringstream in(text);
    std::string line;
    std::vector<std::string_view> tokens;
    int line_number = 0;
    while (std::getline(in, line)) {
        ++line_number;
        // NOTE: the limit counts the carriage return of a CR-LF line.
        if (!netlist::tokenize_line(line, kMaxLineLength, tokens))
            row_error(source, line_number,
                      "line longer than " + std::to_string(kMaxLineLength) + " characters");
        // Empty lines, "\r" lines and lines of separators only have no keyword: skipped.
        if (tokens.empty() || tokens[0] == "#") continue;
        const std::string keyword(tokens[0]);
        Gate_type kind;
        if (!price_row_from_keyword(keyword, kind)) fatal_error("Unsupported gate! " + keyword);
        const int prices = static_cast<int>(tokens.size()) - 1;
        if (prices != kCostColumns)
            row_error(source, line_number,
                      "row \"" + keyword + "\" has " + std::to_string(prices) + " prices, " +
                          std::to_string(kCostColumns) +
                          " expected (QD SC IT NA LP NP ND CTL FTS)");
        std::vector<int> row;
        row.reserve(kCostColumns);
        for (int i = 1; i <= kCostColumns; ++i)
            row.push_back(parse_price(std::string(tokens[i]), source, line_number, keyword));
        table.emplace(kind, std::move(row));  // the first row of a keyword counts
    }
}

int CostGateCount::get_gate_cost(Gate_type kind, PMD_type pmd) const {
    if (is_marker(kind)) return 0;
    auto it = table.find(kind);
    // A table without a ZENO_dag row prices the adjoint like ZENO (the same mapped cost).
    if (it == table.end() && kind == ZENO_dag) it = table.find(ZENO);
    if (it == table.end()) {
        const char* keyword = price_row_keyword(kind);
        fatal_error(std::string(kCostFile) + " has no row for gate " +
                    (keyword != nullptr ? std::string(keyword) : std::to_string(kind)));
    }
    if (pmd < 0 || static_cast<std::size_t>(pmd) >= it->second.size())
        fatal_error(std::string(kCostFile) + " has no price for gate " + std::to_string(kind) +
                    " on machine description " + std::to_string(pmd));
    return it->second[pmd];
}

int CostGateCount::get_line_gate_cost(std::list<Gate>& line, PMD_type pmd) const {
    int total = 0;
    for (const Gate& g : line) {
        if (g.type == OUT) break;
        total += get_gate_cost(g.type, pmd);
    }
    return total;
}

int CostGateCount::get_window_gate_cost(std::list<Gate>& line, int first, int last,
                                        PMD_type pmd) const {
    std::list<Gate>::iterator begin, end;
    cost_window_bounds(line, first, last, begin, end);
    int total = 0;
    for (auto it = begin; it != end && it != line.end(); ++it)
        total += get_gate_cost(it->type, pmd);
    return total;
}
