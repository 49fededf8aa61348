// One scatter-kernel file ("PDS-data/60.dat"): a kernel that loads holds 6400 finite values of
// 0 or more; anything else is a FileError, never another exception or a crash.
#include "fuzz_support.h"
#include "scatter_kernel_file.h"

using namespace ordevo;
using namespace ordevo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(QStringLiteral("PDS-data/60.dat"), Input(data, size));
    try {
        const ScatterKernel kernel = LoadScatterKernel(Scratch().path(), 60);
        for (int row = 1; row <= kKernelRows; ++row)
            for (int column = 1; column <= kKernelColumns; ++column)
                FUZZ_CHECK(FiniteAtLeast(kernel[row][column], 0.0));
    } catch (const FileError&) {
    }
    return 0;
}
