#pragma once
#include <string>

/// \brief Ends the program after a fatal input or file error: prints `message` and a newline on
/// standard output and exits with status 1. Every fatal error of the program goes through here.
[[noreturn]] void fatal_error(const std::string& message);

/// \brief Same as fatal_error, but the message goes to the error stream.
[[noreturn]] void fatal_error_stderr(const std::string& message);

/// A fatal-error handler receives the message (already printed) and must not return; the default
/// handler calls exit(1). Fuzz targets and tests install one that throws FatalError, so that a
/// reader can be driven up to its error report without ending the process.
using FatalHandler = void (*)(const std::string& message);

/// \brief Installs `handler` (nullptr restores the default) and returns the previous one.
FatalHandler set_fatal_handler(FatalHandler handler);

/// Thrown by throwing_fatal_handler.
struct FatalError {
    std::string message;
};

/// A handler that throws FatalError{message}.
[[noreturn]] void throwing_fatal_handler(const std::string& message);
