#pragma once
// A grouped bar chart as a standalone SVG picture: one group of bars per category, one bar per
// series, a labelled value axis with round ticks, and a legend.

#include <string>
#include <vector>

struct BarGroup {
    std::string label;
    std::vector<double> values;  // one per series; a group without values is drawn as "failed"
};

struct BarChart {
    std::string title;
    std::string x_label;
    std::string y_label;
    std::vector<std::string> series;
    std::vector<BarGroup> groups;
};

/// \brief The SVG text of the chart: well-formed XML, labels escaped. Negative and non-finite
/// values are drawn as empty bars.
std::string bar_chart_svg(const BarChart& chart);
