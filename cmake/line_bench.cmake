add_executable(line_bench bench/line_bench.cpp)
target_link_libraries(line_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(line_bench PRIVATE -Wall -Wextra)
target_compile_definitions(line_bench PRIVATE MAROVIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
