#include "circuit/qasm_reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <map>
#include <vector>

#include "circuit/netlist_text.h"
#include "circuit/qasm_expression.h"
#include "circuit/qasm_tokens.h"

namespace {

using qasm::Angle;
using qasm::error;
using qasm::Token;
using qasm::TokenCursor;
using qasm::TokenKind;

// Netlist gates the translation emits. The standard library below is written with them; its
// rotations take radians with the usual signs (Ry(t) = exp(-i t Y/2)), and the sign turns an
// angle into the program's convention (the program's RY turns the other way).
struct Primitive {
    const char* keyword;
    int parameters;
    int qubits;  // 0: two or more, the controls and then the target
    double sign;
};
constexpr Primitive kPrimitives[] = {
    {"I", 0, 1, 0},     {"X", 0, 1, 0},       {"Y", 0, 1, 0},       {"Z", 0, 1, 0},
    {"H", 0, 1, 0},     {"S", 0, 1, 0},       {"S_dag", 0, 1, 0},   {"T", 0, 1, 0},
    {"T_dag", 0, 1, 0}, {"RX", 1, 1, 1},      {"RY", 1, 1, -1},     {"RZ", 1, 1, 1},
    {"CNOT", 0, 2, 0},  {"CZ", 0, 2, 0},      {"SWAP", 0, 2, 0},    {"CP", 1, 2, 1},
    {"GEO", 1, 2, 1},   {"Toffoli", 0, 3, 0}, {"Fredkin", 0, 3, 0}, {"MCT", 0, 0, 0},
    {"CkZ", 0, 0, 0},
};

// The standard gates, each equal to its textbook matrix up to a global phase. The controlled
// rotations use controlled-U = P(alpha) on the control and A X B X C on the target, with
// U = e^{i alpha} Rz(beta) Ry(gamma) Rz(delta), A = Rz(beta) Ry(gamma/2),
// B = Ry(-gamma/2) Rz(-(delta+beta)/2), C = Rz((delta-beta)/2).
// rzz(t) = exp(-i t ZZ/2) is GEO(t) up to phase. cu(theta,phi,lambda,gamma) is cu3 with the
// phase gamma of its U, which the control's phase gate carries. c3sqrtx is H P(pi/2) H, the
// square root of X, under three controls: P(+-pi/8) on each parity of the controls in Gray-code
// order, + for odd subsets. rccx and rc3x are the relative-phase Toffoli gates as published.
constexpr const char* kStandardGates = R"(
gate U(theta,phi,lambda) a { RZ(lambda) a; RY(theta) a; RZ(phi) a; }
gate CX a,b { CNOT a,b; }
gate u3(theta,phi,lambda) a { RZ(lambda) a; RY(theta) a; RZ(phi) a; }
gate u(theta,phi,lambda) a { RZ(lambda) a; RY(theta) a; RZ(phi) a; }
gate u2(phi,lambda) a { RZ(lambda) a; RY(pi/2) a; RZ(phi) a; }
gate u1(lambda) a { RZ(lambda) a; }
gate p(lambda) a { RZ(lambda) a; }
gate id a { I a; }
gate x a { X a; }
gate y a { Y a; }
gate z a { Z a; }
gate h a { H a; }
gate s a { S a; }
gate sdg a { S_dag a; }
gate t a { T a; }
gate tdg a { T_dag a; }
gate sx a { RX(pi/2) a; }
gate sxdg a { RX(-pi/2) a; }
gate rx(theta) a { RX(theta) a; }
gate ry(theta) a { RY(theta) a; }
gate rz(phi) a { RZ(phi) a; }
gate cx a,b { CNOT a,b; }
gate cy a,b { S_dag b; CNOT a,b; S b; }
gate cz a,b { CZ a,b; }
gate ch a,b { RZ(pi/2) b; CNOT a,b; RZ(-pi/2) b; RY(-pi/4) b; CNOT a,b; RY(pi/4) b; RZ(pi/2) a; }
gate swap a,b { SWAP a,b; }
gate ccx a,b,c { Toffoli a,b,c; }
gate cswap a,b,c { Fredkin a,b,c; }
gate cu1(lambda) a,b { CP(lambda) a,b; }
gate cp(lambda) a,b { CP(lambda) a,b; }
gate crz(lambda) a,b { CP(lambda) a,b; RZ(-lambda/2) a; }
gate crx(theta) a,b { RZ(pi/2) b; CNOT a,b; RY(-theta/2) b; CNOT a,b; RY(theta/2) b; RZ(-pi/2) b; }
gate cry(theta) a,b { CNOT a,b; RY(-theta/2) b; CNOT a,b; RY(theta/2) b; }
gate cu3(theta,phi,lambda) a,b { RZ((lambda-phi)/2) b; CNOT a,b; RZ(-(lambda+phi)/2) b;
  RY(-theta/2) b; CNOT a,b; RY(theta/2) b; RZ(phi) b; RZ((phi+lambda)/2) a; }
gate rzz(theta) a,b { GEO(theta) a,b; }
gate rxx(theta) a,b { H a; H b; GEO(theta) a,b; H a; H b; }
gate u0(gamma) a { I a; }
gate csx a,b { h b; cu1(pi/2) a,b; h b; }
gate cu(theta,phi,lambda,gamma) a,b { p(gamma) a; cu3(theta,phi,lambda) a,b; }
gate ccz a,b,c { CkZ a,b,c; }
gate c3x a,b,c,d { MCT a,b,c,d; }
gate c4x a,b,c,d,e { MCT a,b,c,d,e; }
gate rccx a,b,c { u2(0,pi) c; u1(pi/4) c; cx b,c; u1(-pi/4) c; cx a,c; u1(pi/4) c; cx b,c;
  u1(-pi/4) c; u2(0,pi) c; }
gate rc3x a,b,c,d { u2(0,pi) d; u1(pi/4) d; cx c,d; u1(-pi/4) d; u2(0,pi) d; cx a,d; u1(pi/4) d;
  cx b,d; u1(-pi/4) d; cx a,d; u1(pi/4) d; cx b,d; u1(-pi/4) d; u2(0,pi) d; u1(pi/4) d; cx c,d;
  u1(-pi/4) d; u2(0,pi) d; }
gate c3sqrtx a,b,c,d { h d; cu1(pi/8) a,d; h d; cx a,b; h d; cu1(-pi/8) b,d; h d; cx a,b;
  h d; cu1(pi/8) b,d; h d; cx b,c; h d; cu1(-pi/8) c,d; h d; cx a,c; h d; cu1(pi/8) c,d; h d;
  cx b,c; h d; cu1(-pi/8) c,d; h d; cx a,c; h d; cu1(pi/8) c,d; h d; }
)";

