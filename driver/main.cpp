#include "driver/program.h"

int main(int argc, char** argv) {
    return run_marovin(argc, argv);
}
