#include "optimise/toffoli_form.h"

#include <string_view>
#include <vector>

#include "circuit/netlist_text.h"

namespace phases {

std::string toffoli_form(const std::string& netlist) {
    std::string out;
    out.reserve(netlist.size());
    netlist::LineReader lines(netlist);
    std::string_view line;
    std::vector<std::string_view> tokens;
    bool gates = false;  // between ".begin" and ".end"
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (!tokens.empty() && tokens[0] == ".begin") gates = true;
        if (!tokens.empty() && tokens[0] == ".end") gates = false;
        const bool doubly_controlled =
            gates && tokens.size() == 4 && (tokens[0] == "CkZ" || tokens[0] == "MCT");
        if (!doubly_controlled) {
            out.append(line).push_back('\n');
            continue;
        }
        const std::string toffoli = "Toffoli " + std::string(tokens[1]) + " " +
                                    std::string(tokens[2]) + " " + std::string(tokens[3]) + "\n";
        const std::string hadamard = "H " + std::string(tokens[3]) + "\n";
        if (tokens[0] == "CkZ") out += hadamard;
        out += toffoli;
        if (tokens[0] == "CkZ") out += hadamard;
    }
    return out;
}

}  // namespace phases
