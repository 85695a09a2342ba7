marovin_add_test(test_bad_input tests/e2e/bad_input_test.cpp)
