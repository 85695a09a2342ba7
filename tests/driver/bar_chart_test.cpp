#include "driver/bar_chart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/xml_check.h"

namespace {

TEST(BarChart, WellFormedWithEscapedLabelsAndFailedGroups) {
    BarChart chart;
    chart.title = "a <b> & \"c\"";
    chart.x_label = "x";
    chart.y_label = "y";
    chart.series = {"ops", "cycles"};
    chart.groups = {{"QD", {416, 331}}, {"S&C", {}}, {"IT", {0, 1e9}}, {"NA", {NAN, -3}}};
    const std::string svg = bar_chart_svg(chart);
    EXPECT_EQ(testxml::well_formedness_problem(svg), "") << svg;
    EXPECT_NE(svg.find("a &lt;b&gt; &amp; &quot;c&quot;"), std::string::npos);
    EXPECT_NE(svg.find(">failed<"), std::string::npos);
    EXPECT_NE(svg.find(">416<"), std::string::npos);
    EXPECT_NE(svg.find(">1e+09<"), std::string::npos);
}

TEST(BarChart, EmptyChartIsStillAPicture) {
    EXPECT_EQ(testxml::well_formedness_problem(bar_chart_svg(BarChart{})), "");
}

}  // namespace
