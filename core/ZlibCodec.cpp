// Streaming inflate into a growing buffer, so that no claimed size is needed.
#include "core/ZlibCodec.h"

#include <climits>
#include <zlib.h>

bool ZlibUncompress(const uint8_t* data, size_t size, std::vector<uint8_t>& out, size_t maxOutput) {
    out.clear();
    if (!data || size == 0 || size > UINT_MAX) return false;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(size);
    size_t capacity = size * 4 < 4096 ? 4096 : size * 4;
    if (capacity > maxOutput) capacity = maxOutput;
    int rc = Z_OK;
    size_t produced = 0;
    for (;;) {
        if (produced == out.size()) {
            if (out.size() >= maxOutput) break;
            size_t grown = out.empty() ? capacity : out.size() * 2;
            if (grown > maxOutput) grown = maxOutput;
            if (grown - produced > UINT_MAX) grown = produced + UINT_MAX;
            out.resize(grown);
        }
        zs.next_out = out.data() + produced;
        zs.avail_out = static_cast<uInt>(out.size() - produced);
        rc = inflate(&zs, Z_NO_FLUSH);
        produced = out.size() - zs.avail_out;
        if (rc == Z_STREAM_END || (rc != Z_OK && rc != Z_BUF_ERROR)) break;
        if (rc == Z_BUF_ERROR && zs.avail_out != 0) break;  // input ended inside the stream
    }
    bool ok = rc == Z_STREAM_END && zs.avail_in == 0;
    inflateEnd(&zs);
    if (!ok) {
        out.clear();
        return false;
    }
    out.resize(produced);
    return true;
}

std::vector<uint8_t> ZlibCompress(const uint8_t* data, size_t size, int level) {
    uLongf bound = compressBound(static_cast<uLong>(size));
    std::vector<uint8_t> out(bound);
    if (compress2(out.data(), &bound, data, static_cast<uLong>(size), level) != Z_OK) return {};
    out.resize(bound);
    return out;
}
