#pragma once
// Bit helpers used with the exhaustive search.

/// \brief Index 31..0 of the highest set bit of `x`, or -1 when `x` is 0.
inline int highest_set_bit(unsigned x) {
    int index = -1;
    while (x != 0) {
        x >>= 1;
        ++index;
    }
    return index;
}

/// \brief Bit `index` (0 = least significant, 0..31) of `x` as 0 or 1; 0 for an index outside
/// 0..31.
inline int get_bit(unsigned x, int index) {
    if (index < 0 || index > 31) return 0;
    return static_cast<int>((x >> index) & 1u);
}
