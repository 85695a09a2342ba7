#include "circuit/qasm_expression.h"

#include <cmath>
#include <cstdlib>

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

// Recursive descent; precedence from low to high: + -, * /, unary -, ^ (right-associative).
class ExpressionParser {
  public:
    ExpressionParser(TokenCursor& cursor, const Parameters& parameters)
        : cursor_(cursor), parameters_(parameters) {}

    Angle sum() {
        Angle value = product();
        for (;;) {
            if (cursor_.accept("+"))
                value = value + product();
            else if (cursor_.accept("-"))
                value = value - product();
            else
                return value;
        }
    }

  private:
    Angle product() {
        Angle value = unary();
        for (;;) {
            const int line = cursor_.peek().line;
            if (cursor_.accept("*")) {
                value = value * unary();
            } else if (cursor_.accept("/")) {
                const Angle divisor = unary();
                if (divisor.value() == 0.0) error(line, "division by zero");
                value = value / divisor;
            } else {
                return value;
            }
        }
    }

    Angle unary() {
        if (cursor_.accept("-")) return -unary();
        if (cursor_.accept("+")) return unary();
        return power();
    }

    Angle power() {
        const Angle base = primary();
        if (!cursor_.accept("^")) return base;
        return plain(std::pow(base.value(), unary().value()));
    }

    Angle primary() {
        const Token& token = cursor_.next();
        switch (token.kind) {
            case TokenKind::Integer:
            case TokenKind::Real:
                return plain(std::strtod(token.text.c_str(), nullptr));
            case TokenKind::Identifier: {
                if (token.text == "pi") return Angle{0.0, 1.0};
                for (const Function& f : kFunctions) {
                    if (token.text != f.name) continue;
                    cursor_.expect("(", "\"(\" after " + token.text);
                    const Angle argument = sum();
                    cursor_.expect(")", "\")\"");
                    return plain(f.apply(argument.value()));
                }
                const auto it = parameters_.find(token.text);
                if (it == parameters_.end())
                    error(token.line, "unknown parameter " + describe(token));
                return it->second;
            }
            case TokenKind::Symbol:
                if (token.text == "(") {
                    const Angle value = sum();
                    cursor_.expect(")", "\")\"");
                    return value;
                }
                break;
            default:
                break;
        }
        error(token.line, "expected a number or an expression, found " + describe(token));
    }

    TokenCursor& cursor_;
    const Parameters& parameters_;
};
}  // namespace

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

Angle parse_expression(TokenCursor& cursor, const Parameters& parameters) {
    const int line = cursor.peek().line;
    const Angle value = ExpressionParser(cursor, parameters).sum();
    if (!std::isfinite(value.number) || !std::isfinite(value.pi_multiple) ||
        !std::isfinite(value.units()))
        error(line, "the expression's value is not a finite number");
    return value;
}

}  // namespace qasm
