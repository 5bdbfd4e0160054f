// Fuzz target: a packed reply body unpacked under a small ceiling; and the
// input packed and unpacked again must come back as it was.
#include "core/ZlibCodec.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kLimit = 1u << 20;  // keeps a bomb from filling the memory
    std::vector<uint8_t> out;
    bool ok = ZlibUncompress(data, size, out, kLimit);
    if ((!ok && !out.empty()) || out.size() > kLimit)
        std::abort();

    std::vector<uint8_t> packed = ZlibCompress(data, size);
    std::vector<uint8_t> back;
    if (!ZlibUncompress(packed.data(), packed.size(), back) || back != std::vector<uint8_t>(data, data + size))
        std::abort();
    return 0;
}
