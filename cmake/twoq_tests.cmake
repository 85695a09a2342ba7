marovin_add_test(test_twoq
  tests/optimise/two_qubit_rules_test.cpp
  tests/optimise/two_qubit_reduction_test.cpp
  tests/optimise/critical_reduction_test.cpp)
marovin_add_test(test_e2e
  tests/e2e/whole_program_test.cpp
  tests/e2e/qasm_whole_program_test.cpp
  tests/support/reference_flow_test.cpp)
