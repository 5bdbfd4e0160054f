// The minute chart data: the reply merge, the snapshot and the series.
#include "quotes/charts/CFSData.h"

#include "core/StrUtil.h"
#include "quotes/charts/ChartReplySets.h"
#include "quotes/tables/QuoteRequests.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kHeaderRowIndex = 1;

bool TagIs(const CDataSet* set, const char* tag) {
    return set && StrEqualNoCase(set->GetTag(), tag) == 0;
}

// The cursor on row of set; false (cursor unchanged) outside the rows.
bool SeekRow(CDataSet* set, int row) {
    if (!set || row < 0 || row >= set->GetRowCount())
        return false;
    set->MoveFirst();
    return set->Move(row);
}

CQuoteNumber NumberOf(const CDataSet& set, int column) {
    CQuoteNumber n;
    set.GetFieldNumber(n, column);
    return n;
}

// Writes value into an integer column of the cursor row in the column's own width.
void SetIntField(CDataSet& set, int column, int32_t value) {
    const DataSetColumn* c = set.GetColumn(column);
    if (!c)
        return;
    if (c->GetType() == DataSetType::Int16) {
        const int16_t v = static_cast<int16_t>(value);
        set.SetField(column, &v, 2);
    } else if (c->GetSize() == 4 && !DataSetTypeIsVariable(c->GetType())) {
        set.SetField(column, &value, 4);
    }
}

// The raw 4 bytes of a packed field written into a 4-byte column.
void SetRawField(CDataSet& set, int column, int32_t raw) {
    const DataSetColumn* c = set.GetColumn(column);
    if (c && c->GetSize() == 4 && !DataSetTypeIsVariable(c->GetType()))
        set.SetField(column, &raw, 4);
}

// A packed opening price that is a price: not 0 and not the missing marker.
bool HasOpeningPrice(int32_t raw) {
    if (raw == 0 || raw == CQuoteNumber::kMissingPacked)
        return false;
    CQuoteNumber n;
    n.FromPacked(raw);
    return !n.IsInvalid() && n.GetValue() != 0.0;
}

int32_t RowTime(CDataSet& set, int row) {
    return SeekRow(&set, row) ? set.GetFieldInt16(CFSData::kColTime) : 0;
}

// Keeps one row per time, in time order: the rows are sorted by time and,
// of two rows of one time, the one that came later in the reply stays (it
// is the newer report of that minute).
void KeepTimeOrder(CDataSet& set) {
    const int count = set.GetRowCount();
    std::vector<std::pair<int32_t, int>> order; // (time, row)
    order.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row)
        order.emplace_back(RowTime(set, row), row);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> keep;
    for (size_t i = 0; i < order.size(); ++i)
        if (i + 1 == order.size() || order[i + 1].first != order[i].first)
            keep.push_back(order[i].second);
    bool unchanged = static_cast<int>(keep.size()) == count;
    for (size_t i = 0; unchanged && i < keep.size(); ++i)
        unchanged = keep[i] == static_cast<int>(i);
    if (unchanged)
        return;
    // Copied out first: a field written back may move the set's storage.
    std::vector<std::vector<std::vector<uint8_t>>> rows;
    for (int row : keep) {
        std::vector<std::vector<uint8_t>> fields;
        for (int c = 0; c < set.GetColumnCount(); ++c) {
            int length = 0;
            const uint8_t* data = SeekRow(&set, row) ? set.GetFieldPtr(c, &length, nullptr) : nullptr;
            fields.emplace_back(data ? data : nullptr, data ? data + length : nullptr);
        }
        rows.push_back(std::move(fields));
    }
    while (set.GetRowCount() > 0)
        set.DeleteRow(set.GetRowCount() - 1);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = set.AddRow(static_cast<int>(r));
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            set.SetField(c, rows[r][c].data(), static_cast<int>(rows[r][c].size()), row);
    }
}

bool SameColumns(const CDataSet& a, const CDataSet& b) {
    if (a.GetColumnCount() != b.GetColumnCount())
        return false;
    for (int c = 0; c < a.GetColumnCount(); ++c)
        if (a.GetColumn(c)->GetType() != b.GetColumn(c)->GetType())
            return false;
    return true;
}

// Copies every field of from's cursor row into row of to.
void CopyRow(CDataSet& to, int row, const CDataSet& from) {
    for (int c = 0; c < from.GetColumnCount(); ++c) {
        int length = 0;
        const uint8_t* data = from.GetFieldPtr(c, &length, nullptr);
        to.SetField(c, data, data ? length : 0, row);
    }
}

