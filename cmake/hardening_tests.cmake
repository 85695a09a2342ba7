marovin_add_test(test_bad_input tests/driver/bad_input_test.cpp)
