# Exhaustive fault-tolerant sequence search.
target_sources(marovin_lib PRIVATE
  FaultTolerant/tavex/bin_set.cpp
  FaultTolerant/tavex/tavex.cpp)
