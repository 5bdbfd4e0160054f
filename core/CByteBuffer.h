// The growable byte buffer in which request texts and reply bodies are built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class CByteBuffer {
public:
    CByteBuffer() = default;

    // Appends n bytes; null data or n == 0 appends nothing.
    void Append(const void* data, size_t n);
    void Append(std::string_view text) { Append(text.data(), text.size()); }

    const uint8_t* GetData() const { return m_bytes.data(); }
    uint8_t* GetData() { return m_bytes.data(); }
    size_t GetSize() const { return m_bytes.size(); }
    bool IsEmpty() const { return m_bytes.empty(); }
    void Clear() { m_bytes.clear(); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    std::vector<uint8_t>& bytes() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};