// Gates of any width (two qubits or more: the controls, then the target) and the primitive each
// becomes.
struct WideGate {
    const char* name;
    const char* primitive;
};
constexpr WideGate kWideGates[] = {{"mcx", "MCT"}};

// NOTE: netlist files hold lines of at most 99 characters; a gate line with two qubit names or
// three 17-digit angles stays within that bound only for names this short. Longer register names
// are replaced by one register q, so that the program can read back the netlists it writes.
constexpr size_t kMaxQubitName = 24;

// Deepest chain of gate definitions calling each other; the expansion recurses along it.
constexpr int kMaxDefinitionDepth = 1000;

enum class Scope { Library, User };

struct Callee {
    bool primitive = false;
    int index = 0;  // into kPrimitives or the definitions
};

// One gate call inside a definition, its parameter expressions parsed once.
struct Call {
    Callee callee;
    std::vector<qasm::Expression> expressions;
    std::vector<int> qubits;  // indices into the definition's qubit list
};

struct Definition {
    std::string name;
    std::vector<std::string> parameters;
    std::vector<std::string> qubits;
    std::vector<Call> body;
    Scope scope = Scope::User;
    double size = 0;   // netlist gates of one expansion, at most (counted without overflow)
    double steps = 0;  // expansion steps of one expansion: calls and expression operations
    int depth = 1;     // longest chain of definitions down to a primitive
};

struct Register {
    int offset = 0;
    int size = 0;
    int line = 0;  // of its declaration
};

// A register argument: one qubit, or the whole register (index -1).
struct RegisterReference {
    const Register* reg = nullptr;
    int index = -1;
};

