marovin_add_test(test_driver
  tests/driver/synthesis_flow_test.cpp
  tests/driver/golden_report_test.cpp
  tests/driver/command_line_test.cpp
  tests/driver/mapped_size_test.cpp)
target_include_directories(test_driver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
