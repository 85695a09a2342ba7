#pragma once
// Progress lines for long runs, on the error stream: once a run has taken more than two seconds,
// one line per completed round (phase, round, current operation count), at most one a second,
// and only when the stream is a terminal, so that logs and pipes see nothing.

#include <functional>
#include <ostream>
#include <string>

class ProgressMeter {
  public:
    /// Seconds on a monotonic clock.
    using Clock = std::function<double()>;

    /// \brief A meter that writes to `out` when `enabled`, timing with `clock`.
    ProgressMeter(std::ostream& out, bool enabled, Clock clock);
    /// \brief The meter of a run: standard error, enabled when it is a terminal, the monotonic
    /// clock.
    static ProgressMeter for_terminal();

    /// \brief Starts a phase ("forward synthesis", ...); rounds count from 1 again.
    void phase(const std::string& name);
    /// \brief A round of the current phase has ended with `count` of `unit` ("ops", "cycles").
    void round(double count, const char* unit);
    /// \brief A free-form step (used where there are no rounds to count).
    void step(const std::string& line);

  private:
    void maybe_print(const std::string& line);

    std::ostream& out_;
    bool enabled_;
    Clock clock_;
    double start_;
    double last_printed_ = -1.0;
    std::string phase_;
    int round_ = 0;
};