CFSLevel LevelOf(const CDataSet& snapshot, int priceColumn) {
    CFSLevel level;
    level.price = NumberOf(snapshot, priceColumn);
    const int32_t shares = snapshot.GetFieldInt32(priceColumn + 1);
    // A missing volume stays the marker, so it shows as missing.
    level.volume = shares == CQuoteNumber::kMissingPacked ? shares : shares / 100;
    return level;
}

} // namespace

bool IntTextDiffers(const CAString& dateText, int32_t tradeDate) {
    if (dateText.IsEmpty())
        return false;
    const std::string date = std::to_string(tradeDate);
    return dateText.view().substr(0, date.size()) != date;
}

int MarketOpeningTime(int market) { return market == 3 ? 1000 : 930; }

CFSData::CFSData() { SetDefaults(); }

CFSData::~CFSData() = default;

void CFSData::SetDefaults() {
    m_code.Clear();
    m_name.Clear();
    m_maxVolumeNumber = 0;
    m_maxVolume = kMinMaxVolume;
    m_noData = true;
    m_volumeText.Clear();
}

void CFSData::Clear() {
    FreeMinuteTables();
    FreeHeaderTables();
    // Nothing of the old day may show with the new one.
    m_market = 0;
    m_type = 0;
    m_tradeDate = 0;
    m_dateText.Clear();
    m_prevClose = m_open = m_high = m_low = m_latest = CQuoteNumber();
    m_totalVolume = m_totalAmount = CQuoteNumber();
    m_orderRatio = m_volumeRatio = m_turnover = m_peRatio = CQuoteNumber();
    m_change = m_changePercent = m_average = CQuoteNumber();
    for (int i = 0; i < 5; ++i)
        m_bids[i] = m_asks[i] = CFSLevel{};
    m_overlayHigh = m_overlayLow = m_overlayPrevClose = CQuoteNumber();
    m_historyVolume = m_historyAmount = CQuoteNumber();
    m_timeText.Clear();
    m_infoMarks.clear();
    m_replyHadMarks = false;
    SetDefaults();
}

// ---- The series ----

CDataSet* CFSData::GetMinuteTable(int i) const {
    return i >= 0 && i < static_cast<int>(m_minuteTables.size()) ? m_minuteTables[static_cast<size_t>(i)].get()
                                                                   : nullptr;
}

CDataSet* CFSData::GetHeaderTable(int i) const {
    return i >= 0 && i < static_cast<int>(m_headerTables.size()) ? m_headerTables[static_cast<size_t>(i)].get()
                                                                   : nullptr;
}

int CFSData::GetCount() const {
    const CDataSet* t = GetMinuteTable(0);
    return t ? t->GetRowCount() : 0;
}

int32_t CFSData::GetInt(int column, int index) const {
    CDataSet* t = GetMinuteTable(0);
    if ((column != kColTime && column != kColBarVolume) || !SeekRow(t, index) || t->IsError())
        return 0;
    return column == kColTime ? t->GetFieldInt16(kColTime) : t->GetFieldInt32(kColBarVolume);
}

CQuoteNumber& CFSData::GetNumber(CQuoteNumber& out, int column, int index) const {
    out = CQuoteNumber();
    if (column == kColAverage && IsIndex() && HasOverlayTable())
        return GetExtraNumber(out, 0, index);
    CDataSet* t = GetMinuteTable(0);
    if (column >= kColPrice && column <= kColAverage && SeekRow(t, index))
        t->GetFieldNumber(out, column);
    return out;
}

int32_t CFSData::GetExtraInt(int /*unused*/, int index) const {
    CDataSet* t = GetMinuteTable(1);
    return SeekRow(t, index) ? t->GetFieldInt16(kColTime) : 0;
}

CQuoteNumber& CFSData::GetExtraNumber(CQuoteNumber& out, int /*unused*/, int index) const {
    out = CQuoteNumber();
    CDataSet* t = GetMinuteTable(1);
    if (SeekRow(t, index))
        t->GetFieldNumber(out, kColPrice);
    return out;
}

const CFSLevel& CFSData::GetBid(int level) const { return m_bids[level < 0 || level > 4 ? 0 : level]; }

const CFSLevel& CFSData::GetAsk(int level) const { return m_asks[level < 0 || level > 4 ? 0 : level]; }

// ---- Texts ----

CAString CFSData::FormatTime() {
    CDataSet* t = GetMinuteTable(0);
    if (!t || t->GetRowCount() < 2) {
        m_timeText.Assign("0");
    } else {
        const int32_t time = RowTime(*t, t->GetRowCount() - 2);
        m_timeText.Format("%04d", static_cast<int>(time));
    }
    return m_timeText;
}

CAString CFSData::FormatVolume() {
    if (m_maxVolumeNumber >= 1)
        m_volumeText.Format("%d", static_cast<int>(m_maxVolumeNumber));
    else
        m_volumeText.Assign("999999999");
    return m_volumeText;
}

