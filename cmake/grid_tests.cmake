# Number-theoretic rotation synthesis.
marovin_add_test(test_grid
  tests/FaultTolerant/grid/ring_test.cpp
  tests/FaultTolerant/grid/prime_factoring_test.cpp
  tests/FaultTolerant/grid/norm_equation_test.cpp
  tests/FaultTolerant/grid/exact_synthesis_test.cpp
  tests/FaultTolerant/grid/grid_problem_test.cpp
  tests/FaultTolerant/grid/rz_approximation_test.cpp)
