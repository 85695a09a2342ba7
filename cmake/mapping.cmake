target_sources(marovin_lib PRIVATE
  mapping/mapping_tables.cpp
  mapping/two_qubit_mapping.cpp
  mapping/multi_qubit_mapping.cpp)
