#include "mapping/mapping_tables.h"

#include <algorithm>
#include <cassert>

#include "circuit/graph_circuit.h"

namespace mapping {

const std::vector<Step>* find_recipe(const RecipeTable& table, PMD_type pmd) {
    for (const Recipe& row : table)
        if (std::find(row.pmds.begin(), row.pmds.end(), pmd) != row.pmds.end()) return &row.steps;
    return nullptr;
}

void run_steps(GraphCircuit& circuit, const std::vector<Step>& steps,
               std::initializer_list<int> operands, double theta) {
    const int* q = operands.begin();
    for (const Step& s : steps) {
        assert(s.op == StepOp::Phase || (s.a >= 0 && size_t(s.a) < operands.size()));
        const double angle = s.angle.at(theta);
        switch (s.op) {
            case StepOp::Gate1:
                circuit.add_gate(s.kind, q[s.a], angle, 0, 0);
                break;
            case StepOp::Gate2:
                circuit.add_gate(s.kind, q[s.a], q[s.b], angle);
                break;
            case StepOp::CallCNOT:
                circuit.add_CNOT(q[s.a], q[s.b]);
                break;
            case StepOp::CallCZ:
                circuit.add_CZ(q[s.a], q[s.b]);
                break;
            case StepOp::CallCP:
                circuit.add_CP(q[s.a], q[s.b], angle);
                break;
            case StepOp::CallGEO:
                circuit.add_GEO(q[s.a], q[s.b], angle);
                break;
            case StepOp::CallISWAP:
                circuit.add_ISWAP(q[s.a], q[s.b], angle);
                break;
            case StepOp::Phase:
                circuit.global_phase += angle;
                break;
        }
    }
}

bool run_recipe(GraphCircuit& circuit, const RecipeTable& table,
                std::initializer_list<int> operands, double theta) {
    const std::vector<Step>* steps = find_recipe(table, circuit.pmd);
    if (steps == nullptr) return false;
    run_steps(circuit, *steps, operands, theta);
    return true;
}

}  // namespace mapping
