#pragma once
// Exhaustive meet-in-the-middle search for a Clifford+T sequence approximating a 2x2 unitary up to
// a global phase.

#include <string>

#include "FaultTolerant/tavex/bin_set.h"
#include "FaultTolerant/tavex/bit_ops.h"
#include "FaultTolerant/tavex/mtx_tavex.h"

/// \brief The printed form of label `label` ("I", "H", ..., "(SHs)", "T", "t" for 0..25), or the
/// empty string for any other number.
std::string print_gate(int label);

/// One search over products of the 25 gate labels. Serves a single call of `ft_tavex`.
class Tavex {
  public:
    /// \brief `max_unique`: capacity in unique products; `max_length`: highest label index of
    /// the first phase.
    Tavex(int max_unique, int max_length);
    ~Tavex();
    Tavex(const Tavex&) = delete;
    Tavex& operator=(const Tavex&) = delete;

    /// \brief A gate-sequence string (letters H X Z S s T t, composite labels in parentheses)
    /// whose left-to-right product is within `threshold` (md_tri) of `target` up to a global
    /// phase; "I" when the identity already is; "" when the search ends without a result.
    std::string ft_tavex(MtxTavex target, double threshold);

  private:
    int max_unique;
    int max_length;
};
