target_sources(marovin_lib PRIVATE
  optimise/line_editor.cpp
  optimise/line_reduction.cpp
  optimise/line_simplify.cpp
  optimise/line_interchange.cpp
  optimise/line_merge.cpp
  mapping/named_gate_decomposition.cpp)
