add_executable(io_bench bench/io_bench.cpp)
target_link_libraries(io_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(io_bench PRIVATE -Wall -Wextra)
