#include "driver/synthesis_flow.h"

int main(int argc, char** argv) {
    return run_marovin(argc, argv);
}
