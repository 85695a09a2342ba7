target_sources(marovin_lib PRIVATE
  FaultTolerant/matrix2.cpp
  FaultTolerant/gate_sequence.cpp
  FaultTolerant/ft_table.cpp
  FaultTolerant/ft_conversion.cpp
  mapping/ctl_conversion.cpp)
