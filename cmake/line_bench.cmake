add_executable(line_bench bench/line_bench.cpp)
target_link_libraries(line_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(line_bench PRIVATE -Wall -Wextra)
