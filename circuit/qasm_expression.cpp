#include "circuit/qasm_expression.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace qasm {

namespace {
constexpr double kPi = 3.14159265358979323846;

Angle plain(double number) {
    return Angle{number, 0.0};
}

struct Function {
    const char* name;
    double (*apply)(double);
};
const Function kFunctions[] = {
    {"sin", [](double x) { return std::sin(x); }}, {"cos", [](double x) { return std::cos(x); }},
    {"tan", [](double x) { return std::tan(x); }}, {"exp", [](double x) { return std::exp(x); }},
    {"ln", [](double x) { return std::log(x); }},  {"sqrt", [](double x) { return std::sqrt(x); }},
};

int function_index(const std::string& name) {
    for (size_t i = 0; i < std::size(kFunctions); ++i)
        if (name == kFunctions[i].name) return static_cast<int>(i);
    return -1;
}
}  // namespace

// Recursive descent into postfix steps; precedence from low to high: + -, * /, unary -, ^
// (right-associative). Every nesting passes through unary(), which bounds the depth.
class ExpressionParser {
  public:
    ExpressionParser(TokenCursor& cursor, const std::vector<std::string>& parameters)
        : cursor_(cursor), parameters_(parameters) {}

    Expression parse() {
        out_.line_ = cursor_.peek().line;
        sum();
        return std::move(out_);
    }

  private:
    using Op = Expression::Op;

    void push(Op op, int line = 0) {
        Expression::Step step{op, {}, 0, line};
        out_.steps_.push_back(step);
    }

    void sum() {
        product();
        for (;;) {
            if (cursor_.accept("+")) {
                product();
                push(Op::Add);
            } else if (cursor_.accept("-")) {
                product();
                push(Op::Subtract);
            } else {
                return;
            }
        }
    }

    void product() {
        unary();
        for (;;) {
            const int line = cursor_.peek().line;
            if (cursor_.accept("*")) {
                unary();
                push(Op::Multiply);
            } else if (cursor_.accept("/")) {
                unary();
                push(Op::Divide, line);
            } else {
                return;
            }
        }
    }

    void unary() {
        const int line = cursor_.peek().line;
        if (depth_ == kMaxExpressionDepth)
            error(line, "the expression nests deeper than " + std::to_string(kMaxExpressionDepth) +
                            " levels (parentheses, signs, powers, functions)");
        ++depth_;
        if (cursor_.accept("-")) {
            unary();
            push(Op::Negate);
        } else if (cursor_.accept("+")) {
            unary();
        } else {
            power();
        }
        --depth_;
    }

    void power() {
        primary();
        if (!cursor_.accept("^")) return;
        unary();
        push(Op::Power);
    }

    void primary() {
        const Token& token = cursor_.next();
        switch (token.kind) {
            case TokenKind::Integer:
            case TokenKind::Real: {
                Expression::Step step{Op::Constant,
                                      plain(std::strtod(token.text.c_str(), nullptr))};
                out_.steps_.push_back(step);
                return;
            }
            case TokenKind::Identifier: {
                if (token.text == "pi") {
                    Expression::Step step{Op::Constant, Angle{0.0, 1.0}};
                    out_.steps_.push_back(step);
                    return;
                }
                const int f = function_index(token.text);
                if (f >= 0) {
                    cursor_.expect("(", "\"(\" after " + token.text);
                    sum();
                    cursor_.expect(")", "\")\"");
                    Expression::Step step{Op::Function, {}, f};
                    out_.steps_.push_back(step);
                    return;
                }
                const auto it = std::find(parameters_.begin(), parameters_.end(), token.text);
                if (it == parameters_.end())
                    error(token.line, "unknown parameter " + describe(token));
                Expression::Step step{
                    Op::Parameter, {}, static_cast<int>(it - parameters_.begin())};
                out_.steps_.push_back(step);
                return;
            }
            case TokenKind::Symbol:
                if (token.text == "(") {
                    sum();
                    cursor_.expect(")", "\")\"");
                    return;
                }
                break;
            default:
                break;
        }
        error(token.line, "expected a number or an expression, found " + describe(token));
    }

    TokenCursor& cursor_;
    const std::vector<std::string>& parameters_;
    Expression out_;
    int depth_ = 0;
};

double Angle::value() const {
    return number + pi_multiple * kPi;
}

double Angle::units() const {
    return 4.0 * pi_multiple + number * (4.0 / kPi);
}

Angle operator+(const Angle& a, const Angle& b) {
    return {a.number + b.number, a.pi_multiple + b.pi_multiple};
}
Angle operator-(const Angle& a, const Angle& b) {
    return {a.number - b.number, a.pi_multiple - b.pi_multiple};
}
Angle operator-(const Angle& a) {
    return {-a.number, -a.pi_multiple};
}

Angle operator*(const Angle& a, const Angle& b) {
    if (b.pi_multiple == 0.0) return {a.number * b.number, a.pi_multiple * b.number};
    if (a.pi_multiple == 0.0) return {a.number * b.number, a.number * b.pi_multiple};
    return plain(a.value() * b.value());
}

Angle operator/(const Angle& a, const Angle& b) {
    if (b.pi_multiple == 0.0) return {a.number / b.number, a.pi_multiple / b.number};
    return plain(a.value() / b.value());
}

bool is_reserved_in_expressions(const std::string& name) {
    return name == "pi" || function_index(name) >= 0;
}

Angle Expression::evaluate(const std::vector<Angle>& arguments) const {
    std::vector<Angle> stack;
    stack.reserve(steps_.size());
    for (const Step& step : steps_) {
        if (step.op == Op::Constant) {
            stack.push_back(step.constant);
            continue;
        }
        if (step.op == Op::Parameter) {
            stack.push_back(arguments[step.index]);
            continue;
        }
        Angle& top = stack.back();
        if (step.op == Op::Negate) {
            top = -top;
            continue;
        }
        if (step.op == Op::Function) {
            top = plain(kFunctions[step.index].apply(top.value()));
            continue;
        }
        const Angle right = top;
        stack.pop_back();
        Angle& left = stack.back();
        switch (step.op) {
            case Op::Add:
                left = left + right;
                break;
            case Op::Subtract:
                left = left - right;
                break;
            case Op::Multiply:
                left = left * right;
                break;
            case Op::Divide:
                if (right.value() == 0.0) error(step.line, "division by zero");
                left = left / right;
                break;
            default:  // Op::Power
                left = plain(std::pow(left.value(), right.value()));
                break;
        }
    }
    const Angle value = stack.back();
    if (!std::isfinite(value.number) || !std::isfinite(value.pi_multiple) ||
        !std::isfinite(value.units()))
        error(line_, "the expression's value is not a finite number");
    return value;
}

Expression parse_expression(TokenCursor& cursor, const std::vector<std::string>& parameters) {
    return ExpressionParser(cursor, parameters).parse();
}

}  // namespace qasm