class QasmReader {
  public:
    QasmReader(const std::string& text, long max_gates)
        : user_tokens_(qasm::tokenize(text)),
          max_qubits_(std::min(kQasmMaxQubits, std::max(1L, max_gates))),
          max_steps_(std::min(
              kQasmMaxSteps,
              std::max(kQasmMinSteps, kQasmStepsPerGate * static_cast<double>(max_gates)))),
          max_gates_(max_gates) {}

    QasmTranslation translate() {
        read_standard_gates();
        TokenCursor cursor(user_tokens_);
        read_version(cursor);
        while (cursor.peek().kind != TokenKind::End) statement(cursor);
        if (qubit_names_.empty()) error(cursor.peek().line, "no qubit is declared (qreg)");
        shorten_long_names();
        QasmTranslation t;
        t.measurements = measure_statements_;
        t.measurement_comments = measurement_comments();
        netlist_text(t);
        return t;
    }

  private:
    void read_standard_gates() {
        library_tokens_ = qasm::tokenize(kStandardGates);
        TokenCursor cursor(library_tokens_);
        while (cursor.peek().kind != TokenKind::End) {
            cursor.expect("gate", "gate");
            gate_definition(cursor, Scope::Library);
        }
    }

    static void read_version(TokenCursor& cursor) {
        const int line = cursor.peek().line;
        if (!cursor.accept("OPENQASM")) error(line, "the text must begin with \"OPENQASM 2.0;\"");
        const Token& version = cursor.next();
        if (version.kind != TokenKind::Real && version.kind != TokenKind::Integer)
            error(version.line, "expected a version number, found " + qasm::describe(version));
        if (std::strtod(version.text.c_str(), nullptr) != 2.0)
            error(version.line, "this is OpenQASM " + version.text + "; only OpenQASM 2.0 is read");
        cursor.expect(";", "\";\"");
    }

    void statement(TokenCursor& cursor) {
        const Token& first = cursor.peek();
        if (first.kind != TokenKind::Identifier)
            error(first.line, "expected a statement, found " + qasm::describe(first));
        const std::string& word = first.text;
        if (word == "include") return include(cursor);
        if (word == "qreg" || word == "creg") return declaration(cursor);
        if (word == "gate") {
            cursor.next();
            return gate_definition(cursor, Scope::User);
        }
        if (word == "opaque") error(first.line, "opaque gates are not supported");
        if (word == "reset")
            error(first.line, "reset is not supported (the circuit must be unitary)");
        if (word == "if") error(first.line, "if (a classically controlled gate) is not supported");
        if (word == "measure") return measure(cursor);
        if (word == "barrier") {
            cursor.next();
            register_arguments(cursor);
            return;
        }
        top_level_call(cursor);
    }

    static void include(TokenCursor& cursor) {
        cursor.next();
        const Token& name = cursor.next();
        if (name.kind != TokenKind::String)
            error(name.line, "expected a file name in quotes, found " + qasm::describe(name));
        if (name.text != "qelib1.inc")
            error(name.line, "only \"qelib1.inc\" can be included, not \"" + name.text + "\"");
        cursor.expect(";", "\";\"");
    }

    void declaration(TokenCursor& cursor) {
        const bool quantum = cursor.next().text == "qreg";
        const int line = cursor.peek().line;
        const std::string name = cursor.expect_identifier("a register name");
        cursor.expect("[", "\"[\"");
        const long size = integer(cursor, "the register size");
        cursor.expect("]", "\"]\"");
        cursor.expect(";", "\";\"");
        if (qregs_.count(name) || cregs_.count(name))
            error(line, "register \"" + name + "\" is declared twice");
        if (size < 1 || size > kQasmMaxQubits)
            error(line, "a register holds 1 to " + std::to_string(kQasmMaxQubits) + " bits");
        if (!quantum) {
            cregs_[name] = {0, static_cast<int>(size), line};
            creg_order_.push_back(name);
            return;
        }
        const long total = static_cast<long>(qubit_names_.size()) + size;
        if (total > kQasmMaxQubits)
            error(line, "more than " + std::to_string(kQasmMaxQubits) + " qubits");
        if (total > max_qubits_)
            error(line, std::to_string(total) + " qubits do not fit within --max-gates " +
                            std::to_string(max_gates_) + " (each qubit line counts as a gate)");
        qregs_[name] = {static_cast<int>(qubit_names_.size()), static_cast<int>(size), line};
        for (long i = 0; i < size; ++i) {
            qubit_names_.push_back(name + "[" + std::to_string(i) + "]");
            qubit_lines_.push_back(line);
        }
        measured_bit_.resize(qubit_names_.size(), false);
    }