std::string CFSData::GetStockKey() const {
    if (!IsRequestValue(m_code.view()) || m_market < 0 || m_market > 99)
        return {};
    CAString key;
    key.Format("%s.%02d", m_code.c_str(), static_cast<int>(m_market));
    return key.str();
}

bool CFSData::IsHistory() const { return IntTextDiffers(m_dateText, m_tradeDate); }

// ---- Snapshot ----

void CFSData::ReadSnapshot() {
    CDataSet* header = GetHeaderTable(0);
    CDataSet* snapshot = GetHeaderTable(1);
    if (!header || !snapshot || header->GetRowCount() < 1 || snapshot->GetRowCount() < 1)
        return;
    header->MoveFirst();
    m_tradeDate = header->GetFieldInt32(0);
    m_prevClose = NumberOf(*header, 1);
    m_open = NumberOf(*header, 2);
    m_high = NumberOf(*header, 3);
    m_low = NumberOf(*header, 4);
    m_latest = NumberOf(*header, 5);
    m_market = header->GetFieldInt16(6);
    m_type = header->GetFieldInt16(7);
    m_code = CAString::CAStringFromWide(header->GetFieldText(8).view());
    m_name = header->GetFieldText(9);
    m_dateText = CAString::CAStringFromWide(header->GetFieldText(11).view());
    m_historyVolume = NumberOf(*header, 12);
    m_historyAmount = NumberOf(*header, 13);
    if (SeekRow(header, kHeaderRowIndex)) {
        m_overlayPrevClose = NumberOf(*header, 1);
        m_overlayHigh = NumberOf(*header, 3);
        m_overlayLow = NumberOf(*header, 4);
    }
    snapshot->MoveFirst();
    m_change = NumberOf(*snapshot, 1);
    m_changePercent = NumberOf(*snapshot, 2);
    m_totalVolume = NumberOf(*snapshot, 3);
    m_totalAmount = NumberOf(*snapshot, 4);
    m_average = NumberOf(*snapshot, 5);
    m_orderRatio = NumberOf(*snapshot, 6);
    m_volumeRatio = NumberOf(*snapshot, 7);
    m_turnover = NumberOf(*snapshot, 8);
    m_peRatio = NumberOf(*snapshot, 9);
    for (int i = 0; i < 5; ++i) {
        m_bids[i] = LevelOf(*snapshot, 10 + 2 * i);
        m_asks[i] = LevelOf(*snapshot, 20 + 2 * i);
    }
    m_noData = false;
}

// ---- Information marks ----

std::unique_ptr<CDataSet> CFSData::TakeInfoMarkSet(CDataSetList& list) {
    int last = list.GetCount() - 1;
    while (last >= 0 && !*list.GetAt(last))
        --last;
    if (last < 0 || !TagIs(*list.GetAt(last), "get xxld"))
        return nullptr;
    return list.Detach(last);
}

std::vector<CFSInfoMark> CFSData::ReadInfoMarks(CDataSet* set) {
    std::vector<CFSInfoMark> marks;
    if (!set || set->IsError())
        return marks;
    set->MoveFirst();
    for (int row = 0; row < set->GetRowCount(); ++row, set->MoveNext()) {
        const std::string time = set->GetFieldText(kMarkColTime).ToAnsi();
        const std::string id = set->GetFieldText(kMarkColId).ToAnsi();
        // An id goes into the information page's request: only plain values.
        if (time.empty() || !IsAllDigits(time.c_str()) || !IsRequestValue(id))
            continue;
        marks.push_back({set->GetFieldInt(kMarkColTime), id});
    }
    return marks;
}

// ---- The reply ----

void CFSData::TakeVolumeOf(CDataSet& set) {
    const int32_t bar = set.GetFieldInt32(kColBarVolume);
    if (bar != CQuoteNumber::kMissingPacked && bar > m_maxVolume)
        m_maxVolume = bar;
    const int32_t raw = set.GetFieldInt32(kColVolume);
    if (raw == CQuoteNumber::kMissingPacked)
        return;
    CQuoteNumber value;
    CQuoteNumber held;
    value.FromPacked(raw);
    held.FromPacked(m_maxVolumeNumber);
    if (m_maxVolumeNumber == 0 || value > held)
        m_maxVolumeNumber = raw;
}

