// Fuzzes the loader of Solovay-Kitaev epsilon-net files. A malformed file must raise Exception
// (or a fatal error), never crash or allocate without bound.
#include "FaultTolerant/pelmar/exception.h"
#include "FaultTolerant/pelmar/net.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::setup_once();
    fuzz::write_file("fuzz.net", data, size);
    try {
        Net net("fuzz.net");
        net.nearest(Matrix2());
    } catch (const Exception&) {
    } catch (const FatalError&) {
    }
    return 0;
}
