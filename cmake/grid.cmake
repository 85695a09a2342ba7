# Number-theoretic rotation synthesis (ft_mode "grid").
target_sources(marovin_lib PRIVATE
  FaultTolerant/grid/ring.cpp
  FaultTolerant/grid/prime_factoring.cpp
  FaultTolerant/grid/norm_equation.cpp
  FaultTolerant/grid/exact_unitary.cpp
  FaultTolerant/grid/exact_synthesis.cpp
  FaultTolerant/grid/grid_problem.cpp
  FaultTolerant/grid/rz_approximation.cpp)
