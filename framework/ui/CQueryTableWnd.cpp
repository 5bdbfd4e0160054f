// Query requests and the grid filled from their replies.
#include "framework/ui/CQueryTableWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/ui/QueryRequests.h"

#include <cstdlib>
#include <utility>

CQueryTableWnd::CQueryTableWnd() {
    SetSealRequest(true);
}

CQueryTableWnd::~CQueryTableWnd() {
    Destroy();
}

void CQueryTableWnd::ReadQueryKeys(const char* request, CAString* sign, CAString* position) {
    if (!request || !*request)
        return;
    const std::pair<const char*, CAString*> keys[] = {{"sign", sign}, {"position", position}};
    for (const auto& [key, target] : keys) {
        if (!target)
            continue;
        if (char* value = GetUrlParam(request, key)) {
            if (*value)
                target->Assign(value);
            std::free(value);
        }
    }
}

void CQueryTableWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    ReadQueryKeys(param, &m_signField, &m_pagingKey);
    ReadQueryKeys(request, &m_signField, &m_pagingKey);
    CNetWnd::SetMenuParams(menuId, param, request);
}

int CQueryTableWnd::BuildTradeQuery(const CAString& preset, CAString& out) {
    CAppData* app = CAppData::Instance();
    const std::string text = app ? BuildQueryRequest(preset.view(), *app) : std::string();
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

int CQueryTableWnd::BuildRequest(CAString& out) {
    return BuildTradeQuery(GetRequestText(), out);
}

void CQueryTableWnd::ResetPaging() {
    m_pagingCursor.Clear();
    m_pageCount = 0;
}

bool CQueryTableWnd::IsHiddenField(const char* name) const {
    return StrEqualNoCase(name, m_signField.c_str()) == 0 || StrEqualNoCase(name, m_pagingKey.c_str()) == 0;
}

int CQueryTableWnd::FindFieldColumn(const char* name) const {
    if (!m_set || !name || IsHiddenField(name))
        return -1;
    return m_set->FindColumn(name);
}

std::optional<CWString> CQueryTableWnd::GetReplyField(int row, const char* name) const {
    const int column = m_set && name ? m_set->FindColumn(name) : -1;
    if (column < 0 || row < 0 || row >= m_set->GetRowCount())
        return std::nullopt;
    const int saved = m_set->GetCursor();
    m_set->Move(row - saved);
    CWString text = m_set->GetFieldText(column);
    m_set->Move(saved - m_set->GetCursor());
    return text;
}

void CQueryTableWnd::ClearTable() {
    m_set.reset();
    SetupTable(0, 0, true, 1, 0);
    Invalidate();
}

void CQueryTableWnd::OnNetData(const std::uint8_t* data, int length, bool networkFailure) {
    CAppData* app = CAppData::Instance();
    if (networkFailure) {
        // Nothing new came: the last good rows stay, and the user learns
        // the query failed instead of reading an empty table as "none".
        if (app)
            app->ShowInfoMessage(QueryFailureText(data, length).c_str(), this);
        return;
    }
    // Whatever the answer, the rows of the last one no longer stand.
    ClearTable();
    if (!data || length <= 0)
        return;
    CDataSetList list(data, length);
    if (list.IsError()) {
        if (app)
            app->ShowInfoMessage(list.GetErrorText().c_str(), this);
        return;
    }
    m_set = list.Detach(0);
    if (!m_set)
        return;
    CGridCtrl& grid = GetGrid();
    const int columns = m_set->GetColumnCount();
    SetupTable(0, columns, true, std::min(columns, 4), 0);
    for (int c = 0; c < columns; ++c) {
        const DataSetColumn* column = m_set->GetColumn(c);
        const CWString label = column->GetLabel();
        AddColumnHeader(label.IsEmpty() ? CWString::CWStringFromAnsi(column->GetName()).view() : label.view());
        grid.SetColumnHidden(c, IsHiddenField(column->GetName()));
    }
    const int signColumn = m_set->FindColumn(m_signField.c_str());
    const int pagingColumn = m_set->FindColumn(m_pagingKey.c_str());
    const std::uint32_t plain = m_colorValue == 0  ? 0xFFFFFFu
                                : m_colorValue > 0 ? static_cast<std::uint32_t>(m_colorValue)
                                : app              ? app->GetColor(14)
                                                   : 0xFFFFFFu;
    std::vector<CGridCell> cells(static_cast<size_t>(columns));
    m_set->MoveFirst();
    for (int row = 0; row < m_set->GetRowCount(); ++row, m_set->MoveNext()) {
        std::uint32_t color = plain;
        if (signColumn >= 0 && app) {
            const int sign = m_set->GetFieldInt(signColumn);
            color = sign > 0 ? app->GetColor(15) : sign < 0 ? app->GetColor(16) : plain;
        }
        for (int c = 0; c < columns; ++c) {
            cells[c].text = m_set->GetFieldText(c);
            cells[c].color = color;
            cells[c].value = c;
        }
        AddRow(cells.data(), columns);
        if (pagingColumn >= 0)
            m_pagingCursor = CAString::CAStringFromWide(m_set->GetFieldText(pagingColumn).view());
    }
    ++m_pageCount;
    Invalidate();
}
