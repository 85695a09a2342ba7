target_sources(marovin_lib PRIVATE
  cost/cost_gate_count.cpp
  cost/cost_cycle_count.cpp
  cost/logical_cost.cpp
  cost/tile_table.cpp
  cost/circuit_cost.cpp
  cost/cost_model.cpp)
