add_executable(cost_bench bench/cost_bench.cpp)
target_link_libraries(cost_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(cost_bench PRIVATE -Wall -Wextra)
target_compile_definitions(cost_bench PRIVATE MAROVIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
