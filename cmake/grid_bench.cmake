# Per-rotation time and T count of the number-theoretic synthesis (a program; prints a table).
add_executable(grid_bench bench/grid_bench.cpp)
target_link_libraries(grid_bench PRIVATE marovin_lib)
target_compile_options(grid_bench PRIVATE -Wall -Wextra)
