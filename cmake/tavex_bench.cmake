add_executable(tavex_bench bench/tavex_bench.cpp)
target_link_libraries(tavex_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(tavex_bench PRIVATE -Wall -Wextra)
