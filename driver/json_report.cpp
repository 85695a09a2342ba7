#include "driver/json_report.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "circuit/netlist_text.h"

namespace {

std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (const char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string json_number(double x) {
    return std::isfinite(x) ? netlist::format_exact(x + 0.0) : "null";
}

// Gate lines per keyword of a netlist text (the lines between ".begin" and ".end").
std::map<std::string, long> gate_counts(const std::string& netlist_text) {
    std::map<std::string, long> counts;
    netlist::LineReader lines(netlist_text);
    std::string_view line;
    std::vector<std::string_view> tokens;
    bool gates = false;
    while (lines.next(line)) {
        netlist::tokenize(line, tokens);
        if (tokens.empty() || netlist::is_comment(tokens)) continue;
        if (!gates) {
            gates = tokens[0] == ".begin";
            continue;
        }
        if (tokens[0] == ".end") break;
        ++counts[std::string(tokens[0])];
    }
    return counts;
}

std::string json_counts(const std::map<std::string, long>& counts) {
    std::string out = "{";
    for (const auto& [kind, n] : counts)
        out += (out.size() > 1 ? ", " : "") + json_string(kind) + ": " + std::to_string(n);
    return out + "}";
}

std::string json_stage(const Counts& before, const Counts& after) {
    return "{\"ops_before\": " + json_number(before.ops) +
           ", \"ops_after\": " + json_number(after.ops) +
           ", \"cycles_before\": " + json_number(before.cycles) +
           ", \"cycles_after\": " + json_number(after.cycles) + "}";
}

}  // namespace

std::string json_report(const SynthesisResult& r) {
    const Settings& s = r.settings;
    const bool coded = s.code != qec_none;
    const int lookups = r.cache_hits + r.cache_misses;
    std::string j = "{\n";
    j += "  \"input\": " + json_string(s.input_file) + ",\n";
    j += "  \"output\": " + json_string(s.output_file) + ",\n";
    j += "  \"settings\": {\"pmd\": " + json_string(pmd_keyword(s.pmd)) +
         ", \"threshold\": " + json_number(s.threshold) +
         ", \"ft_mode\": " + std::to_string(s.ft_mode) +
         ", \"ft_method\": " + (s.converts() ? json_string(ft_method_name(s)) : "null") +
         ", \"code\": " + (coded ? std::to_string(static_cast<int>(s.code)) : "null") +
         ", \"level\": " + std::to_string(s.level) +
         ", \"optimise\": " + std::to_string(static_cast<int>(s.optimise)) + "},\n";
    j += std::string("  \"winner\": ") + (r.forward_wins ? "\"forward\"" : "\"backward\"") + ",\n";
    j += "  \"non_ft\": " + json_stage(r.initial, r.winner) + ",\n";
    j += "  \"post_ft\": " + (s.converts() ? json_stage(r.converted, r.last) : "null") + ",\n";
    j += "  \"logical\": " + (coded ? json_stage(r.logical_before, r.logical_after) : "null") +
         ",\n";
    j += "  \"cache\": {\"hits\": " + std::to_string(r.cache_hits) +
         ", \"misses\": " + std::to_string(r.cache_misses) + ", \"hit_rate_percent\": " +
         (lookups ? json_number(100.0 * r.cache_hits / static_cast<double>(lookups)) : "null") +
         "},\n";
    j += "  \"unconverted_rotations\": " + std::to_string(r.unconverted_rotations) + ",\n";
    j +=
        std::string("  \"angle_log_complete\": ") + (r.angle_log_failed ? "false" : "true") + ",\n";
    j += "  \"seconds\": " + json_number(r.seconds) + ",\n";
    j += "  \"gate_counts\": {\"input\": " + json_counts(gate_counts(r.input_netlist)) +
         ", \"output\": " + json_counts(gate_counts(r.output_text)) + "}\n";
    return j + "}\n";
}
