// Netlist writers: the circuit graph back to netlist text, gates in time order (the reverse of
// boost::topological_sort's output), markers skipped. The file form writes numbers with 16
// significant digits, as the program always has; the string form, which the next stage of the
// synthesis reads, writes every number so that it reads back exactly.

#include "circuit/netlist_writer.h"

#include <cmath>
#include <iostream>
#include <sstream>

#include "circuit/fatal.h"
#include "circuit/netlist_text.h"
#include "circuit/text_file.h"

namespace {

// ".pmd" keyword of the file form: every description by name.
const char* file_pmd_keyword(PMD_type pmd) {
    return pmd_keyword(pmd);
}

// ".pmd" keyword of the string form: ND and FTS (and anything unknown) as "???"; the reader
// ignores this line anyway.
const char* string_pmd_keyword(PMD_type pmd) {
    return (pmd == ND || pmd == FTS) ? "???" : pmd_keyword(pmd);
}

std::string qubit_name(const CircuitGraph& c, int line) {
    auto it = c.line_name.find(line);
    return it == c.line_name.end() ? std::string() : it->second;
}

enum class Form { File, String };

// From this magnitude on (π/4 units) 16 significant digits hold no fraction of an angle: the
// file form writes such an angle as its remainder modulo 16, exact and the same gate, rather
// than lose its fraction (1000000000000000.5 is written 0.5, not 1000000000000000).
constexpr double kHugeAngle = 1e15;

// An angle of a gate line: the file form at the stream's precision (16); the string form, which
// the next stage reads, so that it reads back the same double.
struct Angle {
    double value;
    Form form;
};

std::ostream& operator<<(std::ostream& out, Angle a) {
    if (a.form == Form::String) return out << netlist::format_round_trip(a.value);
    if (std::isfinite(a.value) && std::fabs(a.value) >= kHugeAngle)
        return out << std::fmod(a.value, 16.0) + 0.0;
    return out << a.value;
}

// Writes one gate line (markers and price-row kinds write nothing). Angles in π/4.
void write_gate_line(const CircuitGraph& c, const Gate& g, Form form, std::ostream& out) {
    const Gate_type kind = g.type;
    if (!is_netlist_gate(kind)) return;
    const Angle angle{g.angle, form}, angle1{g.angle1, form}, angle2{g.angle2, form};
    out << gate_keyword(kind) << ' ';
    if (!is_2Q_gate(kind)) {
        out << qubit_name(c, g.target);
        if (is_rotation(g)) out << ' ' << angle;
        if (kind == RXY) out << ' ' << angle << ' ' << angle1 << ' ';
        if (kind == ASQU) out << ' ' << angle << ' ' << angle1 << ' ' << angle2 << ' ';
    } else {
        out << qubit_name(c, g.control) << ' ' << qubit_name(c, g.target);
        // NOTE: ZENO_dag (kind 24) has no parameter and is written by its own keyword, so that
        // circuits holding it natively (SC, ND) read back.
        if (kind > ZENO_dag) out << ' ' << angle;
    }
    out << '\n';
}

// Calls f(gate record) for every gate vertex in time order.
template <typename F>
void for_each_gate(const CircuitGraph& c, F f) {
    const int first_gate_index = 2 * c.num_qubits;
    for (Vertex v : c.topological_order()) {
        const Gate g = vertex_gate_record(c.graph, v);
        if (g.index >= first_gate_index) f(g);
    }
}

// The lines of a form up to and including ".begin".
std::string header_text(const CircuitGraph& c, PMD_type pmd, Form form) {
    std::ostringstream out;
    out << "# ***OUTPUT*** Netlist file\n";
    out << "# Created by Marovin\n";
    out << ".qubit " << c.num_qubits << '\n';
    out << ".pmd " << (form == Form::File ? file_pmd_keyword(pmd) : string_pmd_keyword(pmd))
        << '\n';
    if (form == Form::String)
        out << ".global_phase " << netlist::format_round_trip(c.global_phase) << '\n';
    for (const auto& entry : c.line_name) out << "qubit " << entry.second << '\n';
    out << ".begin\n";
    return out.str();
}

// The gate lines of a form: one walk in time order.
std::string gate_section(const CircuitGraph& c, Form form) {
    std::ostringstream out;
    out.precision(16);
    for_each_gate(c, [&](const Gate& g) { write_gate_line(c, g, form, out); });
    return out.str();
}

std::string netlist_text(const CircuitGraph& c, PMD_type pmd, Form form) {
    return header_text(c, pmd, form) + gate_section(c, form) + ".end\n";
}

}  // namespace

