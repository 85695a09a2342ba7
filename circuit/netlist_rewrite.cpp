// Netlist text rewrites: reversal of the gate section and gate-by-gate inversion.

#include "circuit/netlist_rewrite.h"

#include <string_view>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/netlist_text.h"

namespace {

using Tokens = std::vector<std::string_view>;

void append_line(std::string& out, std::string_view line) {
    out.append(line);
    out += '\n';
}

enum class Phase { Keep, Negate };

// Copies the header up to and including ".begin" into `out`, dropping lines without tokens.
// With Phase::Negate a ".global_phase x" line is written with -x (the inverse circuit's phase).
// True when ".begin" was found.
bool copy_header(netlist::LineReader& lines, std::string& out, Phase phase) {
    std::string_view line;
    Tokens tokens;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty()) continue;
        double value = 0;
        // NOTE: copying the phase unchanged would leave the inverted text off by twice the phase.
        if (phase == Phase::Negate && tokens[0] == ".global_phase" && tokens.size() > 1 &&
            netlist::parse_number(tokens[1], value)) {
            out += ".global_phase " + netlist::format_exact(-value) + "\n";
            continue;
        }
        append_line(out, line);
        if (tokens[0] == ".begin") return true;
    }
    return false;
}

// How one gate keyword is inverted. Qubit operands are copied as text; angles (π/4) are parsed
// and written negated, except where noted.
enum class Inversion {
    SameGate,    // keyword and its qubits unchanged (self-inverse one-qubit gates)
    Renamed,     // another keyword, same qubits
    Negated,     // same keyword and qubits, the one angle negated
    RXYAngles,   // RXY q -a b
    ASQUAngles,  // ASQU q -c -b -a
    WholeLine    // self-inverse gate: the line as read
};

struct InverseRow {
    const char* keyword;
    Inversion how;
    int qubits;  // qubit operands (the line's other operands are angles)
    const char* inverse_keyword;
};

constexpr InverseRow kInverseRows[] = {
    {"I", Inversion::SameGate, 1, "I"},
    {"X", Inversion::SameGate, 1, "X"},
    {"Y", Inversion::SameGate, 1, "Y"},
    {"Z", Inversion::SameGate, 1, "Z"},
    {"H", Inversion::SameGate, 1, "H"},
    {"S", Inversion::Renamed, 1, "S_dag"},
    {"S_dag", Inversion::Renamed, 1, "S"},
    {"T", Inversion::Renamed, 1, "T_dag"},
    {"T_dag", Inversion::Renamed, 1, "T"},
    {"RX", Inversion::Negated, 1, "RX"},
    {"RY", Inversion::Negated, 1, "RY"},
    {"RZ", Inversion::Negated, 1, "RZ"},
    {"RXY", Inversion::RXYAngles, 1, "RXY"},
    {"ASQU", Inversion::ASQUAngles, 1, "ASQU"},
    {"CP", Inversion::Negated, 2, "CP"},
    {"GEO", Inversion::Negated, 2, "GEO"},
    {"ISWAP", Inversion::Negated, 2, "ISWAP"},
    {"ZENO", Inversion::Renamed, 2, "ZENO_dag"},
    {"ZENO_dag", Inversion::Renamed, 2, "ZENO"},
    {"PERES", Inversion::Renamed, 3, "PERES_dag"},
    {"PERES_dag", Inversion::Renamed, 3, "PERES"},
    {"CNOT", Inversion::WholeLine, 0, nullptr},
    {"CZ", Inversion::WholeLine, 0, nullptr},
    {"SWAP", Inversion::WholeLine, 0, nullptr},
    {"Toffoli", Inversion::WholeLine, 0, nullptr},
    {"Fredkin", Inversion::WholeLine, 0, nullptr},
    {"MCT", Inversion::WholeLine, 0, nullptr},
    {"CkZ", Inversion::WholeLine, 0, nullptr},
};

int angle_count(Inversion how) {
    switch (how) {
        case Inversion::Negated:
            return 1;
        case Inversion::RXYAngles:
            return 2;
        case Inversion::ASQUAngles:
            return 3;
        default:
            return 0;
    }
}

// Writes the inverse of one gate line.
void invert_gate_line(const netlist::LineReader& lines, std::string_view line, const Tokens& tokens,
                      std::string& out) {
    const InverseRow* row = nullptr;
    for (const InverseRow& r : kInverseRows)
        if (tokens[0] == r.keyword) row = &r;
    if (row == nullptr) fatal_error("Unknown gate: " + std::string(tokens[0]));
    if (row->how == Inversion::WholeLine) return append_line(out, line);

    const size_t operands = row->qubits + angle_count(row->how);
    if (tokens.size() < operands + 1)
        netlist::line_error(lines.line_number(), line,
                            std::string(tokens[0]) + " needs " + std::to_string(operands) +
                                (operands == 1 ? " operand" : " operands"));
    double angle[3] = {0, 0, 0};
    for (int i = 0; i < angle_count(row->how); ++i) {
        std::string_view token = tokens[1 + row->qubits + i];
        if (!netlist::parse_number(token, angle[i]))
            netlist::line_error(lines.line_number(), line,
                                "angle \"" + std::string(token) + "\" is not a finite number");
    }

    out += row->inverse_keyword;
    for (int i = 1; i <= row->qubits; ++i) {
        out += ' ';
        out.append(tokens[i]);
    }
    // NOTE: numbers are written so that they read back to the same double; six significant
    // digits would change the angles of every backward result.
    auto number = [&](double value) {
        out += ' ';
        out += netlist::format_exact(value);
    };
    switch (row->how) {
        case Inversion::Negated:
            number(-angle[0]);
            break;
        case Inversion::RXYAngles:
            number(-angle[0]);
            number(angle[1]);
            break;
        case Inversion::ASQUAngles:
            number(-angle[2]);
            number(-angle[1]);
            number(-angle[0]);
            break;
        default:
            break;
    }
    out += '\n';
}

}  // namespace

void reverse_netlist(std::string& in, std::string& out) {
    netlist::LineReader lines(in);
    std::string result;
    result.reserve(in.size() + 8);
    if (copy_header(lines, result, Phase::Keep)) {
        std::vector<std::string_view> gate_lines;
        std::string_view line;
        Tokens tokens;
        while (lines.next(line)) {
            netlist::tokenize(line, tokens);
            if (tokens.empty()) continue;  // blank lines carry nothing
            if (tokens[0] == ".end") break;
            gate_lines.push_back(line);
        }
        for (auto it = gate_lines.rbegin(); it != gate_lines.rend(); ++it) append_line(result, *it);
    }
    result += ".end\n";
    out = std::move(result);
}

void inverse_netlist(std::string& in, std::string& out) {
    netlist::LineReader lines(in);
    std::string result;
    result.reserve(in.size() + in.size() / 4);
    // The first line is the writer's title comment; it is dropped.
    // NOTE: only a comment or empty first line is dropped; dropping any first line loses the
    // ".qubit" declaration of a file that starts with it.
    std::string_view line;
    Tokens tokens;
    {
        netlist::LineReader probe(in);
        if (probe.next(line)) {
            netlist::tokenize(line, tokens);
            if (tokens.empty() || netlist::is_comment(tokens)) lines.next(line);
        }
    }
    if (copy_header(lines, result, Phase::Negate)) {
        while (lines.next(line)) {
            netlist::tokenize(line, tokens);
            if (tokens.empty() || netlist::is_comment(tokens)) continue;
            if (tokens[0] == ".end") {
                result += ".end\n";
                break;
            }
            invert_gate_line(lines, line, tokens, result);
        }
    }
    out = std::move(result);
}
