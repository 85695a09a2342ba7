// The fault-tolerant sequence cache and its file "FT_table.txt".

#include "FaultTolerant/ft_table.h"

#include <sys/stat.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "FaultTolerant/gate_sequence.h"
#include "circuit/fatal.h"
#include "circuit/netlist_text.h"

namespace {

constexpr size_t kMaxLineLength = 1023;  // the reader's line buffer holds 1024 bytes

using Tokens = std::vector<std::string_view>;

[[noreturn]] void file_error(long line_number, const std::string& problem) {
    fatal_error("FT_table.txt: line " + std::to_string(line_number) + ": " + problem);
}

// A whole token that is a finite decimal number; anything else ends the program.
double read_number(const std::string& token, long line_number, const char* what) {
    double value = 0;
    if (!netlist::parse_number(token, value))
        file_error(line_number, std::string(what) + " \"" + token + "\" is not a finite number");
    return value;
}

// True for the letters of the gate-sequence alphabet and the parentheses of composite labels.
bool is_sequence_character(char ch) {
    Gate_type kind;
    return ft_is_grouping(ch) || ft_letter_kind(ch, kind);
}

/// Reads one "DIST <dist> GATE <sequence>" line of a block into `entry`; ends the program on a
/// syntax error.
FT_entry read_entry_line(const std::string& line, const Tokens& tokens, long line_number) {
    // The line up to the end of its first token.
    const std::string buffer(line.data(), tokens[0].data() + tokens[0].size());
    if (tokens[0] != "DIST") {
        std::cout << "Syntax Error, should be 'DIST':\n"
                  << "buffer= " << buffer << "\n";
        fatal_error("token= " + std::string(tokens[0]));
    }
    const std::string third = tokens.size() > 2 ? std::string(tokens[2]) : "";
    if (third != "GATE") {
        std::cout << "Syntax Error, should be 'GATE':\n"
                  << "buffer= " << buffer << "\n";
        fatal_error("token= " + third);
    }
    if (tokens.size() < 4) {
        // NOTE: an entry without a sequence would read as "no sequence available" and hide the
        // later entries of its angle; it is reported as a syntax error instead.
        fatal_error("Syntax Error, 'GATE' should be followed by a gate sequence: " + line);
    }
    // NOTE: a negative distance would meet every threshold, and a letter outside the alphabet
    // would be dropped on insertion: both make a sequence other than the one the file claims.
    const std::string distance(tokens[1]);
    const double dist = read_number(distance, line_number, "distance");
    if (dist < 0) file_error(line_number, "distance " + distance + " is negative");
    const std::string seq(tokens[3]);
    for (char ch : seq) {
        if (!is_sequence_character(ch))
            file_error(line_number, std::string("letter '") + ch + "' of sequence " + seq +
                                        " is not one of H T t S s X Z I ( )");
    }
    return FT_entry{dist, seq, EntrySource::File};
}

std::string format_number(double value) {
    std::ostringstream out;
    out.precision(6);
    out << value;
    return out.str();
}

}  // namespace

void ft_table_read(std::istream& in, FT_table& cache) {
    bool in_block = false;
    double block_angle = 0.0;
    std::vector<FT_entry> block;
    std::string line;
    Tokens tokens;
    long line_number = 0;
    while (std::getline(in, line)) {
        ++line_number;
        if (!netlist::tokenize_line(line, kMaxLineLength, tokens)) {
            // NOTE: a longer line would be cut by the line buffer and its rest read as a line
            // of its own; it is reported instead of being misread.
            fatal_error("FT_table.txt: line " + std::to_string(line_number) +
                        " is longer than 1023 characters");
        }
        if (tokens.empty()) continue;  // blank, or separators only (CR-LF files)
        const std::string_view first = tokens[0];
        if (!in_block) {
            if (first == "#") continue;
            if (first == ".angle") {
                if (tokens.size() < 2)
                    fatal_error("Syntax Error, '.angle' should be followed by an angle: " + line);
                in_block = true;
                block_angle = read_number(std::string(tokens[1]), line_number, "angle");
                block.clear();
                continue;
            }
            file_error(line_number, "neither a comment nor an '.angle' line: " + line);
        }
        if (first == ".end") {
            cache.table.emplace(block_angle, std::move(block));  // an existing key wins
            block.clear();
            in_block = false;
            continue;
        }
        block.push_back(read_entry_line(line, tokens, line_number));
    }
    if (in.bad())
        fatal_error("FT_table.txt: reading failed after line " + std::to_string(line_number));
    // A block still open at the end of the text is discarded.
}