std::string netlist_file_text(const CircuitGraph& circuit, PMD_type pmd) {
    return netlist_text(circuit, pmd, Form::File);
}

std::string netlist_string_text(const CircuitGraph& circuit, PMD_type pmd) {
    return netlist_text(circuit, pmd, Form::String);
}

NetlistTexts netlist_texts(const CircuitGraph& circuit, PMD_type pmd) {
    // One walk of the graph gives the records of both forms.
    std::ostringstream file, string;
    file.precision(16);
    for_each_gate(circuit, [&](const Gate& g) {
        write_gate_line(circuit, g, Form::File, file);
        write_gate_line(circuit, g, Form::String, string);
    });
    return NetlistTexts{header_text(circuit, pmd, Form::File) + file.str() + ".end\n",
                        header_text(circuit, pmd, Form::String) + string.str() + ".end\n"};
}

void write_netlist_file(const CircuitGraph& circuit, PMD_type pmd, const std::string& file_name) {
    const std::string text = netlist_file_text(circuit, pmd);
    switch (write_text_file_atomically(file_name, text)) {
        case WriteStatus::Written:
            return;
        case WriteStatus::OpenFailed:
            fatal_error("File open failed when writing result!");
        case WriteStatus::WriteFailed:
            fatal_error("Writing the result file failed: " + file_name);
    }
}

void print_circuit_listing(const CircuitGraph& circuit, PMD_type pmd,
                           const std::function<double(Gate_type)>& price) {
    std::cout << "# Netlist file\n";
    std::cout << "# Created by Marovin\n";
    std::cout << ".qubit " << circuit.num_qubits << '\n';
    std::cout << ".pmd " << file_pmd_keyword(pmd) << '\n';
    // The console keeps this precision for the rest of the run.
    std::cout.precision(16);
    double total = 0;
    for_each_gate(circuit, [&](const Gate& g) {
        total += price(g.type);
        write_gate_line(circuit, g, Form::File, std::cout);
    });
    std::cout << "Total cost=" << total << std::endl;
}

void print_graph(const CircuitGraph& circuit) {
    circuit.settle_out_edge_order();
    const Graph& graph = circuit.graph;
    std::cout << "num of vertices:" << boost::num_vertices(graph) << '\n';
    std::cout << " GateType Index Control Target Angle" << '\n';
    for (auto [it, end] = boost::vertices(graph); it != end; ++it) {
        const Gate g = vertex_gate_record(graph, *it);
        std::cout << static_cast<int>(g.type) << "  " << g.index << "  " << g.control << "  "
                  << g.target << "out_degree=" << boost::out_degree(*it, graph)
                  << " angle=" << g.angle << '\n';
    }
    std::cout << "num of edges:" << boost::num_edges(graph) << '\n';
    std::cout << " u ----> v "
              << "line no. =" << '\n';
    for (auto [it, end] = boost::edges(graph); it != end; ++it) {
        std::cout << boost::get(boost::vertex_index, graph, boost::source(*it, graph)) << "   "
                  << boost::get(boost::vertex_index, graph, boost::target(*it, graph)) << "   "
                  << boost::get(boost::edge_line, graph, *it) << '\n';
    }
    std::cout.flush();
}
