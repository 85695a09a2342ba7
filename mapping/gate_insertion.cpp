// Appending single vertices at the end of qubit lines.

#include "circuit/graph_circuit.h"

void GraphCircuit::add_gate(Gate_type kind, int qubit, double angle, double angle1, double angle2) {
    Vertex v = new_vertex(kind, angle, angle1, angle2, -1, qubit);
    remove_an_edge(graph, line_last[qubit], qubit);
    boost::add_edge(line_last[qubit], v, qubit, graph);
    boost::add_edge(v, line_end[qubit], qubit, graph);
    line_last[qubit] = v;
    note_line_edit(qubit);
}

void GraphCircuit::add_gate(Gate_type kind, int control, int target, double angle) {
    Vertex v = new_vertex(kind, angle, 0, 0, control, target);
    remove_an_edge(graph, line_last[control], control);
    remove_an_edge(graph, line_last[target], target);
    boost::add_edge(line_last[control], v, control, graph);
    boost::add_edge(line_last[target], v, target, graph);
    boost::add_edge(v, line_end[control], control, graph);
    boost::add_edge(v, line_end[target], target, graph);
    line_last[control] = v;
    line_last[target] = v;
    note_line_edit(control);
    note_line_edit(target);
}
