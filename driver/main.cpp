// Placeholder until the driver lands.
#include <iostream>

int main(int argc, char**) {
    if (argc < 3) {
        std::cout << "Format: <input_file> <output_file> <PMD> <threshold> <ft_mode> <code> <level>"
                  << std::endl;
        return 1;
    }
    std::cout << "marovin: synthesis not yet supported" << std::endl;
    return 1;
}
