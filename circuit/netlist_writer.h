#pragma once
// Netlist text of a circuit graph: gates in time order (the reverse of boost::topological_sort's
// output), markers skipped. Numbers have 16 significant digits in the file form; in the string
// form, which the next stage reads, every number reads back to the same double (17 digits where
// 16 do not).

#include <functional>
#include <string>

#include "circuit/circuit_graph.h"

/// \brief The text of the output file: ".pmd" naming every description, no ".global_phase"
/// line.
std::string netlist_file_text(const CircuitGraph& circuit, PMD_type pmd);
/// \brief The text handed to the next reading: a ".global_phase" line, ".pmd ???" for ND and
/// FTS, numbers that read back exactly.
std::string netlist_string_text(const CircuitGraph& circuit, PMD_type pmd);
/// Both texts of one circuit.
struct NetlistTexts {
    std::string file;    // as netlist_file_text
    std::string string;  // as netlist_string_text
};
/// \brief Both texts from one walk of the graph in time order.
NetlistTexts netlist_texts(const CircuitGraph& circuit, PMD_type pmd);
/// \brief Writes the file text to `file_name` (in place once complete); a failure ends the
/// program.
void write_netlist_file(const CircuitGraph& circuit, PMD_type pmd, const std::string& file_name);
/// \brief Netlist-like listing on the console with the total of `price` over the gates; sets
/// the console's precision to 16.
void print_circuit_listing(const CircuitGraph& circuit, PMD_type pmd,
                           const std::function<double(Gate_type)>& price);
/// \brief Raw dump of vertices and edges on the console.
void print_graph(const CircuitGraph& circuit);
