// Netlist reader: builds the circuit graph from a netlist text, mapping every gate to the
// circuit's machine description as it is read (gates are appended in text order, which is time
// order).

#include "circuit/netlist_reader.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/fatal.h"
#include "circuit/graph_circuit.h"
#include "circuit/named_rotation.h"
#include "circuit/netlist_text.h"

namespace {

// Named Pauli and phase gates (named_rotation): under ND and CTL they are kept as they are;
// under every other description they become a rotation times a global phase.

// Gates with a fixed number of qubit operands followed by a fixed number of angles (π/4). A row
// is read under its kind's keyword (see gate.h), or under a keyword of its own for the gates
// that have no kind.
using AppendFixed = void (*)(GraphCircuit&, const int* q, const double* a);
struct FixedGate {
    Gate_type kind;
    const char* own_keyword;  // nullptr: the kind's keyword
    int qubits;
    int angles;
    AppendFixed append;
};
constexpr FixedGate kFixedGates[] = {
    {I, nullptr, 1, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_gate(I, q[0], 0, 0, 0); }},
    {H, nullptr, 1, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_gate(H, q[0], 0, 0, 0); }},
    {RX, nullptr, 1, 1,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_gate(RX, q[0], a[0], 0, 0); }},
    {RY, nullptr, 1, 1,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_gate(RY, q[0], a[0], 0, 0); }},
    {RZ, nullptr, 1, 1,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_gate(RZ, q[0], a[0], 0, 0); }},
    {RXY, nullptr, 1, 2,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_gate(RXY, q[0], a[0], a[1], 0); }},
    {ASQU, nullptr, 1, 3,
     [](GraphCircuit& c, const int* q, const double* a) {
         c.add_gate(ASQU, q[0], a[0], a[1], a[2]);
     }},
    {CZ, nullptr, 2, 0, [](GraphCircuit& c, const int* q, const double*) { c.add_CZ(q[0], q[1]); }},
    {CNOT, nullptr, 2, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_CNOT(q[0], q[1]); }},
    {CP, nullptr, 2, 1,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_CP(q[0], q[1], a[0]); }},
    {GEO, nullptr, 2, 1,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_GEO(q[0], q[1], a[0]); }},
    {ISWAP, nullptr, 2, 1,
     [](GraphCircuit& c, const int* q, const double* a) { c.add_ISWAP(q[0], q[1], a[0]); }},
    {SWAP, nullptr, 2, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_SWAP(q[0], q[1]); }},
    {ZENO, nullptr, 2, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_ZENO(q[0], q[1]); }},
    {ZENO_dag, nullptr, 2, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_ZENOd(q[0], q[1]); }},
    {PERES, nullptr, 3, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_PERES(q[0], q[1], q[2]); }},
    {PERES, "PERES_dag", 3, 0,
     [](GraphCircuit& c, const int* q, const double*) { c.add_PERESd(q[0], q[1], q[2]); }},
    {Fredkin, nullptr, 3, 0,
     [](GraphCircuit& c, const int* q, const double*) {
         c.add_CNOT(q[2], q[1]);
         c.add_TOF(q[0], q[1], q[2]);
         c.add_CNOT(q[2], q[1]);
     }},
};

// Gates on all remaining operands (controls, then the target last).
enum class ListGate { Toffoli, MCT, CkZ };
struct VariableGate {
    const char* keyword;
    ListGate kind;
};
constexpr VariableGate kVariableGates[] = {
    {"Toffoli", ListGate::Toffoli}, {"MCT", ListGate::MCT}, {"CkZ", ListGate::CkZ}};

const char* keyword_of(const FixedGate& row) {
    return row.own_keyword != nullptr ? row.own_keyword : price_row_keyword(row.kind);
}
const char* keyword_of(const VariableGate& row) {
    return row.keyword;
}

template <typename Row, size_t N>
const Row* find_row(const Row (&rows)[N], std::string_view keyword) {
    for (const Row& row : rows)
        if (keyword == keyword_of(row)) return &row;
    return nullptr;
}

const NamedRotation* named_keyword(std::string_view keyword) {
    Gate_type kind = I;
    if (!gate_from_keyword(std::string(keyword), kind)) return nullptr;
    return named_rotation(kind);
}

class NetlistReader {
  public:
    NetlistReader(GraphCircuit& circuit, const std::string& text) : c_(circuit), lines_(text) {}

    void run() {
        while (lines_.next(line_)) {
            netlist::tokenize(line_, tokens_);
            // NOTE: a line of separators only is skipped like an empty line.
            if (tokens_.empty() || netlist::is_comment(tokens_)) continue;
            if (tokens_[0] == ".end") {
                if (!begun_) fatal_error("The netlist has no .begin line");
                check_declarations();
                return;
            }
            read_line();
        }
        // NOTE: a text without ".begin" holds no circuit; reading on would leave a circuit
        // without lines that the passes cannot walk.
        if (!begun_) fatal_error("The netlist has no .begin line");
        check_declarations();
    }

  private:
    GraphCircuit& c_;
    netlist::LineReader lines_;
    std::string_view line_;
    std::vector<std::string_view> tokens_;
    int declared_ = 0;  // "qubit" declarations so far
    int count_ = -1;    // qubit count of ".qubit"
    bool begun_ = false;

    [[noreturn]] void fail(const std::string& problem) {
        netlist::line_error(lines_.line_number(), line_, problem);
    }

