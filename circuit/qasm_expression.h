#pragma once
// Parameter expressions of OpenQASM 2.0 (real numbers, pi, gate parameters, + - * / ^, unary
// minus, sin cos tan exp ln sqrt), evaluated as they are parsed.
//
// A value is kept as number + multiple·π while the expression stays linear in π, so that
// "pi/2" or "-pi*0.25" turn into the program's angle units (π/4) without rounding: 2 and -1
// exactly. Anything else (a product of two π terms, a function, a power) folds into the number.

#include <map>
#include <string>

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

using Parameters = std::map<std::string, Angle>;

/// \brief Parses and evaluates one expression at the cursor; identifiers other than pi and the
/// function names are looked up in `parameters`. Errors (unknown name, division by zero, a
/// result that is not finite, malformed text) end the program with "QASM line N: ...".
Angle parse_expression(TokenCursor& cursor, const Parameters& parameters);

}  // namespace qasm
