target_sources(marovin_lib PRIVATE
  optimise/line_reduction.cpp
  mapping/named_gate_decomposition.cpp)
