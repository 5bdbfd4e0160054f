// The K-line data: the page merge and the series over the stored sets.
#include "quotes/charts/CKXData.h"

#include "core/StrUtil.h"
#include "quotes/charts/ChartReplySets.h"

namespace {

bool TagIs(const CDataSet* set, const char* tag) { return set && StrEqualNoCase(set->GetTag(), tag) == 0; }

int16_t RowInt16(CDataSet& set, int row, int column) {
    set.MoveFirst();
    set.Move(row);
    return set.GetFieldInt16(column);
}

int32_t RowInt32(CDataSet& set, int row, int column) {
    set.MoveFirst();
    set.Move(row);
    return set.GetFieldInt32(column);
}

std::string FieldTextOfFirstRow(CDataSet* set, int column) {
    if (!set || set->GetRowCount() < 1)
        return "0";
    set->MoveFirst();
    const std::string text = CAString::CAStringFromWide(set->GetFieldText(column).view()).str();
    return text.empty() ? std::string("0") : text;
}

} // namespace

bool KLineBarOlder(int32_t date, int32_t time, int32_t heldDate, int32_t heldTime) {
    if (date != heldDate || time == 0 || heldTime == 0)
        return date < heldDate;
    return time < heldTime;
}

int CKXData::GetCount() const {
    if (m_count > 0)
        return m_count;
    int n = 0;
    for (size_t i = 1; i < m_tables.size(); ++i)
        if (m_tables[i])
            n += m_tables[i]->GetRowCount();
    m_count = n;
    return n;
}

CDataSet* CKXData::Locate(int index, int* row) const {
    if (m_tables.size() < 2 || index < 0)
        return nullptr;
    for (size_t i = 1; i < m_tables.size(); ++i) {
        CDataSet* set = m_tables[i].get();
        if (!set)
            continue;
        if (index < set->GetRowCount()) {
            *row = index;
            return set;
        }
        index -= set->GetRowCount();
    }
    return nullptr;
}

int32_t CKXData::GetInt(int column, int index) const {
    if (column != kColDate && column != kColTime && column != kColExtra)
        return 0;
    int row = 0;
    CDataSet* set = Locate(index, &row);
    if (!set)
        return 0;
    return column == kColTime ? RowInt16(*set, row, column) : RowInt32(*set, row, column);
}

CQuoteNumber& CKXData::GetNumber(CQuoteNumber& out, int column, int index) const {
    out = CQuoteNumber();
    if (column < kColPrevClose || column == kColExtra)
        return out;
    int row = 0;
    CDataSet* set = Locate(index, &row);
    if (!set)
        return out;
    set->MoveFirst();
    set->Move(row);
    set->GetFieldNumber(out, column);
    return out;
}

const CKXBar& CKXData::CalcBar(int index) {
    m_bar = CKXBar();
    int row = 0;
    CDataSet* set = Locate(index, &row);
    if (!set)
        return m_bar;
    set->MoveFirst();
    set->Move(row);
    m_bar.date = set->GetFieldInt32(kColDate);
    CQuoteNumber* numbers[] = {&m_bar.prevClose, &m_bar.open, &m_bar.high, &m_bar.low, &m_bar.close,
                               &m_bar.amount,    &m_bar.volume, &m_bar.ma30, &m_bar.ma10, &m_bar.ma5,
                               &m_bar.tech1,     &m_bar.tech2,  &m_bar.tech3};
    const int columns[] = {kColPrevClose, kColOpen, kColHigh, kColLow,   kColClose, kColAmount, kColVolume,
                           kColMa30,      kColMa10, kColMa5,  kColTech1, kColTech2, kColTech3};
    for (size_t i = 0; i < std::size(columns); ++i)
        set->GetFieldNumber(*numbers[i], columns[i]);
    m_bar.extra = set->GetFieldInt32(kColExtra);
    return m_bar;
}

bool CKXData::IsAcceptedReply(CDataSetList& list) {
    if (list.GetCount() < 2)
        return false;
    const CDataSet* header = *list.GetAt(0);
    if (!header || header->IsError() || TagIs(header, "hq.info"))
        return false;
    const int error = list.GetErrorIndex();
    return error < 0 || IsKLineReplyPartialError(error);
}

int CKXData::ParseReply(CDataSetList& list) {
    if (!IsAcceptedReply(list))
        return 0;
    int before = GetCount();
    m_count = 0;
    CDataSet* header = *list.GetAt(0);
    if (header->GetRowCount() > 0) {
        header->MoveFirst();
        const CAString code = CAString::CAStringFromWide(header->GetFieldText(2).view());
        if (!code.EqualsNoCase(m_code) || header->GetFieldInt16(0) != m_market) {
            Clear();
            before = 0; // every bar of another stock is new
        }
    }
    std::unique_ptr<CDataSet> bars;
    if (CDataSet* set = *list.GetAt(1); set && !set->IsError())
        bars = list.Detach(1);
    if (m_tables.size() < 2) {
        m_tables.clear();
        m_tables.push_back(list.Detach(0));
        if (bars)
            m_tables.push_back(std::move(bars));
    } else {
        m_tables[0] = list.Detach(0);
        CDataSet* held = m_tables[1].get();
        if (bars && held && held->GetRowCount() > 0) {
            const int32_t heldDate = RowInt32(*held, 0, kColDate);
            const int32_t heldTime = RowInt16(*held, 0, kColTime);
            for (int row = bars->GetRowCount() - 1; row >= 0; --row)
                if (!KLineBarOlder(RowInt32(*bars, row, kColDate), RowInt16(*bars, row, kColTime), heldDate,
                                   heldTime))
                    bars->DeleteRow(row);
        }
        if (bars && bars->GetRowCount() > 0)
            m_tables.insert(m_tables.begin() + 1, std::move(bars));
    }
    m_count = 0;
    ParseHeader();
    const int after = GetCount();
    return after > before ? after - before : 0;
}

void CKXData::ParseHeader() {
    if (m_tables.size() < 2 || !m_tables[0] || m_tables[0]->GetRowCount() < 1)
        return;
    CDataSet& h = *m_tables[0];
    h.MoveFirst();
    m_market = h.GetFieldInt16(0);
    m_type = h.GetFieldInt16(1);
    m_code = CAString::CAStringFromWide(h.GetFieldText(2).view());
    m_name = h.GetFieldText(3);
    for (int i = 0; i < 5; ++i)
        h.GetFieldNumber(m_header[i], 5 + i);
}

void CKXData::Clear() {
    m_tables.clear();
    m_count = 0;
}

std::string CKXData::GetFirstDate() const {
    return m_tables.size() < 2 ? std::string("0") : FieldTextOfFirstRow(m_tables[1].get(), kColDate);
}

std::string CKXData::GetFirstTime() const {
    return m_tables.size() < 2 ? std::string("0") : FieldTextOfFirstRow(m_tables[1].get(), kColTime);
}

bool CKXData::ReadPrices(int index, CQuoteNumber& open, CQuoteNumber& high, CQuoteNumber& low,
                         CQuoteNumber& close) const {
    GetNumber(open, kColOpen, index);
    GetNumber(high, kColHigh, index);
    GetNumber(low, kColLow, index);
    GetNumber(close, kColClose, index);
    return !open.IsInvalid() && !high.IsInvalid() && !low.IsInvalid() && !close.IsInvalid();
}
