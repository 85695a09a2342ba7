#include "driver/progress.h"

#include <time.h>
#include <unistd.h>

#include <iostream>
#include <sstream>

namespace {
constexpr double kQuietSeconds = 2.0;  // nothing is printed before the run has taken this long
constexpr double kMinInterval = 1.0;   // seconds between two lines

double monotonic_seconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
}  // namespace

ProgressMeter::ProgressMeter(std::ostream& out, bool enabled, Clock clock)
    : out_(out), enabled_(enabled), clock_(std::move(clock)), start_(enabled_ ? clock_() : 0.0) {}

ProgressMeter ProgressMeter::for_terminal() {
    return ProgressMeter(std::cerr, isatty(STDERR_FILENO) == 1, monotonic_seconds);
}

void ProgressMeter::phase(const std::string& name) {
    phase_ = name;
    round_ = 0;
}

void ProgressMeter::round(double count, const char* unit) {
    ++round_;
    if (!enabled_) return;
    std::ostringstream line;
    line << "progress: " << phase_ << ", round " << round_ << ", " << count << " " << unit;
    maybe_print(line.str());
}

void ProgressMeter::step(const std::string& line) {
    if (enabled_) maybe_print("progress: " + line);
}

void ProgressMeter::maybe_print(const std::string& line) {
    const double now = clock_() - start_;
    if (now <= kQuietSeconds) return;
    if (last_printed_ >= 0 && now - last_printed_ < kMinInterval) return;
    last_printed_ = now;
    out_ << line << std::endl;
}
