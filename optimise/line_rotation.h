#pragma once
// Small helpers on rotation records shared by the one-qubit line rewrites.

#include "circuit/gate.h"

namespace line {

/// \brief The rotation axis other than the two distinct axes p and q.
inline Gate_type third_axis(Gate_type p, Gate_type q) {
    return static_cast<Gate_type>(RX + RY + RZ - p - q);
}

}  // namespace line
