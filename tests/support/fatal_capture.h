#pragma once
// Catching the program's fatal errors in a test: while a ThrowingFatalHandler lives, a fatal
// error throws FatalError instead of ending the process, so that its message can be checked.

#include <string>
#include <utility>

#include "circuit/fatal.h"

namespace testfatal {

/// \brief Installs the throwing fatal-error handler for its lifetime and restores the previous
/// one on destruction (also when an assertion leaves the test early).
class ThrowingFatalHandler {
  public:
    ThrowingFatalHandler() : previous_(set_fatal_handler(throwing_fatal_handler)) {}
    ~ThrowingFatalHandler() { set_fatal_handler(previous_); }
    ThrowingFatalHandler(const ThrowingFatalHandler&) = delete;
    ThrowingFatalHandler& operator=(const ThrowingFatalHandler&) = delete;

  private:
    FatalHandler previous_;
};

/// \brief Runs `f` with fatal errors thrown; returns the fatal message, or "" when `f` returned
/// normally.
template <typename F>
std::string fatal_message(F&& f) {
    ThrowingFatalHandler handler;
    try {
        std::forward<F>(f)();
    } catch (const FatalError& e) {
        return e.message;
    }
    return "";
}

}  // namespace testfatal
