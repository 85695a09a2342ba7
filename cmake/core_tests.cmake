# The folder every test executable enters before its first test (see tests/support/test_env.h).
target_compile_definitions(marovin_test_support PRIVATE
  MAROVIN_TEST_RUN_DIR="${CMAKE_BINARY_DIR}/testrun")
marovin_add_test(test_core
  tests/circuit/gate_test.cpp
  tests/circuit/graph_circuit_test.cpp
  tests/circuit/named_rotation_test.cpp
  tests/circuit/periodic_test.cpp
  tests/support/unitary_test.cpp
  tests/support/xml_check_test.cpp)
