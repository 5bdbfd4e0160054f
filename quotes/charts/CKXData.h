// The K-line data of one stock: the record sets of the K-line replies,
// oldest bars first, with a page of older bars merged in front of those
// held. The server computes the moving averages and the indicator; they
// arrive as columns of each bar, so nothing is computed here.
//
// A reply: set 0 the header (market int16, type int16, code, name, five
// quote numbers in columns 5 to 9), set 1 the bars (columns in
// docs/protocol.md, 31000/2). Only those two sets are ever stored: an
// "error" bar set never becomes bars, and a page keeps only the bars
// strictly older than the first one held, so an overlapping or repeated
// page cannot duplicate a bar or put bars out of order.
#pragma once

#include "core/CAString.h"
#include "core/CDataSet.h"
#include "core/CDataSetList.h"
#include "core/CQuoteNumber.h"
#include "core/CWString.h"
#include "quotes/charts/CChartSeries.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The record of one bar.
struct CKXBar {
    int32_t date = 0; // yyyymmdd
    CQuoteNumber prevClose, open, high, low, close, amount, volume;
    int32_t extra = 0; // column 10
    CQuoteNumber ma30, ma10, ma5;
    CQuoteNumber tech1, tech2, tech3; // columns 14, 15, 16
};

class CKXData : public CChartSeries {
public:
    // Bar columns.
    enum : int {
        kColDate = 0, kColTime = 1, kColPrevClose = 2, kColOpen = 3, kColHigh = 4, kColLow = 5, kColClose = 6,
        kColVolume = 7, kColAmount = 8, kColExtra = 10, kColMa30 = 11, kColMa10 = 12, kColMa5 = 13,
        kColTech1 = 14, kColTech2 = 15, kColTech3 = 16,
    };

    CKXData() = default;
    ~CKXData() override = default;
    CKXData(const CKXData&) = delete;
    CKXData& operator=(const CKXData&) = delete;

    // ---- The series ----
    // Bars of every stored bar set (cached until the next parse or clear).
    int GetCount() const override;
    // Columns 0 and 10 as int32, column 1 as int16 sign-extended; 0 for
    // another column, an index out of range or without bars.
    int32_t GetInt(int column, int index) const override;
    // Columns 2 and on but 10 as packed numbers; a zero number otherwise.
    CQuoteNumber& GetNumber(CQuoteNumber& out, int column, int index) const override;
    // The open, high, low and close of record index; false when one is missing.
    bool ReadPrices(int index, CQuoteNumber& open, CQuoteNumber& high, CQuoteNumber& low, CQuoteNumber& close) const;
    // The bar at index; a zeroed bar out of range.
    const CKXBar& CalcBar(int index);

    // ---- Replies ----
    // Takes a reply in; returns the bars it added (0 also when refused).
    // Refused, the data unchanged: an unreadable list, fewer than two sets,
    // a header set missing, tagged "error" or "hq.info", or an "error" set
    // other than set 1. A header naming another code or market drops what
    // is held first. The list keeps (and frees) every set not stored.
    int ParseReply(CDataSetList& list);
    // True when list is a reply ParseReply takes.
    static bool IsAcceptedReply(CDataSetList& list);
    void ParseHeader();
    void Clear();

    // Text of the first held bar's date and time; "0" without one.
    std::string GetFirstDate() const;
    std::string GetFirstTime() const;

    // ---- Header ----
    int GetMarket() const { return m_market; }
    int GetType() const { return m_type; }
    const CAString& GetCode() const { return m_code; }
    const CWString& GetName() const { return m_name; }
    const CQuoteNumber& GetHeaderNumber(int i) const { return m_header[i < 0 || i > 4 ? 0 : i]; }
    // Stored sets: 0 the header, 1 and on the bar sets.
    int GetSetCount() const { return static_cast<int>(m_tables.size()); }

private:
    // The set holding bar index and its row there; null out of range.
    CDataSet* Locate(int index, int* row) const;

    int16_t m_market = 0;
    int16_t m_type = 0;
    CAString m_code;
    CWString m_name;
    CQuoteNumber m_header[5];
    mutable int m_count = 0; // 0: count again
    std::vector<std::unique_ptr<CDataSet>> m_tables;
    CKXBar m_bar;
};

// (date, time) of a bar as one ordering key; for day, week and month bars
// (time 0 on either side) only the dates compare.
bool KLineBarOlder(int32_t date, int32_t time, int32_t heldDate, int32_t heldTime);
