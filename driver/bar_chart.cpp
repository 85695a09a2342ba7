#include "driver/bar_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kBar = 22;       // bar width, pixels
constexpr double kGroupGap = 26;  // space between groups
constexpr double kPlotHeight = 300;
constexpr double kLeft = 90, kTop = 50, kBottom = 70, kRight = 160;
const char* const kColours[] = {"#4e79a7", "#f28e2b", "#59a14f", "#e15759"};

std::string xml_escaped(const std::string& s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

std::string number(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", x);
    return buffer;
}

std::string coordinate(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", x);
    return buffer;
}

// A tick step of 1, 2 or 5 times a power of ten giving about five ticks up to `top`.
double tick_step(double top) {
    const double raw = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

std::string text(double x, double y, const std::string& s, const char* anchor,
                 const std::string& extra = "") {
    return "<text x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) + "\" text-anchor=\"" + anchor +
           "\"" + extra + ">" + xml_escaped(s) + "</text>\n";
}

}  // namespace

std::string bar_chart_svg(const BarChart& chart) {
    const size_t n_series = std::max<size_t>(chart.series.size(), 1);
    const double group_width = n_series * kBar + kGroupGap;
    const double plot_width = std::max(1.0, chart.groups.size() * group_width);
    const double width = kLeft + plot_width + kRight, height = kTop + kPlotHeight + kBottom;

    double top = 0;
    for (const BarGroup& g : chart.groups)
        for (const double v : g.values)
            if (std::isfinite(v)) top = std::max(top, v);
    const double step = top > 0 ? tick_step(top) : 1;
    top = top > 0 ? std::ceil(top / step) * step : 5;
    auto y_of = [&](double v) { return kTop + kPlotHeight * (1 - v / top); };

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + coordinate(width) +
           "\" height=\"" + coordinate(height) + "\" viewBox=\"0 0 " + coordinate(width) + " " +
           coordinate(height) + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += text(width / 2, 24, chart.title, "middle", " font-size=\"15\"");

    // Value axis with grid lines and ticks.
    for (double v = 0; v <= top * (1 + 1e-12); v += step) {
        const std::string y = coordinate(y_of(v));
        svg += "<line x1=\"" + coordinate(kLeft) + "\" y1=\"" + y + "\" x2=\"" +
               coordinate(kLeft + plot_width) + "\" y2=\"" + y + "\" stroke=\"#dddddd\"/>\n";
        svg += text(kLeft - 6, y_of(v) + 4, number(v), "end");
    }
    svg += "<line x1=\"" + coordinate(kLeft) + "\" y1=\"" + coordinate(kTop) + "\" x2=\"" +
           coordinate(kLeft) + "\" y2=\"" + coordinate(kTop + kPlotHeight) +
           "\" stroke=\"black\"/>\n";
    svg += "<line x1=\"" + coordinate(kLeft) + "\" y1=\"" + coordinate(kTop + kPlotHeight) +
           "\" x2=\"" + coordinate(kLeft + plot_width) + "\" y2=\"" +
           coordinate(kTop + kPlotHeight) + "\" stroke=\"black\"/>\n";
    svg += text(20, kTop + kPlotHeight / 2, chart.y_label, "middle",
                " transform=\"rotate(-90 20 " + coordinate(kTop + kPlotHeight / 2) + ")\"");
    svg += text(kLeft + plot_width / 2, height - 18, chart.x_label, "middle");

    // Bars, each with its value above it.
    for (size_t g = 0; g < chart.groups.size(); ++g) {
        const BarGroup& group = chart.groups[g];
        const double x0 = kLeft + g * group_width + kGroupGap / 2;
        svg += text(x0 + n_series * kBar / 2, kTop + kPlotHeight + 18, group.label, "middle");
        if (group.values.empty())
            svg += text(x0 + n_series * kBar / 2, kTop + kPlotHeight - 6, "failed", "middle",
                        " fill=\"#aa0000\"");
        for (size_t s = 0; s < group.values.size() && s < n_series; ++s) {
            const double v = group.values[s];
            if (!std::isfinite(v) || v < 0) continue;
            const double x = x0 + s * kBar;
            svg += "<rect x=\"" + coordinate(x) + "\" y=\"" + coordinate(y_of(v)) + "\" width=\"" +
                   coordinate(kBar - 2) + "\" height=\"" +
                   coordinate(kTop + kPlotHeight - y_of(v)) + "\" fill=\"" +
                   kColours[s % std::size(kColours)] + "\"><title>" +
                   xml_escaped(group.label + " " + chart.series[s] + ": " + number(v)) +
                   "</title></rect>\n";
            svg += text(x + (kBar - 2) / 2, y_of(v) - 3, number(v), "middle", " font-size=\"9\"");
        }
    }

    // Legend.
    for (size_t s = 0; s < chart.series.size(); ++s) {
        const double y = kTop + 10 + 20 * s;
        svg += "<rect x=\"" + coordinate(kLeft + plot_width + 20) + "\" y=\"" + coordinate(y - 10) +
               "\" width=\"12\" height=\"12\" fill=\"" + kColours[s % std::size(kColours)] +
               "\"/>\n";
        svg += text(kLeft + plot_width + 38, y, chart.series[s], "start");
    }
    return svg + "</svg>\n";
}
