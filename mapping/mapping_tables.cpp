#include "mapping/mapping_tables.h"

#include <algorithm>

#include "circuit/check.h"
#include "mapping/multi_qubit_mapping.h"
#include "mapping/two_qubit_mapping.h"

namespace mapping {

const std::vector<Step>* find_recipe(const RecipeTable& table, PMD_type pmd) {
    for (const Recipe& row : table)
        if (std::find(row.pmds.begin(), row.pmds.end(), pmd) != row.pmds.end()) return &row.steps;
    return nullptr;
}

void run_steps(CircuitGraph& circuit, PMD_type pmd, const std::vector<Step>& steps,
               std::initializer_list<int> operands, double theta) {
    const int* q = operands.begin();
    for (const Step& s : steps) {
        MAROVIN_CHECK(s.op == StepOp::Phase || (s.a >= 0 && size_t(s.a) < operands.size()),
                      "a recipe step names an operand the operation has");
        const double angle = s.angle.at(theta);
        switch (s.op) {
            case StepOp::Gate1:
                circuit.add_gate(s.kind, q[s.a], angle, 0, 0);
                break;
            case StepOp::Gate2:
                circuit.add_gate(s.kind, q[s.a], q[s.b], angle);
                break;
            case StepOp::CallCNOT:
                add_CNOT(circuit, pmd, q[s.a], q[s.b]);
                break;
            case StepOp::CallCZ:
                add_CZ(circuit, pmd, q[s.a], q[s.b]);
                break;
            case StepOp::CallCP:
                add_CP(circuit, pmd, q[s.a], q[s.b], angle);
                break;
            case StepOp::CallGEO:
                add_GEO(circuit, pmd, q[s.a], q[s.b], angle);
                break;
            case StepOp::CallISWAP:
                add_ISWAP(circuit, pmd, q[s.a], q[s.b], angle);
                break;
            case StepOp::Phase:
                circuit.global_phase += angle;
                break;
        }
    }
}

bool run_recipe(CircuitGraph& circuit, PMD_type pmd, const RecipeTable& table,
                std::initializer_list<int> operands, double theta) {
    const std::vector<Step>* steps = find_recipe(table, pmd);
    if (steps == nullptr) return false;
    run_steps(circuit, pmd, *steps, operands, theta);
    return true;
}

}  // namespace mapping