    void read_line() {
        const std::string_view key = tokens_[0];
        if (key == ".qubit") return read_qubit_count();
        if (key == ".global_phase") {
            need_operands(1);
            c_.global_phase = angle_operand(1, "phase");
            return;
        }
        if (key == ".pmd") return;  // the description comes from the caller
        if (key == "qubit") return declare_qubit();
        if (key == ".begin") return begin();
        if (const NamedRotation* row = named_keyword(key)) return append_named(*row);
        if (const FixedGate* row = find_row(kFixedGates, key)) return append_fixed(*row);
        if (const VariableGate* row = find_row(kVariableGates, key)) return append_list(*row);
        fatal_error("Unknown gate: " + std::string(key));
    }

    void read_qubit_count() {
        if (begun_) fail(".qubit after .begin");
        need_operands(1);
        int n = 0;
        if (!netlist::parse_int(tokens_[1], n)) fail("the qubit count is not a whole number");
        if (n < 1) fail("the qubit count must be at least 1");
        count_ = n;
    }

    void declare_qubit() {
        if (begun_) fail("qubit declaration after .begin");
        need_operands(1);
        const std::string name(tokens_[1]);
        // A name declared twice keeps its first line; the count check reports it.
        c_.qubit_line.emplace(name, declared_);
        c_.line_name.emplace(declared_, name);
        ++declared_;
    }

    // NOTE: the counts are compared before the skeleton is built, so that a huge ".qubit"
    // count is refused without allocating its lines.
    void begin() {
        if (begun_) fail("second .begin");
        if (count_ == -1) fatal_error("Number of qubits is not set!");
        if (count_ != declared_) fatal_error("The qubit declared is not the same a total qubit!");
        c_.set_dummy_node(count_);
        begun_ = true;
    }

    void check_declarations() {
        if (declared_ != static_cast<int>(c_.qubit_line.size()) ||
            declared_ != static_cast<int>(c_.line_name.size()))
            fatal_error("Some qubit is not declared!");
    }

    void need_operands(size_t n) {
        if (tokens_.size() < n + 1)
            fail(std::string(tokens_[0]) + " needs " + std::to_string(n) +
                 (n == 1 ? " operand" : " operands"));
    }

    void need_gate_section() {
        if (!begun_) fail("gate line before .begin");
    }

    // NOTE: an undeclared name is refused at once; appending it to line 0 would change the
    // circuit before the ".end" check could report it.
    int qubit_operand(size_t i) {
        auto it = c_.qubit_line.find(std::string(tokens_[i]));
        if (it == c_.qubit_line.end()) fatal_error("Some qubit is not declared!");
        return it->second;
    }

    double angle_operand(size_t i, const char* what) {
        double value = 0;
        if (!netlist::parse_number(tokens_[i], value))
            fail(std::string(what) + " \"" + std::string(tokens_[i]) + "\" is not a finite number");
        return value;
    }

    // Qubits of operands 1..n, which must be distinct (a gate cannot act twice on one line).
    std::vector<int> qubit_operands(size_t n) {
        std::vector<int> qubits;
        qubits.reserve(n);
        for (size_t i = 1; i <= n; ++i) {
            int q = qubit_operand(i);
            if (std::find(qubits.begin(), qubits.end(), q) != qubits.end())
                fail("qubit " + std::string(tokens_[i]) + " is used twice");
            qubits.push_back(q);
        }
        return qubits;
    }

    void append_named(const NamedRotation& row) {
        need_gate_section();
        need_operands(1);
        const int q = qubit_operand(1);
        if (c_.pmd == ND || c_.pmd == CTL) {
            c_.add_gate(row.kind, q, 0, 0, 0);
        } else {
            c_.add_gate(row.rotation, q, row.angle, 0, 0);
            c_.global_phase += row.phase;
        }
    }

    void append_fixed(const FixedGate& row) {
        need_gate_section();
        need_operands(row.qubits + row.angles);
        const std::vector<int> qubits = qubit_operands(row.qubits);
        double angles[3] = {0, 0, 0};
        for (int i = 0; i < row.angles; ++i)
            angles[i] = reduced_angle(angle_operand(1 + row.qubits + i, "angle"));
        row.append(c_, qubits.data(), angles);
    }

    void append_list(const VariableGate& row) {
        need_gate_section();
        const size_t n = tokens_.size() - 1;
        // NOTE: with fewer than two qubits the decompositions append nothing (or only the
        // target's basis change), which is not the gate; refuse instead.
        if (n < 2)
            fail(std::string(tokens_[0]) + " needs at least 2 qubits (controls, then the target)");
        if (n - 1 > static_cast<size_t>(kMaxListGateControls))
            fail(std::string(tokens_[0]) + " with more than " +
                 std::to_string(kMaxListGateControls) + " controls is not supported");
        std::vector<int> qubits = qubit_operands(n);
        switch (row.kind) {
            case ListGate::Toffoli:
                if (n == 3) return c_.add_TOF(qubits[0], qubits[1], qubits[2]);
                return c_.add_CkNOT(qubits);
            case ListGate::MCT:
                return c_.add_CkNOT(qubits);
            case ListGate::CkZ:
                return c_.add_CkZ(qubits);
        }
    }
};

}  // namespace

bool netlist_gate_shape(std::string_view keyword, NetlistGateShape& shape) {
    if (named_keyword(keyword) != nullptr) {
        shape = {1, 0, false};
        return true;
    }
    if (const FixedGate* row = find_row(kFixedGates, keyword)) {
        shape = {row->qubits, row->angles, false};
        return true;
    }
    if (find_row(kVariableGates, keyword) != nullptr) {
        shape = {2, 0, true};
        return true;
    }
    return false;
}

void GraphCircuit::read_netlist(std::string& text) {
    NetlistReader(*this, text).run();
}
