add_executable(whole_program_input bench/whole_program_input.cpp)
target_link_libraries(whole_program_input PRIVATE marovin_lib)
target_compile_options(whole_program_input PRIVATE -Wall -Wextra)

add_executable(twoq_passes_bench bench/twoq_passes_bench.cpp)
target_link_libraries(twoq_passes_bench PRIVATE marovin_lib benchmark::benchmark)
target_compile_options(twoq_passes_bench PRIVATE -Wall -Wextra)
