#pragma once
// Shared pieces of the libFuzzer targets. A reader's fatal-error path ends the process with its
// message and exit status 1, which is expected behaviour, not a finding: the targets install a
// throwing fatal-error handler and catch FatalError, so the fuzzer keeps running past it.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "circuit/fatal.h"

namespace fuzz {

/// Runs once per process: silences standard output (the readers print their messages there),
/// installs the throwing handler and moves into a private scratch folder holding a valid
/// "CostGateCount.txt" copied from `data_dir` (the folder the fuzz script passes in
/// MAROVIN_FUZZ_DATA).
inline void setup_once() {
    static bool done = false;
    if (done) return;
    done = true;
    std::cout.setstate(std::ios::failbit);
    set_fatal_handler(throwing_fatal_handler);
    char tmpl[] = "/tmp/marovin_fuzz_XXXXXX";
    const char* dir = mkdtemp(tmpl);
    const char* data = std::getenv("MAROVIN_FUZZ_DATA");
    if (dir == nullptr) std::abort();
    if (data != nullptr) {
        std::ifstream in(std::string(data) + "/CostGateCount.txt", std::ios::binary);
        std::ofstream out(std::string(dir) + "/CostGateCount.txt", std::ios::binary);
        out << in.rdbuf();
    }
    if (chdir(dir) != 0) std::abort();
}

inline void write_file(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace fuzz
