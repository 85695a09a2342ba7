# Number-theoretic rotation synthesis.
marovin_add_test(test_grid
  tests/FaultTolerant/ft_test_support.cpp
  tests/FaultTolerant/grid/ring_test.cpp
  tests/FaultTolerant/grid/prime_factoring_test.cpp
  tests/FaultTolerant/grid/norm_equation_test.cpp
  tests/FaultTolerant/grid/exact_synthesis_test.cpp)
