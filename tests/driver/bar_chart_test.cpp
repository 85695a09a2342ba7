#include "driver/bar_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <string>

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

// The bars of a chart, read back from the picture: "label series: value" -> (y, height).
std::map<std::string, std::pair<double, double>> bars(const std::string& svg) {
    static const std::regex bar(
        "<rect x=\"[^\"]*\" y=\"([^\"]*)\" width=\"[^\"]*\" height=\"([^\"]*)\"[^>]*>"
        "<title>([^<]*)</title>");
    std::map<std::string, std::pair<double, double>> out;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), bar); it != std::sregex_iterator();
         ++it)
        out[(*it)[3]] = {std::stod((*it)[1]), std::stod((*it)[2])};
    return out;
}

// Bars stand on one base line, their heights in proportion to their values; groups without
// values, negative and non-finite values get no bar.
TEST(BarChart, BarHeightsAreProportionalToTheValues) {
    BarChart chart;
    chart.series = {"ops", "cycles"};
    chart.groups = {{"QD", {100, 50}}, {"SC", {25, 0}}, {"IT", {}}, {"NA", {NAN, -3}}};
    const auto b = bars(bar_chart_svg(chart));
    ASSERT_EQ(b.size(), 4u);
    const double full = b.at("QD ops: 100").second;
    EXPECT_GT(full, 0);
    EXPECT_NEAR(b.at("QD cycles: 50").second, full / 2, 0.1);
    EXPECT_NEAR(b.at("SC ops: 25").second, full / 4, 0.1);
    EXPECT_NEAR(b.at("SC cycles: 0").second, 0, 0.1);
    const double base = b.at("QD ops: 100").first + full;
    for (const auto& [title, bar] : b) EXPECT_NEAR(bar.first + bar.second, base, 0.1) << title;
}

TEST(BarChart, EmptyChartIsStillAPicture) {
    EXPECT_EQ(testxml::well_formedness_problem(bar_chart_svg(BarChart{})), "");
}

}  // namespace
