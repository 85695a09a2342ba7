marovin_add_test(test_io
  tests/circuit/netlist_reader_test.cpp
  tests/circuit/netlist_text_test.cpp
  tests/circuit/netlist_writer_test.cpp
  tests/circuit/netlist_rewrite_test.cpp
  tests/circuit/text_file_test.cpp)
target_include_directories(test_io PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
marovin_add_test(test_qasm
  tests/circuit/qasm_reader_test.cpp
  tests/circuit/qasm_writer_test.cpp)
target_include_directories(test_qasm PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
