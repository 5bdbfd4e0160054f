// Hand-made K-line replies: a header set and a bar set laid out as the
// server sends them (31000/2), read back through a record-set list.
#pragma once

#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "core/CQuoteNumber.h"

#include <memory>
#include <string>
#include <vector>

namespace kline_fixture {

constexpr double kMissing = CQuoteNumber::kMissingValue;

struct Bar {
    int date = 20261201;
    int time = 0;
    double prevClose = 10.0, open = 10.0, high = 10.2, low = 9.8, close = 10.1;
    double volume = 1000, amount = 101.0;
    double ma30 = 10.0, ma10 = 10.0, ma5 = 10.0;
    double tech[3] = {0.1, 0.2, 0.3}; // columns 14, 15, 16
};

struct Reply {
    std::string code = "600000";
    int market = 2;
    std::u16string name = u"华岳银行";
    std::vector<Bar> bars;
    bool errorBars = false;  // set 1 is an "error" set
    bool withBarSet = true;
    std::string headerTag = "hq.head";
    bool errorThird = false; // an "error" set after the bars
};

// n daily bars from date on, one a day, closes rising by step from base.
inline std::vector<Bar> DailyBars(int n, int firstDate = 20260101, double base = 10.0, double step = 0.1) {
    std::vector<Bar> out;
    for (int i = 0; i < n; ++i) {
        Bar b;
        b.date = firstDate + i;
        b.open = base + step * i;
        b.close = b.open + step / 2;
        b.prevClose = b.open;
        b.high = b.close + 0.05;
        b.low = b.open - 0.05;
        b.ma5 = b.ma10 = b.ma30 = b.open;
        out.push_back(b);
    }
    return out;
}

inline std::vector<uint8_t> Body(const Reply& r) {
    CDataSetWriter w;
    w.AddSet(r.headerTag);
    w.AddColumn(DataSetType::Int16, "market");
    w.AddColumn(DataSetType::Int16, "type");
    w.AddColumn(DataSetType::AnsiText, "code");
    w.AddColumn(DataSetType::WideText, "name");
    w.AddColumn(DataSetType::Int32, "spare");
    for (const char* n : {"zrsp", "jrkp", "zgcj", "zdcj", "zjcj"})
        w.AddColumn(DataSetType::Number, n);
    w.AddRow();
    w.SetInt(0, r.market);
    w.SetInt(1, 1);
    w.SetAnsiText(2, r.code);
    w.SetText(3, r.name);
    for (int c = 5; c < 10; ++c)
        w.SetNumber(c, CQuoteNumber(10.0, 2));
    if (r.errorBars) {
        w.AddErrorSet(u"无数据");
    } else if (r.withBarSet) {
        w.AddSet("hq.kline");
        w.AddColumn(DataSetType::Int32, "date");
        w.AddColumn(DataSetType::Int16, "time");
        for (const char* n : {"zrsp", "kp", "zg", "zd", "sp", "cjl", "cje"})
            w.AddColumn(DataSetType::Number, n);
        w.AddColumn(DataSetType::Int32, "spare");
        w.AddColumn(DataSetType::Int32, "flag");
        for (const char* n : {"ma30", "ma10", "ma5", "t1", "t2", "t3"})
            w.AddColumn(DataSetType::Number, n);
        for (const Bar& b : r.bars) {
            w.AddRow();
            w.SetInt(0, b.date);
            w.SetInt(1, b.time);
            const double nums[] = {b.prevClose, b.open, b.high, b.low, b.close};
            for (int c = 0; c < 5; ++c)
                w.SetNumber(2 + c, CQuoteNumber(nums[c], 2));
            w.SetNumber(7, CQuoteNumber(b.volume, 0));
            w.SetNumber(8, CQuoteNumber(b.amount, 1));
            w.SetInt(10, b.date % 97);
            const double rest[] = {b.ma30, b.ma10, b.ma5, b.tech[0], b.tech[1], b.tech[2]};
            for (int c = 0; c < 6; ++c)
                w.SetNumber(11 + c, rest[c] == kMissing ? CQuoteNumber(kMissing, 0) : CQuoteNumber(rest[c], 2));
        }
    }
    if (r.errorThird)
        w.AddErrorSet(u"出错");
    return w.Serialize();
}

inline std::unique_ptr<CDataSetList> List(const Reply& r) {
    const std::vector<uint8_t> body = Body(r);
    return std::make_unique<CDataSetList>(body.data(), static_cast<int>(body.size()));
}

} // namespace kline_fixture
