target_sources(marovin_lib PRIVATE
  FaultTolerant/ft_table.cpp
  FaultTolerant/ft_conversion.cpp
  mapping/ctl_conversion.cpp)
