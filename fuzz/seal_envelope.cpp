// Fuzz target: a seal envelope opened with the key the seeds were sealed
// with; and the input as plain bytes, sealed and opened again, must come
// back as it was.
#include "core/SealEnvelope.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
const char kKey[] = "Ab3dE6gH9jK2mN5p";  // the seed maker's key
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    const int length = static_cast<int>(size);
    std::vector<uint8_t> plain(size > 8 ? size - 8 : 1);
    int opened = OpenSealedData(kKey, data, length, plain.data());
    if (opened >= 0 && opened > length - 8)
        std::abort();

    if (length < 16)
        return 0;
    std::vector<uint8_t> envelope(SealedSize(length));
    if (SealData(kKey, data, length, envelope.data()) != static_cast<int>(envelope.size()))
        std::abort();
    std::vector<uint8_t> back(envelope.size() - 8);
    if (OpenSealedData(kKey, envelope.data(), static_cast<int>(envelope.size()), back.data()) != length ||
        std::memcmp(back.data(), data, size) != 0)
        std::abort();
    return 0;
}
