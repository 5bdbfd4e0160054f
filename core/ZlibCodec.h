// zlib packing of reply bodies (compression method 18). Unpacking trusts no
// size from the sender: the output grows as the stream inflates, up to a
// limit the caller gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Default ceiling of an unpacked reply, in bytes.
constexpr size_t kZlibDefaultLimit = 64u * 1024 * 1024;

// Inflates one complete zlib stream data[0 .. size) into out (replaced).
// False, with out empty, for a corrupt or truncated stream, bytes after the
// end of the stream, or an output beyond maxOutput bytes.
bool ZlibUncompress(const uint8_t* data, size_t size, std::vector<uint8_t>& out,
                    size_t maxOutput = kZlibDefaultLimit);

// Deflates data[0 .. size) into one zlib stream (the simulated server's side).
std::vector<uint8_t> ZlibCompress(const uint8_t* data, size_t size, int level = 6);
