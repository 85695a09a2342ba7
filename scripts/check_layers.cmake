# Checks that every include of the program's sources points down the house, never up:
#
#   core -> circuit -> cost, mapping -> optimise -> ft_matrix -> pelmar -> tavex, grid
#        -> FaultTolerant -> facade -> driver
#
# A source may include a header of its own part or of a part below it; parts on the same floor
# (cost and mapping, tavex and grid) do not include each other. Tests, benchmarks and fuzz
# targets stand outside the house and are not checked.
#
# Run: cmake -DROOT=<source folder> -P scripts/check_layers.cmake   (the build runs it first)
# Exits with an error naming each include that points up or sideways.

if(NOT ROOT)
  set(ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

# The parts as data: part name, floor, and the paths it holds (a folder ends with /; the first
# rule that matches a path decides). The façade files live in circuit/ beside the core.
set(MAROVIN_PARTS
  "facade|9|circuit/graph_circuit.h circuit/graph_circuit.cpp circuit/netlist_reader.cpp"
  "circuit|2|circuit/netlist_writer. circuit/netlist_rewrite. circuit/qasm_"
  "core|1|circuit/"
  "cost|3|cost/"
  "mapping|3|mapping/"
  "optimise|4|optimise/"
  "ft_matrix|5|FaultTolerant/matrix/"
  "pelmar|6|FaultTolerant/pelmar/"
  "tavex|7|FaultTolerant/tavex/"
  "grid|7|FaultTolerant/grid/"
  "FaultTolerant|8|FaultTolerant/"
  "driver|10|driver/")

# part_of(<path relative to ROOT> <out name> <out floor>): empty when no part holds the path.
function(part_of path out_name out_floor)
  foreach(entry IN LISTS MAROVIN_PARTS)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 floor)
    list(GET fields 2 prefixes)
    string(REPLACE " " ";" prefixes "${prefixes}")
    foreach(prefix IN LISTS prefixes)
      string(LENGTH "${prefix}" n)
      string(SUBSTRING "${path}" 0 ${n} head)
      if(head STREQUAL prefix)
        set(${out_name} "${name}" PARENT_SCOPE)
        set(${out_floor} "${floor}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${out_name} "" PARENT_SCOPE)
  set(${out_floor} "" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${ROOT}"
  "${ROOT}/circuit/*.h" "${ROOT}/circuit/*.cpp"
  "${ROOT}/cost/*.h" "${ROOT}/cost/*.cpp"
  "${ROOT}/mapping/*.h" "${ROOT}/mapping/*.cpp"
  "${ROOT}/optimise/*.h" "${ROOT}/optimise/*.cpp"
  "${ROOT}/FaultTolerant/*.h" "${ROOT}/FaultTolerant/*.cpp"
  "${ROOT}/driver/*.h" "${ROOT}/driver/*.cpp")

set(wrong "")
foreach(source IN LISTS sources)
  part_of("${source}" from_part from_floor)
  if(from_part STREQUAL "")
    continue()
  endif()
  file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    part_of("${header}" to_part to_floor)
    if(to_part STREQUAL "" OR to_part STREQUAL from_part)
      continue()
    endif()
    if(NOT to_floor LESS from_floor)
      list(APPEND wrong "${source} (${from_part}) includes ${header} (${to_part})")
    endif()
  endforeach()
endforeach()

# A refusal prints a marker line of its own before the error: CMake wraps an error's text at a
# fixed width, so a phrase inside it lands where the length of the paths before it puts it, and
# whoever reads the outcome (the tests, a script) matches the marker instead.
if(wrong)
  list(LENGTH wrong count)
  string(REPLACE ";" "\n  " listing "${wrong}")
  message(STATUS "Layers refused: ${count} include(s) point up or sideways")
  message(FATAL_ERROR "${count} include(s) point up or sideways in the house:\n  ${listing}")
endif()
list(LENGTH sources checked)
if(checked EQUAL 0)
  message(STATUS "Layers refused: nothing was checked")
  message(FATAL_ERROR "No sources found under ${ROOT}: nothing was checked")
endif()
message(STATUS "Layers: ${checked} sources checked, every include points down")
