#include "driver/mapped_size.h"

#include <cmath>
#include <sstream>
#include <string_view>
#include <vector>

#include "circuit/netlist_text.h"

namespace {

// Gates one gate line yields at most; tokens[0] is its keyword.
double line_bound(const std::vector<std::string_view>& tokens) {
    const std::string_view keyword = tokens[0];
    const bool list_gate =
        keyword == "MCT" || keyword == "CkZ" || (keyword == "Toffoli" && tokens.size() != 4);
    if (!list_gate || tokens.size() < 3) return MappedSizeBound::kGatesPerLine;
    const int controls = static_cast<int>(tokens.size()) - 2;
    return MappedSizeBound::kGatesPerControlSubset * (std::ldexp(1.0, controls) - 1) + 2;
}

}  // namespace

void check_mapped_size(const std::string& text, long max_gates) {
    netlist::LineReader lines(text);
    std::vector<std::string_view> tokens;
    std::string_view line;
    bool in_gates = false;
    double total = 0;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty() || netlist::is_comment(tokens)) continue;
        if (tokens[0] == ".end") return;
        if (tokens[0] == ".begin") {
            in_gates = true;
            continue;
        }
        if (!in_gates) continue;
        total += line_bound(tokens);
        if (total > static_cast<double>(max_gates)) {
            std::ostringstream problem;
            problem.precision(3);
            problem << "the circuit would grow to about " << total
                    << " gates once mapped, more than the limit of " << max_gates
                    << " (raise it with --max-gates N)";
            netlist::line_error(lines.line_number(), line, problem.str());
        }
    }
}