void FT_table::set_FT_table() {
    // NOTE: a folder opens as a stream that reads nothing, which would pass for an empty cache.
    struct stat info {};
    if (stat("FT_table.txt", &info) == 0 && S_ISDIR(info.st_mode))
        fatal_error("Cannot open FT_table.txt! (it is a folder)");
    std::ifstream in("FT_table.txt");
    if (!in) fatal_error("Cannot open FT_table.txt!");
    ft_table_read(in, *this);
}

void FT_table::insert_FT_table(double angle, double dist, std::string seq) {
    // NOTE: a NaN angle cannot be a key of an ordered map; nothing is stored for it.
    if (std::isnan(angle)) return;
    table[angle].push_back(FT_entry{dist, std::move(seq)});
}

double ft_sequence_distance(const std::string& seq, double angle) {
    using cd = std::complex<double>;
    Matrix2 product;
    product(0, 0) = product(1, 1) = 1;
    for (char letter : seq) {
        if (ft_is_grouping(letter)) continue;
        Gate gate;
        Matrix2 factor;
        if (!ft_letter_kind(letter, gate.type) || !ft_window_factor(gate, factor))
            return std::nan("");
        product = product * factor;
    }
    Gate rotation;
    rotation.type = RZ;
    rotation.angle = angle;
    Matrix2 target;
    ft_window_factor(rotation, target);
    cd trace = 0;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) trace += std::conj(product(r, c)) * target(r, c);
    const double h = (2.0 - std::abs(trace)) / 2.0;
    return h < 0 ? 0.0 : std::sqrt(h);
}

// NOTE: a file entry is checked against its angle on first use; its DIST only says which
// thresholds it claims to meet. A measured distance is trusted to kFtDistanceResolution.
bool FT_table::usable(FT_entry& entry, double angle, double dist) {
    if (entry.source != EntrySource::File) return true;
    if (entry.measured < 0) entry.measured = ft_sequence_distance(entry.seq, angle);
    if (entry.measured <= dist + kFtDistanceResolution) return true;
    if (!entry.reported) {
        std::cout << "Error: FT_table.txt: the sequence " << entry.seq << " of angle "
                  << format_number(angle) << " (DIST " << format_number(entry.dist)
                  << ") is at distance " << format_number(entry.measured)
                  << " from its rotation, more than the threshold " << format_number(dist)
                  << "; not used" << std::endl;
        entry.reported = true;
    }
    return false;
}

std::string FT_table::get_FT_seq(Gate_type kind, double angle, double dist) {
    // NOTE: compared with != rather than >, so that a NaN angle finds no key.
    auto it = table.lower_bound(angle);
    if (it == table.end() || it->first != angle) return "";
    const FT_entry* chosen = nullptr;
    bool fine_enough = false;
    for (FT_entry& entry : it->second) {
        if (!(entry.dist <= dist)) continue;
        fine_enough = true;
        if (usable(entry, angle, dist)) {
            chosen = &entry;
            break;
        }
    }
    if (chosen == nullptr) {
        // Entries that claim the distance but miss it have been reported; the caller searches.
        if (!fine_enough) std::cout << "Required dist is smaller than cached table!\n";
        return "";
    }
    switch (kind) {
        case RX:
            return "H" + chosen->seq + "H";
        case RY:
            return "SH" + chosen->seq + "Hs";
        case RZ:
            return chosen->seq;
        default:
            std::cout << "get_FT_seq:None supported gate: " << static_cast<int>(kind) << "\n";
            return "";
    }
}