    static long integer(TokenCursor& cursor, const std::string& what) {
        const Token& token = cursor.next();
        if (token.kind != TokenKind::Integer)
            error(token.line,
                  "expected " + what + " (a whole number), found " + qasm::describe(token));
        errno = 0;
        const long value = std::strtol(token.text.c_str(), nullptr, 10);
        if (errno == ERANGE || value > kQasmMaxQubits * 16L)
            error(token.line, what + " " + qasm::describe(token) + " is too large");
        return value;
    }

    // gate name(params) qubits { body }; the keyword has been read.
    void gate_definition(TokenCursor& cursor, Scope scope) {
        const int line = cursor.peek().line;
        Definition d;
        d.scope = scope;
        d.name = cursor.expect_identifier("a gate name");
        if (cursor.accept("(") && !cursor.accept(")")) {
            d.parameters = identifier_list(cursor, "a parameter name");
            cursor.expect(")", "\")\"");
        }
        for (const std::string& p : d.parameters)
            if (qasm::is_reserved_in_expressions(p))
                error(line, "gate " + d.name + " cannot name a parameter \"" + p +
                                "\", which expressions read as their own");
        d.qubits = identifier_list(cursor, "a qubit name");
        std::vector<std::string> names = d.parameters;
        names.insert(names.end(), d.qubits.begin(), d.qubits.end());
        std::sort(names.begin(), names.end());
        const auto twice = std::adjacent_find(names.begin(), names.end());
        if (twice != names.end()) error(line, "gate " + d.name + " names \"" + *twice + "\" twice");
        cursor.expect("{", "\"{\"");
        while (!cursor.accept("}")) {
            const Token& token = cursor.peek();
            if (token.kind == TokenKind::End)
                error(line, "gate " + d.name + " has no closing \"}\"");
            if (token.text == "barrier" && token.kind == TokenKind::Identifier) {
                cursor.next();
                for (const std::string& q : identifier_list(cursor, "a qubit name"))
                    formal_qubit(d, q, token.line);
                cursor.expect(";", "\";\"");
                continue;
            }
            d.body.push_back(body_call(cursor, d, scope));
            const Call& call = d.body.back();
            d.size += size_of(call.callee);
            d.steps += 1 + steps_of(call.callee);
            for (const qasm::Expression& e : call.expressions)
                d.steps += static_cast<double>(e.size());
            d.depth = std::max(d.depth, 1 + depth_of(call.callee));
        }
        if (d.depth > kMaxDefinitionDepth)
            error(line, "gate " + d.name + " calls gates nested more than " +
                            std::to_string(kMaxDefinitionDepth) + " definitions deep");
        const auto known = gate_names_.find(d.name);
        if (known != gate_names_.end() && definitions_[known->second].scope == Scope::User)
            error(line, "gate " + d.name + " is defined twice");
        // A user definition of a standard gate's name replaces it from here on.
        gate_names_[d.name] = static_cast<int>(definitions_.size());
        definitions_.push_back(std::move(d));
    }

    static std::vector<std::string> identifier_list(TokenCursor& cursor, const std::string& what) {
        std::vector<std::string> list{cursor.expect_identifier(what)};
        while (cursor.accept(",")) list.push_back(cursor.expect_identifier(what));
        return list;
    }

    static int formal_qubit(const Definition& d, const std::string& name, int line) {
        const auto it = std::find(d.qubits.begin(), d.qubits.end(), name);
        if (it == d.qubits.end()) error(line, "\"" + name + "\" is not a qubit of gate " + d.name);
        return static_cast<int>(it - d.qubits.begin());
    }

    static int primitive_index(const std::string& keyword) {
        for (size_t i = 0; i < std::size(kPrimitives); ++i)
            if (keyword == kPrimitives[i].keyword) return static_cast<int>(i);
        return -1;
    }

