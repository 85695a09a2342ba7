#include "circuit/qasm_writer.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/gate.h"
#include "circuit/netlist_text.h"

namespace {

// Gate definitions for the kinds without a standard gate. Parameters are radians:
// rxy(theta, phi) = exp(-i theta/2 (cos(phi) X - sin(phi) Y)); the program's RXY(t, f) is that
// rotation by -t, so it is written rxy(-t, f);
// asqu(a, b, c) is the program's ASQU: Rz(-c), then Ry(-b), then Rz(-a) in time order;
// geo(t) = exp(-i t ZZ/2), the program's GEO up to phase;
// iswap(t) = exp(-i t (XX + YY)/2) exactly, written as an XX and a YY rotation;
// zeno and zeno_dag are iswap(pi/2) and iswap(-pi/2).
struct Definition {
    const char* name;
    const char* text;
    const char* needs;  // a definition this one calls, or ""
};
const Definition kDefinitions[] = {
    {"rxy", "gate rxy(theta,phi) a { rz(phi) a; rx(theta) a; rz(-phi) a; }", ""},
    {"asqu", "gate asqu(alpha,beta,gamma) a { rz(-gamma) a; ry(-beta) a; rz(-alpha) a; }", ""},
    {"geo", "gate geo(theta) a,b { cx a,b; rz(theta) b; cx a,b; }", ""},
    {"iswap",
     "gate iswap(theta) a,b { h a; h b; cx a,b; rz(theta) b; cx a,b; h a; h b; rx(pi/2) a; "
     "rx(pi/2) b; cx a,b; rz(theta) b; cx a,b; rx(-pi/2) a; rx(-pi/2) b; }",
     ""},
    {"zeno", "gate zeno a,b { iswap(pi/2) a,b; }", "iswap"},
    {"zeno_dag", "gate zeno_dag a,b { iswap(-pi/2) a,b; }", "iswap"},
};

// How each kind is written: the QASM gate and, per netlist angle, the factor that turns the
// angle into the QASM parameter (in π/4 units; the radians follow by π/4).
struct Form {
    Gate_type kind;
    const char* name;
    int angles;
    double factors[3];
};
const Form kForms[] = {
    {I, "id", 0, {}},
    {X, "x", 0, {}},
    {Y, "y", 0, {}},
    {Z, "z", 0, {}},
    {H, "h", 0, {}},
    {S, "s", 0, {}},
    {S_dag, "sdg", 0, {}},
    {T, "t", 0, {}},
    {T_dag, "tdg", 0, {}},
    {RX, "rx", 1, {1}},
    {RY, "ry", 1, {-1}},  // the program's RY turns the other way
    {RZ, "rz", 1, {1}},
    {RXY, "rxy", 2, {-1, 1}},  // RXY(t, f) is a rotation by -t
    {ASQU, "asqu", 3, {1, 1, 1}},
    {CNOT, "cx", 0, {}},
    {CZ, "cz", 0, {}},
    {SWAP, "swap", 0, {}},
    {ZENO, "zeno", 0, {}},
    {ZENO_dag, "zeno_dag", 0, {}},
    {CP, "cu1", 1, {1}},
    {GEO, "geo", 1, {1}},
    {ISWAP, "iswap", 1, {1}},
};

const Form* form_of(Gate_type kind) {
    for (const Form& f : kForms)
        if (f.kind == kind) return &f;
    return nullptr;
}

// A QASM real for the angle a (π/4 units) in radians: "pi*x" with x = a/4, exact in binary.
std::string radians(double a) {
    const double x = a / 4;
    if (x == 0.0) return "0";
    std::string digits = netlist::format_exact(x < 0 ? -x : x);
    // A QASM real needs a point before its exponent.
    const size_t e = digits.find('e');
    if (e != std::string::npos && digits.find('.') == std::string::npos) digits.insert(e, ".0");
    return (x < 0 ? "-pi*" : "pi*") + digits;
}

bool is_identifier(std::string_view s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

struct QasmRegister {
    std::string name;
    int size = 0;
};

// The registers "reg[0] reg[1] ... other[0] ..." of qubit names in declaration order, or one
// register q when the names are not of that form.
std::vector<QasmRegister> registers_of(const std::vector<std::string>& names) {
    static const std::set<std::string> kReserved = {
        "OPENQASM", "include", "qreg", "creg", "gate", "opaque", "measure",
        "barrier",  "reset",   "if",   "pi",   "U",    "CX",     "sin",
        "cos",      "tan",     "exp",  "ln",   "sqrt"};
    std::vector<QasmRegister> registers;
    std::set<std::string> seen;
    for (const std::string& name : names) {
        const size_t open = name.find('[');
        bool ok = open != std::string::npos && name.back() == ']' && open + 2 < name.size();
        std::string reg = ok ? name.substr(0, open) : "";
        std::string index = ok ? name.substr(open + 1, name.size() - open - 2) : "";
        ok = ok && is_identifier(reg) && !kReserved.count(reg) &&
             std::all_of(index.begin(), index.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
        if (ok && !registers.empty() && registers.back().name == reg) {
            ok = index == std::to_string(registers.back().size);
            if (ok) ++registers.back().size;
        } else if (ok) {
            ok = index == "0" && seen.insert(reg).second;
            if (ok) registers.push_back({reg, 1});
        }
        if (!ok) return {{"q", static_cast<int>(names.size())}};
    }
    return registers;
}

[[noreturn]] void writer_error(int number, const std::string& problem) {
    fatal_error("Cannot write netlist line " + std::to_string(number) + " as OpenQASM: " + problem);
}

}  // namespace

std::string netlist_to_qasm(const std::string& netlist, NetlistOrder order) {
    netlist::LineReader lines(netlist);
    std::string_view line;
    std::vector<std::string_view> tokens;
    std::vector<std::string> names;
    std::string pmd = "";
    bool gates = false;
    std::set<std::string> used;
    struct Pending {
        const Form* form;
        std::vector<std::string> qubits;
        std::string parameters;
    };
    std::vector<Pending> pending;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty() || netlist::is_comment(tokens)) continue;
        const std::string_view key = tokens[0];
        if (!gates) {
            if (key == "qubit" && tokens.size() >= 2) names.emplace_back(tokens[1]);
            if (key == ".pmd" && tokens.size() >= 2) pmd = std::string(tokens[1]);
            if (key == ".begin") gates = true;
            continue;
        }
        if (key == ".end") break;
        Gate_type kind;
        const Form* form = gate_from_keyword(std::string(key), kind) ? form_of(kind) : nullptr;
        if (form == nullptr)
            writer_error(lines.line_number(), "no OpenQASM form for \"" + std::string(key) + "\"");
        const size_t qubits = is_2Q_gate(kind) ? 2 : 1;
        if (tokens.size() < 1 + qubits + form->angles)
            writer_error(lines.line_number(), "missing operands");
        Pending p{form, {}, ""};
        for (size_t i = 0; i < qubits; ++i) p.qubits.emplace_back(tokens[1 + i]);
        for (int i = 0; i < form->angles; ++i) {
            double a;
            if (!netlist::parse_number(tokens[1 + qubits + i], a))
                writer_error(lines.line_number(), "an angle is not a number");
            p.parameters += (i ? "," : "") + radians(form->factors[i] * a);
        }
        if (!p.parameters.empty()) p.parameters = "(" + p.parameters + ")";
        used.insert(form->name);
        pending.push_back(std::move(p));
    }

