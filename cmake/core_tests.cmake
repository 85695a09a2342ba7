marovin_add_test(test_core
  tests/circuit/gate_test.cpp
  tests/circuit/graph_circuit_test.cpp
  tests/circuit/named_rotation_test.cpp
  tests/circuit/periodic_test.cpp
  tests/support/unitary_test.cpp)
