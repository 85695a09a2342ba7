#pragma once
// Error type of the Solovay-Kitaev approximation: the only errors of the system that travel as
// exceptions. ftpelmar catches them and reports their message.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};
