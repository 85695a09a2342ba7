#pragma once
// An estimate of how many gates a netlist becomes once mapped, computed from its text before
// any circuit is built, so that a circuit whose mapped form cannot fit in memory is refused
// before it is mapped. The count of each gate line is taken from the mapping itself: one sample
// line of the same keyword and operand count is read into a scratch circuit.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "circuit/gate.h"

/// Figures of the default limit on mapped gates.
struct MappedSizeLimits {
    /// Peak resident memory of a whole run per gate of the mapped-size estimate (/usr/bin/time
    /// -v), measured on generated circuits of 80 thousand to 2.6 million estimated gates: 80k
    /// one-qubit gates on SC and CTL 650 to 750 bytes, 50k and 172k Toffoli gates on SC 735 to
    /// 740, 100k and 400k H and CNOT gates on SC 900 to 985 (their texts hold angles); rounded
    /// up.
    static constexpr double kBytesPerGate = 1100;
    /// Share of the machine's physical memory one run may fill with circuit graphs and texts.
    static constexpr double kMemoryShare = 0.25;
    /// The limit when the physical memory cannot be read.
    static constexpr long kFallbackMaxGates = 1000000;
    /// Controls up to which a multi-controlled gate is mapped as a sample; beyond, its count
    /// follows the doubling of its decomposition (see MappedGateCounts).
    static constexpr int kSampledControls = 8;
};

/// \brief The default of --max-gates: the gates of kBytesPerGate that fit in kMemoryShare of
/// physical memory (sysconf _SC_PHYS_PAGES × _SC_PAGE_SIZE).
long default_max_gates();

/// Native gates that one gate line becomes on one machine description, remembered per keyword
/// and operand count. An angle changes the count only through the special rows of the mapping
/// (a whole turn maps to nothing, CP(4) to CZ, GEO(2) and GEO(6) to their own rows), so the
/// count of a line with angles is the largest over sample angles that meet every row. A
/// multi-controlled gate of m controls appends 2^m − 2 CNOTs and 2^m − 1 controlled V or V†
/// gates (a Gray code over the controls), A·2^m + B gates in all: beyond kSampledControls the
/// count is carried on from the two largest samples.
class MappedGateCounts {
  public:
    explicit MappedGateCounts(PMD_type pmd) : pmd_(pmd) {}

    /// \brief Gates that the line of `tokens` (keyword first) appends once mapped; 0 for a line
    /// that the reader refuses (an unknown keyword, too few operands).
    double line(const std::vector<std::string_view>& tokens);

  private:
    /// \brief Gates of a sample line of `keyword` with `qubits` qubits and `angles` angles.
    double sampled(std::string_view keyword, int qubits, int angles);

    PMD_type pmd_;
    std::map<std::pair<std::string, int>, double> known_;  // (keyword, operands) -> gates
};

/// \brief Walks the gate lines of the netlist `text` (file order, between ".begin" and ".end")
/// and ends the program with a message naming the first line at which the estimate passes
/// `max_gates`, with the estimate and the limit, pointing to --max-gates. The estimate is the
/// larger of the circuit mapped to `pmd` and to ND (the pre-synthesis maps the input to ND). When
/// `qasm_lines` is not empty, qasm_lines[k] is the QASM source line of netlist line k + 1 and the
/// message names that line. O(1) per character once each keyword has been sampled.
void check_mapped_size(const std::string& text, long max_gates, PMD_type pmd,
                       const std::vector<int>& qasm_lines = {});
