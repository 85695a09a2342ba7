#include "support/netlist_files.h"

#include "circuit/fatal.h"
#include "circuit/netlist_rewrite.h"
#include "circuit/text_file.h"

namespace {

std::string read_or_fail(const std::string& file) {
    std::string text;
    if (!read_text_file(file, text)) fatal_error("Cannot read input file!" + file);
    return text;
}

void write_or_fail(const std::string& file, const std::string& text) {
    if (write_text_file_atomically(file, text) != WriteStatus::Written)
        fatal_error("Cannot write output file!" + file);
}

}  // namespace

void inverse_netlistfile(std::string input_file, std::string output_file) {
    std::string text = read_or_fail(input_file);
    std::string result;
    inverse_netlist(text, result);
    write_or_fail(output_file, result);
}

void reverse_netlistfile(std::string input_file, std::string output_file) {
    std::string text = read_or_fail(input_file);
    std::string result;
    reverse_netlist(text, result);
    write_or_fail(output_file, result);
}
