// Hand-made minute replies: the header, minute, snapshot, index and mark
// sets laid out as the server sends them, for the minute data's tests.
#pragma once

#include "core/CDataSet.h"
#include "core/CDataSetList.h"
#include "core/CQuoteNumber.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace minute_fixture {

inline int32_t Packed(double value, int code = 2) { return CQuoteNumber(value, code).ToPacked(); }

struct Point {
    int time = 930;
    double price = 10.0;
    int32_t volume = 100;    // column 2, packed with code 0
    int32_t barVolume = 100; // column 5
};

struct Header {
    int32_t date = 20261207;
    double prevClose = 10.0, open = 10.0, high = 10.3, low = 9.9, latest = 10.1;
    int market = 1;
    int type = 1;
    std::string code = "600000";
    std::u16string name = u"华岳银行";
    std::string dateText = "20261207";
    bool indexRow = false; // a second row for the overlaid index
    double indexOpen = 3000.0;
};

inline void SetText(CDataSet& set, int column, const std::string& text) {
    set.SetField(column, text.data(), static_cast<int>(text.size()));
}

inline void SetInt16(CDataSet& set, int column, int value) {
    const int16_t v = static_cast<int16_t>(value);
    set.SetField(column, &v, 2);
}

inline void SetInt32(CDataSet& set, int column, int32_t value) { set.SetField(column, &value, 4); }

inline std::unique_ptr<CDataSet> HeaderSet(const Header& h, bool withRow = true) {
    auto set = std::make_unique<CDataSet>("hq.fshead");
    set->AddColumn(DataSetType::Int32, "date");
    for (const char* name : {"zrsp", "jrkp", "zgcj", "zdcj", "zjcj"})
        set->AddColumn(DataSetType::Number, name);
    set->AddColumn(DataSetType::Int16, "market");
    set->AddColumn(DataSetType::Int16, "type");
    set->AddColumn(DataSetType::AnsiText, "code");
    set->AddColumn(DataSetType::WideText, "name");
    set->AddColumn(DataSetType::AnsiText, "spare");
    set->AddColumn(DataSetType::AnsiText, "curdate");
    set->AddColumn(DataSetType::Number, "cjsl");
    set->AddColumn(DataSetType::Number, "cjje");
    if (!withRow)
        return set;
    for (int row = 0; row < (h.indexRow ? 2 : 1); ++row) {
        set->AddRow(row);
        const bool index = row == 1;
        SetInt32(*set, 0, h.date);
        const double base = index ? 3000.0 : 0.0;
        SetInt32(*set, 1, Packed(index ? base : h.prevClose));
        SetInt32(*set, 2, Packed(index ? h.indexOpen : h.open));
        SetInt32(*set, 3, Packed(index ? base * 1.01 : h.high));
        SetInt32(*set, 4, Packed(index ? base * 0.99 : h.low));
        SetInt32(*set, 5, Packed(index ? base : h.latest));
        SetInt16(*set, 6, h.market);
        SetInt16(*set, 7, index ? 2 : h.type);
        SetText(*set, 8, index ? "000001" : h.code);
        set->SetField(9, h.name.data(), static_cast<int>(h.name.size() * 2));
        SetText(*set, 11, h.dateText);
        SetInt32(*set, 12, Packed(12.5, 1));
        SetInt32(*set, 13, Packed(3.2, 2));
    }
    return set;
}

inline std::unique_ptr<CDataSet> MinuteSet(const std::vector<Point>& points, const char* tag = "hq.fsdata",
                                           bool extraColumn = false) {
    auto set = std::make_unique<CDataSet>(tag);
    set->AddColumn(DataSetType::Int16, "time");
    for (const char* name : {"price", "cjsl", "cjje", "avg"})
        set->AddColumn(DataSetType::Number, name);
    set->AddColumn(DataSetType::Int32, "bar");
    if (extraColumn)
        set->AddColumn(DataSetType::Int32, "extra");
    for (const Point& p : points) {
        set->AddRow(set->GetRowCount());
        SetInt16(*set, 0, p.time);
        SetInt32(*set, 1, Packed(p.price));
        SetInt32(*set, 2, p.volume == CQuoteNumber::kMissingPacked ? p.volume : Packed(p.volume, 0));
        SetInt32(*set, 3, Packed(p.volume * p.price, 0));
        SetInt32(*set, 4, Packed(p.price));
        SetInt32(*set, 5, p.barVolume);
    }
    return set;
}

// Snapshot levels: bid i at 10.0 − 0.01 × (i + 1), 12345 shares each; asks above.
inline std::unique_ptr<CDataSet> SnapshotSet() {
    auto set = std::make_unique<CDataSet>("hq.snap");
    for (int c = 0; c < 30; ++c) {
        const bool volume = c >= 11 && c % 2 == 1;
        set->AddColumn(volume ? DataSetType::Int32 : DataSetType::Number, "c" + std::to_string(c));
    }
    set->AddRow(0);
    SetInt32(*set, 1, Packed(0.1));
    SetInt32(*set, 2, Packed(1.0));
    SetInt32(*set, 3, Packed(1.5, 1));
    SetInt32(*set, 4, Packed(2.5, 2));
    for (int i = 0; i < 5; ++i) {
        SetInt32(*set, 10 + 2 * i, Packed(10.0 - 0.01 * (i + 1)));
        SetInt32(*set, 11 + 2 * i, 12345);
        SetInt32(*set, 20 + 2 * i, Packed(10.0 + 0.01 * (i + 1)));
        SetInt32(*set, 21 + 2 * i, i == 4 ? CQuoteNumber::kMissingPacked : 200);
    }
    return set;
}

inline std::unique_ptr<CDataSet> ErrorSet(const std::string& text = "服务忙") {
    auto set = std::make_unique<CDataSet>("error");
    set->AddColumn(DataSetType::AnsiText, "msg");
    set->AddRow(0);
    SetText(*set, 0, text);
    return set;
}

// Marks: rows of (minutes text, id text).
inline std::unique_ptr<CDataSet> MarkSet(const std::vector<std::pair<std::string, std::string>>& rows) {
    auto set = std::make_unique<CDataSet>("get xxld");
    for (const char* name : {"code", "title", "time", "id"})
        set->AddColumn(DataSetType::AnsiText, name);
    for (const auto& [time, id] : rows) {
        set->AddRow(set->GetRowCount());
        SetText(*set, 2, time);
        SetText(*set, 3, id);
    }
    return set;
}

// A reply list of the sets in order (null entries stay null slots).
inline void Fill(CDataSetList& list, std::vector<std::unique_ptr<CDataSet>> sets) {
    for (auto& set : sets)
        list.InsertAt(set.release(), list.GetCount());
}

inline std::vector<std::unique_ptr<CDataSet>> Sets(std::unique_ptr<CDataSet> a, std::unique_ptr<CDataSet> b,
                                                   std::unique_ptr<CDataSet> c = {}, std::unique_ptr<CDataSet> d = {},
                                                   std::unique_ptr<CDataSet> e = {}) {
    std::vector<std::unique_ptr<CDataSet>> v;
    for (auto* p : {&a, &b, &c, &d, &e})
        if (*p)
            v.push_back(std::move(*p));
    return v;
}

// Points every two minutes from time on, count of them, prices rising by 0.01.
inline std::vector<Point> Points(int time, int count, double price = 10.0) {
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) {
        int m = time / 100 * 60 + time % 100 + 2 * i;
        points.push_back({m / 60 * 100 + m % 60, price + 0.01 * i, 100 + i, 100 + i});
    }
    return points;
}

} // namespace minute_fixture