    const std::vector<QasmRegister> registers = registers_of(names);
    std::vector<std::string> qasm_names;
    for (const QasmRegister& r : registers)
        for (int i = 0; i < r.size; ++i)
            qasm_names.push_back(r.name + "[" + std::to_string(i) + "]");
    std::map<std::string, std::string> qasm_name_of;
    for (size_t i = 0; i < names.size(); ++i) qasm_name_of.emplace(names[i], qasm_names[i]);
    auto qasm_name = [&](const std::string& name) -> const std::string& {
        const auto it = qasm_name_of.find(name);
        if (it == qasm_name_of.end())
            fatal_error("Cannot write OpenQASM: undeclared qubit " + name);
        return it->second;
    };

    std::string text = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\n";
    text +=
        "// Written by Marovin" + (pmd.empty() ? "" : " for " + pmd) + ", gates in time order\n";
    for (const Definition& d : kDefinitions) {
        const bool needed =
            used.count(d.name) > 0 ||
            std::any_of(std::begin(kDefinitions), std::end(kDefinitions),
                        [&](const Definition& other) {
                            return used.count(other.name) && d.name == std::string(other.needs);
                        });
        if (needed) text += std::string(d.text) + "\n";
    }
    for (const QasmRegister& r : registers)
        text += "qreg " + r.name + "[" + std::to_string(r.size) + "];\n";
    auto write = [&](const Pending& p) {
        text += p.form->name + p.parameters + " ";
        for (size_t i = 0; i < p.qubits.size(); ++i)
            text += (i ? "," : "") + qasm_name(p.qubits[i]);
        text += ";\n";
    };
    if (order == NetlistOrder::Time)
        std::for_each(pending.begin(), pending.end(), write);
    else
        std::for_each(pending.rbegin(), pending.rend(), write);
    return text;
}
