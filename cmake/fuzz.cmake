# libFuzzer targets, one per reader of outside text. Configure a separate build with clang and
# -DMAROVIN_BUILD_FUZZ=ON (scripts/fuzz.sh does this); the library is then compiled with
# -fsanitize=fuzzer-no-link plus AddressSanitizer and UndefinedBehaviorSanitizer.
foreach(target ${MAROVIN_FUZZ_TARGETS})
  add_executable(fuzz_${target} tests/fuzz/fuzz_${target}.cpp)
  target_include_directories(fuzz_${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz)
  target_link_libraries(fuzz_${target} PRIVATE marovin_lib)
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
endforeach()
