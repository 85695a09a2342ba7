#pragma once
// The machine-readable report of a run (--json FILE): one JSON object with the settings, the
// winning direction, operation and cycle counts before and after each stage, the cache
// counters, the run time and the gate counts of the input and the output per kind.

#include <string>

#include "driver/synthesis_flow.h"

/// \brief The JSON text of a run's result. Figures are written so that they read back to the
/// same doubles as the console's; a stage that did not run (no threshold, no code) is null, as
/// is a figure that is not finite. Gate counts are per netlist keyword.
std::string json_report(const SynthesisResult& result);
