add_executable(ft_bench bench/ft_bench.cpp)
target_link_libraries(ft_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(ft_bench PRIVATE -Wall -Wextra)

# Generator of the shipped sequence cache (see scripts/generate_ft_table.sh).
add_executable(ft_table_generator bench/ft_table_generator.cpp)
target_link_libraries(ft_table_generator PRIVATE marovin_lib)
target_compile_options(ft_table_generator PRIVATE -Wall -Wextra)
