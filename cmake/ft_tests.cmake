marovin_add_test(test_ft
  tests/FaultTolerant/ft_test_support.cpp
  tests/FaultTolerant/gate_sequence_test.cpp
  tests/FaultTolerant/ft_table_test.cpp
  tests/FaultTolerant/ft_conversion_test.cpp
  tests/mapping/ctl_conversion_test.cpp)
marovin_add_test(test_ft_e2e
  tests/e2e/ft_whole_program_test.cpp)