    Callee find_gate(const std::string& name, Scope scope, int line) const {
        if (scope == Scope::Library) {
            const int i = primitive_index(name);
            if (i >= 0) return {true, i};
        }
        const auto it = gate_names_.find(name);
        if (it != gate_names_.end()) return {false, it->second};
        for (const WideGate& w : kWideGates)
            if (name == w.name) return {true, primitive_index(w.primitive)};
        error(line, "unknown gate \"" + name + "\"");
    }

    double size_of(const Callee& callee) const {
        return callee.primitive ? 1.0 : definitions_[callee.index].size;
    }
    double steps_of(const Callee& callee) const {
        return callee.primitive ? 1.0 : definitions_[callee.index].steps;
    }
    int depth_of(const Callee& callee) const {
        return callee.primitive ? 0 : definitions_[callee.index].depth;
    }

    void check_arity(const Callee& callee, const std::string& name, size_t parameters,
                     size_t qubits, int line) const {
        size_t want_parameters, want_qubits;
        if (callee.primitive) {
            want_parameters = kPrimitives[callee.index].parameters;
            want_qubits = kPrimitives[callee.index].qubits;
        } else {
            want_parameters = definitions_[callee.index].parameters.size();
            want_qubits = definitions_[callee.index].qubits.size();
        }
        if (parameters != want_parameters)
            error(line, "gate " + name + " takes " + std::to_string(want_parameters) +
                            " parameters, not " + std::to_string(parameters));
        if (want_qubits == 0 && qubits < 2)
            error(line,
                  "gate " + name + " acts on two qubits or more, not " + std::to_string(qubits));
        if (want_qubits != 0 && qubits != want_qubits)
            error(line, "gate " + name + " acts on " + std::to_string(want_qubits) +
                            " qubits, not " + std::to_string(qubits));
    }

    Call body_call(TokenCursor& cursor, const Definition& d, Scope scope) {
        Call call;
        const int line = cursor.peek().line;
        const std::string name = cursor.expect_identifier("a gate call");
        call.callee = find_gate(name, scope, line);
        if (cursor.accept("(") && !cursor.accept(")")) {
            for (;;) {
                call.expressions.push_back(qasm::parse_expression(cursor, d.parameters));
                if (cursor.accept(")")) break;
                cursor.expect(",", "\",\" or \")\"");
            }
        }
        for (const std::string& q : identifier_list(cursor, "a qubit name"))
            call.qubits.push_back(formal_qubit(d, q, line));
        cursor.expect(";", "\";\"");
        check_arity(call.callee, name, call.expressions.size(), call.qubits.size(), line);
        check_distinct(call.qubits, name, line);
        return call;
    }

    static void check_distinct(std::vector<int> qubits, const std::string& name, int line) {
        std::sort(qubits.begin(), qubits.end());
        if (std::adjacent_find(qubits.begin(), qubits.end()) != qubits.end())
            error(line, "gate " + name + " is given the same qubit twice");
    }

    std::vector<RegisterReference> register_arguments(TokenCursor& cursor) {
        std::vector<RegisterReference> refs{register_reference(cursor, qregs_, "a qubit")};
        while (cursor.accept(",")) refs.push_back(register_reference(cursor, qregs_, "a qubit"));
        cursor.expect(";", "\";\"");
        return refs;
    }

    static RegisterReference register_reference(TokenCursor& cursor,
                                                const std::map<std::string, Register>& registers,
                                                const std::string& what) {
        const int line = cursor.peek().line;
        const std::string& name = cursor.expect_identifier(what);
        const auto it = registers.find(name);
        if (it == registers.end()) error(line, "\"" + name + "\" is not a declared register");
        RegisterReference ref{&it->second, -1};
        if (cursor.accept("[")) {
            const long index = integer(cursor, "an index");
            cursor.expect("]", "\"]\"");
            if (index >= it->second.size)
                error(line, "index " + std::to_string(index) + " is outside register \"" + name +
                                "\" of " + std::to_string(it->second.size));
            ref.index = static_cast<int>(index);
        }
        return ref;
    }

