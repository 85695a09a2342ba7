# Solovay-Kitaev tests. One process runs them all, so that the epsilon net of length 14 is built
# once per run instead of once per discovered test.
add_executable(test_pelmar
  tests/FaultTolerant/pelmar/su2_test.cpp
  tests/FaultTolerant/pelmar/net_test.cpp
  tests/FaultTolerant/pelmar/ftpelmar_test.cpp)
target_link_libraries(test_pelmar PRIVATE marovin_test_support GTest::gtest_main)
target_compile_options(test_pelmar PRIVATE -Wall -Wextra)
add_test(NAME test_pelmar COMMAND test_pelmar WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/testrun)
