target_sources(marovin_lib PRIVATE
  circuit/fatal.cpp
  circuit/gate.cpp
  circuit/named_rotation.cpp
  circuit/graph_circuit.cpp
  circuit/circuit_graph.cpp)