    // measure qubit -> bit, or measure register -> register (of one size, bit by bit).
    void measure(TokenCursor& cursor) {
        const int line = cursor.next().line;
        const RegisterReference q = register_reference(cursor, qregs_, "a qubit");
        cursor.expect("->", "\"->\"");
        const std::string& creg = cursor.peek().text;
        const RegisterReference c = register_reference(cursor, cregs_, "a classical register");
        cursor.expect(";", "\";\"");
        if ((q.index < 0) != (c.index < 0) || (q.index < 0 && q.reg->size != c.reg->size))
            error(line, "measure takes a qubit and a bit, or two registers of one size");
        ++measure_statements_;
        const int count = q.index < 0 ? q.reg->size : 1;
        for (int k = 0; k < count; ++k) {
            const int qubit = q.reg->offset + (q.index < 0 ? k : q.index);
            measured_.push_back({qubit, creg, c.index < 0 ? k : c.index});
            measured_bit_[qubit] = true;
        }
    }

    // name(params) arguments; at the top level: a whole register stands for each of its qubits.
    void top_level_call(TokenCursor& cursor) {
        const int line = cursor.peek().line;
        const std::string name = cursor.expect_identifier("a gate call");
        const Callee callee = find_gate(name, Scope::User, line);
        std::vector<Angle> parameters;
        if (cursor.accept("(") && !cursor.accept(")")) {
            for (;;) {
                parameters.push_back(qasm::parse_expression(cursor, {}).evaluate({}));
                if (cursor.accept(")")) break;
                cursor.expect(",", "\",\" or \")\"");
            }
        }
        const std::vector<RegisterReference> refs = register_arguments(cursor);
        check_arity(callee, name, parameters.size(), refs.size(), line);
        int repeat = 1;
        bool whole = false;
        for (const RegisterReference& r : refs) {
            if (r.index >= 0) continue;
            if (whole && r.reg->size != repeat)
                error(line, "gate " + name + " is given registers of different sizes");
            repeat = r.reg->size;
            whole = true;
        }
        if (static_cast<double>(gates_.size()) + repeat * size_of(callee) > kQasmMaxGates)
            error(line, "the circuit expands to more than " +
                            std::to_string(static_cast<long>(kQasmMaxGates)) + " gates");
        steps_ += repeat * steps_of(callee);
        if (steps_ > max_steps_)
            error(line, "expanding the gate definitions takes more than " +
                            std::to_string(static_cast<long long>(max_steps_)) +
                            " steps, the bound for --max-gates " + std::to_string(max_gates_));
        std::vector<int> qubits(refs.size());
        for (int k = 0; k < repeat; ++k) {
            for (size_t i = 0; i < refs.size(); ++i)
                qubits[i] = refs[i].reg->offset + (refs[i].index >= 0 ? refs[i].index : k);
            check_distinct(qubits, name, line);
            for (int q : qubits)
                if (measured_bit_[q])
                    error(line, "gate " + name + " acts on " + qubit_names_[q] +
                                    " after it is measured; only measurements that end a "
                                    "qubit's gates are read");
            expand(callee, parameters, qubits, line);
        }
    }

    void expand(const Callee& callee, const std::vector<Angle>& parameters,
                const std::vector<int>& qubits, int line) {
        if (callee.primitive) return emit(kPrimitives[callee.index], parameters, qubits, line);
        const Definition& d = definitions_[callee.index];
        std::vector<Angle> arguments;
        std::vector<int> actual;
        for (const Call& call : d.body) {
            arguments.clear();
            for (const qasm::Expression& e : call.expressions)
                arguments.push_back(e.evaluate(parameters));
            actual.clear();
            for (int q : call.qubits) actual.push_back(qubits[q]);
            expand(call.callee, arguments, actual, line);
        }
    }

    void emit(const Primitive& p, const std::vector<Angle>& parameters,
              const std::vector<int>& qubits, int line) {
        double units = 0.0;
        if (p.parameters == 1) {
            units = p.sign * parameters[0].units();
            if (units == 0.0) return;  // the identity
        }
        gates_.push_back({&p, gate_qubits_.size(), qubits.size(), units, line});
        gate_qubits_.insert(gate_qubits_.end(), qubits.begin(), qubits.end());
    }

