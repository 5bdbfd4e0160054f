// The minute (time-sharing) chart data of one stock or index for one
// trading day. It keeps the record sets of the replies instead of copying
// their rows: the stock's minute table and, with the market index
// overlaid, the index's one, plus the header and quote snapshot of the
// latest reply. Each refresh is merged into the held tables, so a refresh
// only carries the points since the last one.
//
// A minute reply, in order: set 0 the header (row 0 the stock, row 1 the
// overlaid index), set 1 the stock's points (or "error"), set 2 the quote
// snapshot, set 3 "hq.fs" the index's points (optional, or "error"), and
// last "get xxld" the information marks (optional). Column layouts are in
// docs/protocol.md.
//
// The merge keeps one point per time, in time order: a reply row older
// than the held last point is skipped, one of the same time overwrites it,
// a newer one is appended; at most one trading day is held, and a header
// naming another trade date reloads the day. Missing values (999999999)
// never become the maximum volume. Every set the model takes is owned and
// freed by it; what it does not take stays with the list.
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
#include <string_view>
#include <vector>

// One quote level of the snapshot.
struct CFSLevel {
    CQuoteNumber price;
    int32_t volume = 0; // lots of 100 shares
};

// One information mark of the day as the reply gives it.
struct CFSInfoMark {
    int minutes = 0; // time of the mark, minutes after midnight
    std::string id;  // a plain value (letters, digits, ".")
    friend bool operator==(const CFSInfoMark&, const CFSInfoMark&) = default;
};

class CFSData : public CChartSeries {
public:
    // Minute-row columns.
    enum : int { kColTime = 0, kColPrice = 1, kColVolume = 2, kColAmount = 3, kColAverage = 4, kColBarVolume = 5 };
    static constexpr int32_t kMinMaxVolume = 1000;
    // Points of one trading day (every two minutes, both sessions).
    static constexpr int kDayPoints = 121;
    // Mark-set columns: time in minutes, mark id.
    static constexpr int kMarkColTime = 2;
    static constexpr int kMarkColId = 3;

    CFSData();
    ~CFSData() override;
    CFSData(const CFSData&) = delete;
    CFSData& operator=(const CFSData&) = delete;

    // ---- The series ----
    // Points of the stock's table; 0 without one.
    int GetCount() const override;
    // Column 5 (the volume bar) or column 0 (time) of a point; 0 otherwise.
    int32_t GetInt(int column, int index) const override;
    // Columns 1 to 4 of a point; column 4 of an index with an overlay
    // table is the index's second line (the overlay's price).
    CQuoteNumber& GetNumber(CQuoteNumber& out, int column, int index) const override;
    // Time and price of the overlay table's point.
    int32_t GetExtraInt(int unused, int index) const override;
    CQuoteNumber& GetExtraNumber(CQuoteNumber& out, int unused, int index) const override;

    // ---- Replies ----
    // Takes a minute reply in; 1 when taken, 0 when refused (an "error" set
    // other than set 1 or 3, fewer than three sets, a missing header or
    // snapshot set), the model then unchanged. The "get xxld" set is taken
    // out first and read into the marks. Sets the model keeps leave the
    // list; the list still deletes the rest.
    int ParseReply(CDataSetList& list);
    // True when the last taken reply carried a "get xxld" set; its marks.
    bool ReplyHadInfoMarks() const { return m_replyHadMarks; }
    const std::vector<CFSInfoMark>& GetInfoMarks() const { return m_infoMarks; }

    // Takes the last set out of list when it is tagged "get xxld"; null
    // otherwise. Its slot is removed from the count the parse sees.
    static std::unique_ptr<CDataSet> TakeInfoMarkSet(CDataSetList& list);
    // The marks of a "get xxld" set: column 2 minutes, column 3 id; rows
    // whose id is not a plain value are left out.
    static std::vector<CFSInfoMark> ReadInfoMarks(CDataSet* set);

    // Copies the header and snapshot fields; nothing without both tables
    // holding a row. Clears the no-data flag.
    void ReadSnapshot();
    // Drops every table and value.
    void Clear();

    // The "time" of the next request: the second-to-last point's time as
    // "%04d", "0" with fewer than two points. Also kept as the time text.
    CAString FormatTime();
    // The "maxvol" of the next request: the held maximum-volume number,
    // or "999999999" when below 1.
    CAString FormatVolume();

    // ---- Fields ----
    int GetMarket() const { return m_market; }
    int GetType() const { return m_type; }
    bool IsIndex() const { return m_type == 2; }
    int32_t GetTradeDate() const { return m_tradeDate; }
    const CAString& GetDateText() const { return m_dateText; }
    const CAString& GetCode() const { return m_code; }
    const CWString& GetName() const { return m_name; }
    // "code.mm" of the header's code and market; empty when the code is not
    // a plain value (it then never reaches a request).
    std::string GetStockKey() const;
    // The data of another day than the server's current one.
    bool IsHistory() const;

