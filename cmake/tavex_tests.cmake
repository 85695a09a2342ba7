# Exhaustive fault-tolerant sequence search.
marovin_add_test(test_tavex
  tests/FaultTolerant/matrix2_test.cpp
  tests/FaultTolerant/tavex/bin_set_test.cpp
  tests/FaultTolerant/tavex/tavex_test.cpp)
