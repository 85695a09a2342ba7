#include "driver/program.h"

#include <iostream>
#include <new>

#include "circuit/fatal.h"
#include "circuit/qasm_reader.h"
#include "circuit/qasm_writer.h"
#include "circuit/text_file.h"
#include "driver/command_line.h"
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

}  // namespace

int run_marovin(int argc, char** argv) {
    try {
        Settings settings;
        if (parse_command_line(argc, argv, settings, std::cout) == ParseStatus::Usage) {
            std::cout << usage_line() << std::endl;
            return 1;
        }
        const SynthesisResult result = run_synthesis(settings);
        put_output_in_place(settings, result.output_text);
        print_report(result, std::cout);
        return 0;
    } catch (const std::bad_alloc&) {
        // NOTE: the output file is only replaced after a complete run, so it is intact here.
        fatal_error("Error: out of memory; the circuit is too large to synthesise on this machine");
    }
}
