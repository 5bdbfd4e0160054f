// Builds record sets column by column and row by row and serialises them
// into a reply body; the simulated broker server and the tests build their
// replies with it. Field setters act on the current set's cursor row (the
// row AddRow made last) and return the record-set codes of
// CDataSet::SetField (0, 1, 2 or 3).
#pragma once

#include "core/CDataSet.h"
#include "core/CQuoteNumber.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CDataSetWriter {
public:
    // Starts a new set, which becomes the current one.
    CDataSet& AddSet(std::string_view tag);
    // Adds an "error" set: one wide-text column "errmsg" and one row holding text.
    CDataSet& AddErrorSet(std::u16string_view text);

    // Adds a column to the current set (before its first row). Returns its
    // index, or -1 without a current set or once the set has rows.
    int AddColumn(DataSetType type, std::string_view name, std::u16string_view label = {});
    // Appends a zero-filled row to the current set; returns its index or -1.
    int AddRow();

    // An 8-, 16- or 32-bit column takes value cut to its width; 3 for other types.
    int SetInt(int column, int64_t value);
    // A packed-number column takes number.ToPacked(); 3 for other types.
    int SetNumber(int column, const CQuoteNumber& number);
    int SetDouble(int column, double value);
    // A wide-text column takes the text as it stands, an 8-bit one converted to GBK.
    int SetText(int column, std::u16string_view text);
    // An 8-bit text column takes the bytes as they stand (already GBK).
    int SetAnsiText(int column, std::string_view text);
    int SetBytes(int column, const void* data, size_t length);

    CDataSet* Current() { return m_sets.empty() ? nullptr : m_sets.back().get(); }
    size_t GetSetCount() const { return m_sets.size(); }

    // The body holding every set added so far, in order.
    std::vector<uint8_t> Serialize() const;

    // A complete body holding only an error set with text.
    static std::vector<uint8_t> ErrorBody(std::u16string_view text);

private:
    int TypeOf(int column, DataSetType* type);

    std::vector<std::unique_ptr<CDataSet>> m_sets;
};
