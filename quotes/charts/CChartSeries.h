// What a chart canvas draws from: a series of records read by column. The
// minute data and the K-line data derive from it; the canvas's painters
// and the views read every record through these operations only.
#pragma once

#include "core/CQuoteNumber.h"

#include <cstdint>

class CChartSeries {
public:
    virtual ~CChartSeries() = default;

    // Number of records.
    virtual int GetCount() const = 0;
    // The record's integer field of the column; 0 for a column or record
    // the series does not have.
    virtual int32_t GetInt(int column, int index) const = 0;
    // Fills out with the record's number of the column (a zero number for a
    // column or record the series does not have) and returns it.
    virtual CQuoteNumber& GetNumber(CQuoteNumber& out, int column, int index) const = 0;
    // A second line's integer and number beside the main records (the
    // minute chart's overlaid index); 0 and a zero number here.
    virtual int32_t GetExtraInt(int /*unused*/, int /*index*/) const { return 0; }
    virtual CQuoteNumber& GetExtraNumber(CQuoteNumber& out, int /*unused*/, int /*index*/) const {
        out = CQuoteNumber();
        return out;
    }
};
