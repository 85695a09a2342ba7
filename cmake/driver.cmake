# The synthesis flow is part of the library so that tests can drive it; the marovin executable's
# entry is driver/main.cpp.
target_sources(marovin_lib PRIVATE
  driver/command_line.cpp
  driver/mapped_size.cpp
  driver/synthesis_flow.cpp
  driver/program.cpp
  driver/json_value.cpp
  driver/json_report.cpp
  driver/progress.cpp
  driver/bar_chart.cpp
  driver/compare.cpp)
