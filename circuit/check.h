#pragma once
// Checks of internal invariants: conditions that only a fault in the program can break, never
// bad input (bad input ends through fatal_error with a message for the user). They stay on in
// every build type, and name the file and line of the broken condition.

#include <cstdio>
#include <cstdlib>

/// \brief Ends the program with "Internal error at <file>:<line>: <what>" on standard error when
/// `condition` is false. `what` is a string literal saying what should have held.
#define MAROVIN_CHECK(condition, what)                                                       \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "Internal error at %s:%d: %s\n", __FILE__, __LINE__, what); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)
