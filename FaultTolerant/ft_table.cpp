// The fault-tolerant sequence cache and its file "FT_table.txt".

#include "FaultTolerant/ft_table.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "circuit/fatal.h"

namespace {

constexpr const char* kSeparators = " \n\t\r";
constexpr size_t kMaxLineLength = 1023;  // the reader's line buffer holds 1024 bytes

struct Token {
    std::string text;
    size_t end = 0;  // position just after the token in its line
};

/// Splits a line at blanks, tabs, newlines and carriage returns. O(line length).
std::vector<Token> split_tokens(const std::string& line) {
    std::vector<Token> tokens;
    size_t pos = line.find_first_not_of(kSeparators);
    while (pos != std::string::npos) {
        size_t end = line.find_first_of(kSeparators, pos);
        if (end == std::string::npos) end = line.size();
        tokens.push_back(Token{line.substr(pos, end - pos), end});
        pos = line.find_first_not_of(kSeparators, end);
    }
    return tokens;
}

double read_double(const std::string& token) {
    return std::strtod(token.c_str(), nullptr);
}

/// Reads one "DIST <dist> GATE <sequence>" line of a block into `entry`; ends the program on a
/// syntax error.
FT_entry read_entry_line(const std::string& line, const std::vector<Token>& tokens) {
    const std::string buffer = line.substr(0, tokens[0].end);
    if (tokens[0].text != "DIST") {
        std::cout << "Syntax Error, should be 'DIST':\n"
                  << "buffer= " << buffer << "\n";
        fatal_error("token= " + tokens[0].text);
    }
    const std::string third = tokens.size() > 2 ? tokens[2].text : "";
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
    return FT_entry{read_double(tokens[1].text), tokens[3].text};
}

}  // namespace

void ft_table_read(std::istream& in, FT_table& cache) {
    bool in_block = false;
    double block_angle = 0.0;
    std::vector<FT_entry> block;
    std::string line;
    long line_number = 0;
    while (std::getline(in, line)) {
        ++line_number;
        if (line.size() > kMaxLineLength) {
            // NOTE: a longer line would be cut by the line buffer and its rest read as a line
            // of its own; it is reported instead of being misread.
            fatal_error("FT_table.txt: line " + std::to_string(line_number) +
                        " is longer than 1023 characters");
        }
        const std::vector<Token> tokens = split_tokens(line);
        if (tokens.empty()) continue;  // blank, or separators only (CR-LF files)
        const std::string& first = tokens[0].text;
        if (!in_block) {
            if (first == "#") continue;
            if (first == ".angle") {
                if (tokens.size() < 2)
                    fatal_error("Syntax Error, '.angle' should be followed by an angle: " + line);
                in_block = true;
                block_angle = read_double(tokens[1].text);
                block.clear();
                continue;
            }
            std::cout << "Error! FT_table.txt: line " << line_number
                      << " is neither a comment nor an '.angle' line, skipped: " << line << "\n";
            continue;
        }
        if (first == ".end") {
            // NOTE: a NaN key would break the ordering of the map; such a block is dropped.
            if (std::isnan(block_angle))
                std::cout << "Error! FT_table.txt: block with angle nan ignored\n";
            else
                cache.table.emplace(block_angle, std::move(block));  // an existing key wins
            block.clear();
            in_block = false;
            continue;
        }
        block.push_back(read_entry_line(line, tokens));
    }
    // A block still open at the end of the text is discarded.
}

void FT_table::set_FT_table() {
    std::ifstream in("FT_table.txt");
    if (!in) fatal_error("Cannot open FT_table.txt!");
    ft_table_read(in, *this);
}

void FT_table::insert_FT_table(double angle, double dist, std::string seq) {
    // NOTE: a NaN angle cannot be a key of an ordered map; nothing is stored for it.
    if (std::isnan(angle)) return;
    table[angle].push_back(FT_entry{dist, std::move(seq)});
}

std::string FT_table::get_FT_seq(Gate_type kind, double angle, double dist) {
    // NOTE: compared with != rather than >, so that a NaN angle finds no key.
    auto it = table.lower_bound(angle);
    if (it == table.end() || it->first != angle) return "";
    const FT_entry* chosen = nullptr;
    for (const FT_entry& entry : it->second) {
        if (entry.dist <= dist) {
            chosen = &entry;
            break;
        }
    }
    if (chosen == nullptr) {
        std::cout << "Required dist is smaller than cached table!\n";
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
