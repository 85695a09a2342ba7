target_sources(marovin_lib PRIVATE
  optimise/two_qubit_rules.cpp
  optimise/two_qubit_reduction.cpp
  optimise/critical_reduction.cpp)