    const CQuoteNumber& GetPrevClose() const { return m_prevClose; }
    const CQuoteNumber& GetOpen() const { return m_open; }
    const CQuoteNumber& GetHigh() const { return m_high; }
    const CQuoteNumber& GetLow() const { return m_low; }
    const CQuoteNumber& GetLatest() const { return m_latest; }
    const CQuoteNumber& GetTotalVolume() const { return m_totalVolume; }
    const CQuoteNumber& GetTotalAmount() const { return m_totalAmount; }
    const CQuoteNumber& GetOrderRatio() const { return m_orderRatio; }
    const CQuoteNumber& GetVolumeRatio() const { return m_volumeRatio; }
    const CQuoteNumber& GetTurnover() const { return m_turnover; }
    const CQuoteNumber& GetPeRatio() const { return m_peRatio; }
    const CQuoteNumber& GetChange() const { return m_change; }
    const CQuoteNumber& GetChangePercent() const { return m_changePercent; }
    const CQuoteNumber& GetAverage() const { return m_average; }
    // Level 0 is the best; five each.
    const CFSLevel& GetBid(int level) const;
    const CFSLevel& GetAsk(int level) const;
    int32_t GetMaxVolume() const { return m_maxVolume; }
    int32_t GetMaxVolumeNumber() const { return m_maxVolumeNumber; }
    const CQuoteNumber& GetOverlayHigh() const { return m_overlayHigh; }
    const CQuoteNumber& GetOverlayLow() const { return m_overlayLow; }
    const CQuoteNumber& GetOverlayPrevClose() const { return m_overlayPrevClose; }
    const CQuoteNumber& GetHistoryVolume() const { return m_historyVolume; }
    const CQuoteNumber& GetHistoryAmount() const { return m_historyAmount; }
    const CAString& GetTimeText() const { return m_timeText; }
    bool HasNoData() const { return m_noData; }
    // The last taken reply's header had a row (it named the stock).
    bool HasHeaderRow() const { return GetHeaderTable(0) && GetHeaderTable(0)->GetRowCount() > 0; }
    // Two minute tables held: the overlaid index's points too.
    bool HasOverlayTable() const { return m_minuteTables.size() >= 2; }
    int GetMinuteTableCount() const { return static_cast<int>(m_minuteTables.size()); }
    // The held tables, for the views and tests (null when absent).
    CDataSet* GetMinuteTable(int i) const;
    CDataSet* GetHeaderTable(int i) const;

private:
    void SetDefaults();
    void FreeMinuteTables() { m_minuteTables.clear(); }
    void FreeHeaderTables() { m_headerTables.clear(); }
    // Raises the maximum volume and its number with the cursor row of set.
    void TakeVolumeOf(CDataSet& set);
    // First load of the stock's table: keeps its time order, then the
    // opening row.
    void TakeFirstTables(std::unique_ptr<CDataSet> minutes, std::unique_ptr<CDataSet> overlay);
    // Merges reply into held (see above); false when their columns differ.
    bool Merge(CDataSet& held, CDataSet& reply, bool countVolume);

    int16_t m_market = 0;
    int16_t m_type = 0;
    int32_t m_tradeDate = 0;   // yyyymmdd
    CAString m_dateText;       // header column 11
    CAString m_code;
    CWString m_name;
    CQuoteNumber m_prevClose, m_open, m_high, m_low, m_latest;
    CQuoteNumber m_totalVolume, m_totalAmount;
    CQuoteNumber m_orderRatio, m_volumeRatio, m_turnover, m_peRatio;
    CQuoteNumber m_change, m_changePercent, m_average;
    CFSLevel m_bids[5];
    CFSLevel m_asks[5];
    int32_t m_maxVolume = kMinMaxVolume; // largest column-5 value, never below 1000
    CQuoteNumber m_overlayHigh, m_overlayLow, m_overlayPrevClose;
    CQuoteNumber m_historyVolume, m_historyAmount;
    CAString m_timeText;
    int32_t m_maxVolumeNumber = 0;       // raw packed column 2 of the largest point
    CAString m_volumeText;
    bool m_noData = true;                // until a snapshot was read
    std::vector<std::unique_ptr<CDataSet>> m_headerTables; // [0] header, [1] snapshot
    std::vector<std::unique_ptr<CDataSet>> m_minuteTables; // [0] stock, [1] overlaid index
    std::vector<CFSInfoMark> m_infoMarks;
    bool m_replyHadMarks = false;
};

// The history test: true when dateText is not empty and the decimal text
// of tradeDate is not its beginning.
bool IntTextDiffers(const CAString& dateText, int32_t tradeDate);
// The market's opening time, hhmm: 1000 for Hong Kong (3), else 930.
int MarketOpeningTime(int market);
