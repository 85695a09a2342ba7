marovin_add_test(test_cost
  tests/cost/cost_gate_count_test.cpp
  tests/cost/cost_cycle_count_test.cpp
  tests/cost/logical_cost_test.cpp
  tests/cost/tile_table_test.cpp
  tests/cost/circuit_cost_test.cpp)
