// Byte buffer appends.
#include "core/CByteBuffer.h"

void CByteBuffer::Append(const void* data, size_t n) {
    if (!data || n == 0) return;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + n);
}
