#include "driver/program.h"

#include <iostream>
#include <new>
#include <optional>
#include <string>

#include "circuit/fatal.h"
#include "circuit/qasm_reader.h"
#include "circuit/qasm_writer.h"
#include "circuit/text_file.h"
#include "driver/command_line.h"
#include "driver/compare.h"
#include "driver/json_report.h"
#include "driver/run_files.h"
#include "driver/synthesis_flow.h"

namespace {

// Puts the output file and the JSON report in place, the report first: both are written beside
// their targets before either is replaced, so a report that cannot be written leaves the earlier
// output as it was. Returns "" or the message of the failure (no temporary remains by then).
std::string put_results_in_place(const Settings& s, const SynthesisResult& result) {
    std::optional<PendingTextFile> json;
    const std::string json_failed = "Writing the JSON report failed: " + s.json_file + " (";
    if (!s.json_file.empty()) {
        json.emplace(s.json_file, json_report(result));
        if (json->prepared() != WriteStatus::Written)
            return json_failed + write_failure_cause() + ")";
    }
    PendingTextFile output(s.output_file,
                           is_qasm_file_name(s.output_file)
                               ? netlist_to_qasm(result.output_text, NetlistOrder::Operator)
                               : result.output_text);
    WriteStatus status = output.prepared();
    if (status == WriteStatus::Written && json && json->commit() != WriteStatus::Written)
        return json_failed + write_failure_cause() + ")";
    if (status == WriteStatus::Written) status = output.commit();
    switch (status) {
        case WriteStatus::Written:
            return "";
        case WriteStatus::OpenFailed:
            return "File open failed when writing result! (" + write_failure_cause() + ")";
        case WriteStatus::WriteFailed:
            break;
    }
    return "Writing the result file failed: " + s.output_file + " (" + write_failure_cause() + ")";
}

// Before the work starts: no file the run writes may name another of its files, and the report
// must be writable.
void check_files(const Settings& s) {
    refuse_clashing_files(files_of_run(s));
    if (!s.json_file.empty() && !output_path_writable(s.json_file))
        fatal_error("Cannot write the JSON report: " + s.json_file + " (" + write_failure_cause() +
                    ")");
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
        check_files(settings);
        const SynthesisResult result = run_synthesis(settings);
        const std::string failure = put_results_in_place(settings, result);
        if (!failure.empty()) fatal_error(failure);
        print_report(result, std::cout);
        return run_complete(result) ? 0 : 1;
    } catch (const std::bad_alloc&) {
        // NOTE: the output file is only replaced after a complete run, so it is intact here.
        fatal_error("Error: out of memory; the circuit is too large to synthesise on this machine");
    }
}