    void shorten_long_names() {
        for (const std::string& name : qubit_names_) {
            if (name.size() <= kMaxQubitName) continue;
            for (size_t i = 0; i < qubit_names_.size(); ++i)
                qubit_names_[i] = "q[" + std::to_string(i) + "]";
            return;
        }
    }

    std::string measurement_comments() const {
        if (measured_.empty()) return "";
        std::string text;
        for (const std::string& name : creg_order_)
            text += "# creg " + name + "[" + std::to_string(cregs_.at(name).size) + "]\n";
        for (const Measurement& m : measured_)
            text += "# measure " + qubit_names_[m.qubit] + " -> " + m.creg + "[" +
                    std::to_string(m.bit) + "]\n";
        return text;
    }

    void netlist_text(QasmTranslation& t) const {
        std::string& text = t.netlist;
        std::vector<int>& lines = t.qasm_lines;
        text = "# Converted by Marovin from OpenQASM 2.0, gates in operator order\n";
        text += ".qubit " + std::to_string(qubit_names_.size()) + "\n";
        lines = {0, 0};
        for (size_t i = 0; i < qubit_names_.size(); ++i) {
            text += "qubit " + qubit_names_[i] + "\n";
            lines.push_back(qubit_lines_[i]);
        }
        text += ".begin\n";
        lines.push_back(0);
        for (auto it = gates_.rbegin(); it != gates_.rend(); ++it) {
            text += it->primitive->keyword;
            for (size_t i = 0; i < it->qubit_count; ++i)
                text += " " + qubit_names_[gate_qubits_[it->first_qubit + i]];
            if (it->primitive->parameters == 1) text += " " + netlist::format_exact(it->units);
            text += "\n";
            lines.push_back(it->line);
        }
        text += ".end\n";
        lines.push_back(0);
    }

    std::vector<Token> user_tokens_;
    std::vector<Token> library_tokens_;
    std::vector<Definition> definitions_;
    std::map<std::string, int> gate_names_;
    std::map<std::string, Register> qregs_;
    std::map<std::string, Register> cregs_;
    std::vector<std::string> creg_order_;   // classical registers in declaration order
    std::vector<std::string> qubit_names_;  // flattened, in declaration order
    std::vector<int> qubit_lines_;          // the qreg line of each qubit
    struct EmittedGate {
        const Primitive* primitive;
        size_t first_qubit;  // into gate_qubits_
        size_t qubit_count;
        double units;  // its angle in π/4, when it has one
        int line;      // the statement it comes from
    };
    std::vector<EmittedGate> gates_;  // netlist gates in time order
    std::vector<int> gate_qubits_;
    struct Measurement {
        int qubit;
        std::string creg;
        int bit;
    };
    std::vector<Measurement> measured_;  // in statement order
    std::vector<bool> measured_bit_;     // per qubit: measured already
    int measure_statements_ = 0;
    const long max_qubits_;
    const double max_steps_;
    const long max_gates_;
    double steps_ = 0;  // expansion steps so far
};

}  // namespace

bool is_qasm_file_name(const std::string& name) {
    const std::string suffix = ".qasm";
    if (name.size() <= suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

QasmTranslation qasm_to_netlist(const std::string& text, long max_gates) {
    return QasmReader(text, max_gates).translate();
}

bool read_measurement_comment(const std::vector<std::string_view>& tokens,
                              MeasurementComment& comment) {
    // "name[number]" into its parts.
    auto indexed = [](std::string_view token, std::string& name, int& index) {
        const size_t open = token.find('[');
        if (open == std::string_view::npos || open == 0 || token.back() != ']') return false;
        name = std::string(token.substr(0, open));
        return netlist::parse_int(token.substr(open + 1, token.size() - open - 2), index) &&
               index >= 0;
    };
    if (tokens.size() == 3 && tokens[0] == "#" && tokens[1] == "creg") {
        comment.kind = MeasurementComment::Kind::Register;
        return indexed(tokens[2], comment.creg, comment.index) && comment.index > 0;
    }
    if (tokens.size() == 5 && tokens[0] == "#" && tokens[1] == "measure" && tokens[3] == "->") {
        comment.kind = MeasurementComment::Kind::Measure;
        comment.qubit = std::string(tokens[2]);
        return indexed(tokens[4], comment.creg, comment.index);
    }
    return false;
}
