marovin_add_test(test_line
  tests/optimise/line_simplify_test.cpp
  tests/optimise/line_interchange_test.cpp
  tests/optimise/line_editor_test.cpp
  tests/optimise/line_reduction_test.cpp
  tests/optimise/line_merge_test.cpp
  tests/mapping/named_gate_decomposition_test.cpp)
