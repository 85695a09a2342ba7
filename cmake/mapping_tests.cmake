marovin_add_test(test_mapping
  tests/mapping/two_qubit_mapping_test.cpp
  tests/mapping/multi_qubit_mapping_test.cpp)
