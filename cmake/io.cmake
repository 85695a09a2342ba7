target_sources(marovin_lib PRIVATE
  circuit/netlist_text.cpp
  circuit/text_file.cpp
  circuit/netlist_reader.cpp
  circuit/netlist_writer.cpp
  circuit/netlist_rewrite.cpp
  circuit/qasm_tokens.cpp
  circuit/qasm_expression.cpp
  circuit/qasm_reader.cpp
  circuit/qasm_writer.cpp)
