#pragma once
// The approximation methods of the fault-tolerant conversion.

/// How the conversion approximates a rotation on a cache miss.
enum class FtMethod {
    ByMode,  // the ft_mode number decides: 0 exhaustive search, n > 0 Solovay-Kitaev depth n
    NumberTheoretic  // exact synthesis over Z[ω] with a grid search ("grid"); ft_mode unused
};
