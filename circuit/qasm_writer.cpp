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
#include "circuit/qasm_reader.h"

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

const std::set<std::string> kReserved = {
    "OPENQASM", "include", "qreg", "creg", "gate", "opaque", "measure", "barrier", "reset", "if",
    "pi",       "U",       "CX",   "sin",  "cos",  "tan",    "exp",     "ln",      "sqrt"};

// The registers of qubit names "reg[i]", in order of first appearance, each of the size its
// names fill, when every name is of that form and each register's indices are 0 to size-1 in any
// order; none otherwise. `taken` holds names the registers must not have.
std::vector<QasmRegister> registers_of(const std::vector<std::string>& names,
                                       const std::set<std::string>& taken) {
    std::vector<QasmRegister> registers;
    std::map<std::string, std::set<long>> indices;
    for (const std::string& name : names) {
        const size_t open = name.find('[');
        if (open == std::string::npos || name.back() != ']' || open + 2 >= name.size()) return {};
        const std::string reg = name.substr(0, open);
        const std::string index = name.substr(open + 1, name.size() - open - 2);
        if (!is_identifier(reg) || kReserved.count(reg) || taken.count(reg) || index.size() > 9 ||
            (index.size() > 1 && index[0] == '0') ||
            !std::all_of(index.begin(), index.end(),
                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            return {};
        std::set<long>& seen = indices[reg];
        if (seen.empty()) registers.push_back({reg, 0});
        if (!seen.insert(std::stol(index)).second) return {};
    }
    for (QasmRegister& r : registers) {
        const std::set<long>& seen = indices[r.name];
        if (*seen.rbegin() != static_cast<long>(seen.size()) - 1) return {};
        r.size = static_cast<int>(seen.size());
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
    std::vector<MeasurementComment> cregs;
    std::vector<MeasurementComment> measurements;
    bool ended = false;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty()) continue;
        MeasurementComment comment;
        if (netlist::is_comment(tokens) && read_measurement_comment(tokens, comment))
            (comment.kind == MeasurementComment::Kind::Register ? cregs : measurements)
                .push_back(std::move(comment));
        if (netlist::is_comment(tokens) || ended) continue;
        const std::string_view key = tokens[0];
        if (!gates) {
            if (key == "qubit" && tokens.size() >= 2) names.emplace_back(tokens[1]);
            if (key == ".pmd" && tokens.size() >= 2) pmd = std::string(tokens[1]);
            if (key == ".begin") gates = true;
            continue;
        }
        if (key == ".end") {
            ended = true;  // measurement comments may follow
            continue;
        }
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

    // Each qubit under its own name when the names form registers; else one register q, which
    // no classical register may name, in declaration order.
    std::set<std::string> creg_names;
    for (const MeasurementComment& c : cregs) creg_names.insert(c.creg);
    std::vector<QasmRegister> registers = registers_of(names, creg_names);
    const bool renamed = registers.empty() && !names.empty();
    std::map<std::string, std::string> qasm_name_of;
    if (renamed) {
        std::string q = "q";
        while (creg_names.count(q)) q += "_";
        registers = {{q, static_cast<int>(names.size())}};
        for (size_t i = 0; i < names.size(); ++i)
            qasm_name_of.emplace(names[i], q + "[" + std::to_string(i) + "]");
    } else {
        for (const std::string& name : names) qasm_name_of.emplace(name, name);
    }
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
    // NOTE: a renamed qubit whose old name has the form of a QASM qubit would be mistaken for
    // another; the map is written out.
    const bool indexed_names = std::any_of(names.begin(), names.end(), [](const std::string& n) {
        return n.find('[') != std::string::npos;
    });
    if (renamed && indexed_names)
        for (const std::string& name : names)
            text += "// " + qasm_name(name) + " is the netlist's qubit " + name + "\n";
    for (const MeasurementComment& c : cregs)
        text += "creg " + c.creg + "[" + std::to_string(c.index) + "];\n";
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
    for (const MeasurementComment& m : measurements)
        text += "measure " + qasm_name(m.qubit) + " -> " + m.creg + "[" + std::to_string(m.index) +
                "];\n";
    return text;
}