void CFSData::TakeFirstTables(std::unique_ptr<CDataSet> minutes, std::unique_ptr<CDataSet> overlay) {
    KeepTimeOrder(*minutes);
    minutes->MoveFirst();
    for (int row = 0; row < minutes->GetRowCount(); ++row, minutes->MoveNext())
        TakeVolumeOf(*minutes);
    if (overlay)
        KeepTimeOrder(*overlay);
    // The chart starts at the market's opening at the opening price; only a
    // header row knows that price.
    CDataSet* header = GetHeaderTable(0);
    if (header && header->GetRowCount() > 0) {
        header->MoveFirst();
        const int opening = MarketOpeningTime(header->GetFieldInt16(6));
        const int32_t open = header->GetFieldInt32(2);
        const int32_t indexOpen = SeekRow(header, kHeaderRowIndex) ? header->GetFieldInt32(2) : 0;
        // Before the first trade there is no opening price (0 or missing):
        // the chart then starts empty rather than at a price of 0.
        if (HasOpeningPrice(open) && (minutes->GetRowCount() == 0 || RowTime(*minutes, 0) > opening)) {
            minutes->AddRow(0);
            SetIntField(*minutes, kColTime, opening);
            SetRawField(*minutes, kColPrice, open);
            SetRawField(*minutes, kColAverage, open);
            if (overlay) {
                overlay->AddRow(0);
                SetIntField(*overlay, kColTime, opening);
                SetRawField(*overlay, kColPrice, indexOpen);
                SetRawField(*overlay, kColAverage, indexOpen);
            }
        }
    }
    m_minuteTables.push_back(std::move(minutes));
    if (overlay)
        m_minuteTables.push_back(std::move(overlay));
}

bool CFSData::Merge(CDataSet& held, CDataSet& reply, bool countVolume) {
    if (!SameColumns(held, reply))
        return false;
    reply.MoveFirst();
    for (int row = 0; row < reply.GetRowCount(); ++row, reply.MoveNext()) {
        if (countVolume) {
            const int32_t bar = reply.GetFieldInt32(kColBarVolume);
            if (bar != CQuoteNumber::kMissingPacked && bar > m_maxVolume) {
                m_maxVolume = bar;
                const int32_t raw = reply.GetFieldInt32(kColVolume);
                if (raw != CQuoteNumber::kMissingPacked)
                    m_maxVolumeNumber = raw;
            }
        }
        const int32_t time = reply.GetFieldInt16(kColTime);
        const int heldCount = held.GetRowCount();
        int target = heldCount;
        if (heldCount > 0) {
            const int32_t last = RowTime(held, heldCount - 1);
            if (time < last)
                continue;
            if (time == last)
                target = heldCount - 1;
        }
        if (target == heldCount) {
            if (heldCount >= kDayPoints)
                continue;
            held.AddRow(heldCount);
        }
        CopyRow(held, target, reply);
    }
    return true;
}

int CFSData::ParseReply(CDataSetList& list) {
    // The marks set is never a header, snapshot or overlay.
    std::unique_ptr<CDataSet> marks = TakeInfoMarkSet(list);
    int count = list.GetCount();
    while (count > 0 && !*list.GetAt(count - 1))
        --count;
    for (int i = 0; i < count; ++i) {
        const CDataSet* set = *list.GetAt(i);
        if (set && set->IsError() && !IsMinuteReplyPartialError(i))
            return 0;
    }
    if (count < 3)
        return 0;
    CDataSet* header = *list.GetAt(0);
    CDataSet* minutes = *list.GetAt(1);
    CDataSet* snapshot = *list.GetAt(2);
    if (!header || !minutes || !snapshot)
        return 0;
    CDataSet* set3 = count > 3 ? *list.GetAt(3) : nullptr;
    const bool overlay = TagIs(set3, "hq.fs");
    // A failed index table says nothing about the overlay: the held one stays.
    const bool overlayFailed = set3 && set3->IsError();

    if (header->GetRowCount() > 0) {
        header->MoveFirst();
        const CAString code = CAString::CAStringFromWide(header->GetFieldText(8).view());
        const int32_t tradeDate = header->GetFieldInt32(0);
        const bool heldOverlay = HasOverlayTable();
        const bool reload = (!overlayFailed && overlay != heldOverlay) || !code.EqualsNoCase(m_code) ||
                            header->GetFieldInt16(6) != m_market || (m_tradeDate != 0 && tradeDate != m_tradeDate);
        if (reload)
            Clear();
    }

    m_headerTables.clear();
    m_headerTables.push_back(list.Detach(0));
    m_headerTables.push_back(list.Detach(2));
    ReadSnapshot();

    if (!minutes->IsError()) {
        if (m_minuteTables.empty()) {
            TakeFirstTables(list.Detach(1), overlay ? list.Detach(3) : nullptr);
        } else {
            Merge(*m_minuteTables[0], *minutes, true);
            if (HasOverlayTable() && overlay)
                Merge(*m_minuteTables[1], *set3, false);
            else if (!overlayFailed)
                m_minuteTables.resize(1);
        }
    }
    m_replyHadMarks = marks != nullptr;
    if (marks)
        m_infoMarks = ReadInfoMarks(marks.get());
    return 1;
}
