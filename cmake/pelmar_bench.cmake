add_executable(pelmar_bench bench/pelmar_bench.cpp)
target_link_libraries(pelmar_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(pelmar_bench PRIVATE -Wall -Wextra)
