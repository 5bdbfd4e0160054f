// The growable array of 32-bit values (picker results, index lists).
#pragma once

#include "core/CArrayT.h"

#include <cstdint>

class CUIntArray : public CArrayT<uint32_t> {
public:
    explicit CUIntArray(int capacity = 0) : CArrayT<uint32_t>(capacity) {}
};
