add_executable(mapping_bench bench/mapping_bench.cpp)
target_link_libraries(mapping_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(mapping_bench PRIVATE -Wall -Wextra)
