#pragma once
// Conversion of one-qubit rotations to fault-tolerant gate sequences. The conversion itself is
// a set of GraphCircuit members (convert_FT, convert_1Q_window_to_FT, convert_matrix,
// insert_FT_seq, insert_inv_FT_seq); this header holds the free helpers that go with them.

#include <string>

#include "FaultTolerant/matrix2.h"
#include "circuit/gate.h"

/// \brief True for a rotation (RX, RY, RZ) whose angle is not a whole number (NaN included).
bool is_fractional_rotation(const Gate& gate);

/// A search for a gate-sequence string whose left-to-right product is within `threshold`
/// (md_tri, up to a global phase) of the 2x2 unitary `target`; "" when it finds none.
/// ft_mode 0: the exhaustive search; n > 0: Solovay-Kitaev to depth n.
using FtSearch = std::string (*)(const Matrix2& target, double threshold, int ft_mode);

/// \brief The search the conversion uses on a cache miss: Tavex(10200, 15) for mode 0,
/// ftpelmar otherwise.
std::string ft_default_search(const Matrix2& target, double threshold, int ft_mode);

/// \brief Replaces the search used on cache misses (nullptr restores ft_default_search) and
/// returns the previous one. Lets tests drive the conversion without the expensive searches.
FtSearch set_ft_search(FtSearch search);
