#include "driver/program.h"

#include <iostream>
#include <new>

#include "circuit/fatal.h"
#include "circuit/qasm_reader.h"
#include "circuit/qasm_writer.h"
#include "circuit/text_file.h"
#include "driver/command_line.h"
#include "driver/compare.h"
#include "driver/json_report.h"
#include "driver/synthesis_flow.h"

namespace {

void put_output_in_place(const Settings& s, const std::string& netlist) {
    const std::string text = is_qasm_file_name(s.output_file)
                                 ? netlist_to_qasm(netlist, NetlistOrder::Operator)
                                 : netlist;
    switch (write_text_file_atomically(s.output_file, text)) {
        case WriteStatus::Written:
            return;
        case WriteStatus::OpenFailed:
            fatal_error("File open failed when writing result!");
        case WriteStatus::WriteFailed:
            fatal_error("Writing the result file failed: " + s.output_file);
    }
}

// The report must not take the place of the input or the output, and must be writable before
// the work starts.
void check_json_file(const Settings& s) {
    const std::string& json = s.json_file;
    if (json == s.input_file || json == s.output_file || same_existing_file(json, s.input_file) ||
        same_existing_file(json, s.output_file))
        fatal_error("The JSON report would overwrite the input or the output file: " + json);
    if (!output_path_writable(json)) fatal_error("Cannot write the JSON report: " + json);
}

}  // namespace

int run_marovin(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "compare") return run_compare(argc, argv);
    try {
        Settings settings;
        if (parse_command_line(argc, argv, settings, std::cout) == ParseStatus::Usage) {
            std::cout << usage_line() << std::endl;
            return 1;
        }
        if (!settings.json_file.empty()) check_json_file(settings);
        const SynthesisResult result = run_synthesis(settings);
        put_output_in_place(settings, result.output_text);
        if (!settings.json_file.empty() &&
            write_text_file_atomically(settings.json_file, json_report(result)) !=
                WriteStatus::Written)
            fatal_error("Writing the JSON report failed: " + settings.json_file);
        print_report(result, std::cout);
        return run_complete(result) ? 0 : 1;
    } catch (const std::bad_alloc&) {
        // NOTE: the output file is only replaced after a complete run, so it is intact here.
        fatal_error("Error: out of memory; the circuit is too large to synthesise on this machine");
    }
}
