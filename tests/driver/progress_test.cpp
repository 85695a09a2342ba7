#include "driver/progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A meter on a clock the test moves by hand.
struct Fixture {
    double now = 100.0;
    std::ostringstream out;
    ProgressMeter meter{out, true, [this] { return now; }};
};

TEST(ProgressMeter, QuietForTwoSecondsThenAtMostOneLineASecond) {
    Fixture f;
    f.meter.phase("forward synthesis");
    f.now += 1.9;
    f.meter.round(120, "ops");
    EXPECT_EQ(f.out.str(), "");
    f.now += 0.2;  // 2.1 s
    f.meter.round(100, "ops");
    EXPECT_EQ(f.out.str(), "progress: forward synthesis, round 2, 100 ops\n");
    f.now += 0.5;  // 2.6 s: too soon
    f.meter.round(90, "ops");
    EXPECT_EQ(f.out.str(), "progress: forward synthesis, round 2, 100 ops\n");
    f.now += 0.6;  // 3.2 s
    f.meter.phase("critical path");
    f.meter.round(40, "cycles");
    EXPECT_EQ(f.out.str(),
              "progress: forward synthesis, round 2, 100 ops\n"
              "progress: critical path, round 1, 40 cycles\n");
    f.now += 5;
    f.meter.step("fault-tolerant conversion");
    EXPECT_EQ(f.out.str(),
              "progress: forward synthesis, round 2, 100 ops\n"
              "progress: critical path, round 1, 40 cycles\n"
              "progress: fault-tolerant conversion\n");
}

TEST(ProgressMeter, DisabledMeterPrintsNothing) {
    double now = 0;
    std::ostringstream out;
    ProgressMeter meter(out, false, [&now] { return now; });
    meter.phase("p");
    for (int i = 0; i < 10; ++i) {
        now += 3;
        meter.round(i, "ops");
        meter.step("s");
    }
    EXPECT_EQ(out.str(), "");
}

}  // namespace
