// Type codes of record-set columns, as they travel in the binary form
// (docs/wire-format.md), and the size each one takes in a fixed-width row.
#pragma once

#include <cstdint>

enum class DataSetType : uint8_t {
    Int8 = 1,      // signed 8-bit integer
    Int16 = 2,     // signed 16-bit integer, little-endian
    Int32 = 3,     // signed 32-bit integer, little-endian
    Number = 4,    // packed quote number (CQuoteNumber), 4 bytes
    Double = 5,    // IEEE-754 binary64, little-endian
    WideText = 6,  // UTF-16LE text in the variable-data area
    AnsiText = 7,  // GBK text in the variable-data area
    Bytes = 8,     // byte array in the variable-data area
};

// Bytes the type takes in a row; 0 for an unknown code. Texts and arrays
// hold a reference (uint32 offset, uint32 length) into the variable-data area.
inline int DataSetTypeSize(DataSetType type) {
    switch (type) {
    case DataSetType::Int8: return 1;
    case DataSetType::Int16: return 2;
    case DataSetType::Int32: return 4;
    case DataSetType::Number: return 4;
    case DataSetType::Double: return 8;
    case DataSetType::WideText:
    case DataSetType::AnsiText:
    case DataSetType::Bytes: return 8;
    }
    return 0;
}

// True for the types whose data lives in the variable-data area.
inline bool DataSetTypeIsVariable(DataSetType type) {
    return type == DataSetType::WideText || type == DataSetType::AnsiText || type == DataSetType::Bytes;
}
