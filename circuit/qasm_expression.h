#pragma once
// Parameter expressions of OpenQASM 2.0 (real numbers, pi, gate parameters, + - * / ^, unary
// minus, sin cos tan exp ln sqrt). An expression is parsed once into a postfix program and
// evaluated as often as its gate is expanded, without recursion.
//
// A value is kept as number + multiple·π while the expression stays linear in π, so that
// "pi/2" or "-pi*0.25" turn into the program's angle units (π/4) without rounding: 2 and -1
// exactly. Anything else (a product of two π terms, a function, a power) folds into the number.

#include <string>
#include <vector>

#include "circuit/qasm_tokens.h"

namespace qasm {

/// A real value, number + pi_multiple·π (radians when it is an angle).
struct Angle {
    double number = 0.0;
    double pi_multiple = 0.0;

    /// \brief The value as one double.
    double value() const;
    /// \brief The value, read as radians, in the program's angle units of π/4.
    double units() const;
};

Angle operator+(const Angle& a, const Angle& b);
Angle operator-(const Angle& a, const Angle& b);
Angle operator-(const Angle& a);
/// Products and quotients by a plain number stay exact; others fold into the number.
Angle operator*(const Angle& a, const Angle& b);
Angle operator/(const Angle& a, const Angle& b);

/// Deepest nesting of parentheses, function calls, unary signs and powers that an expression
/// may hold; deeper text is refused rather than read by a recursion without bound.
constexpr int kMaxExpressionDepth = 256;

/// \brief True for the names an expression gives a meaning of its own (pi and the functions),
/// which therefore cannot name a gate parameter.
bool is_reserved_in_expressions(const std::string& name);

/// One parsed expression: a postfix program over constants and the parameters of its gate.
class Expression {
  public:
    /// \brief The value for `arguments` (by parameter index). Division by zero or a value that
    /// is not finite ends the program with "QASM line N: ...".
    Angle evaluate(const std::vector<Angle>& arguments) const;
    /// \brief Steps of one evaluation (the work it costs).
    size_t size() const { return steps_.size(); }

  private:
    friend class ExpressionParser;
    enum class Op { Constant, Parameter, Negate, Add, Subtract, Multiply, Divide, Power, Function };
    struct Step {
        Op op;
        Angle constant;  // Constant
        int index = 0;   // Parameter: its index; Function: index into the functions
        int line = 0;    // where a Divide's divisor stands
    };
    std::vector<Step> steps_;
    int line_ = 0;  // the expression's first line
};

/// \brief Parses one expression at the cursor; identifiers other than pi and the function names
/// are the names in `parameters` (their index is the argument index at evaluation). Unknown
/// names, malformed text and nesting deeper than kMaxExpressionDepth end the program with
/// "QASM line N: ...". O(length of the expression).
Expression parse_expression(TokenCursor& cursor, const std::vector<std::string>& parameters);

}  // namespace qasm
