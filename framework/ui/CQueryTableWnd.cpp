// Query requests and the grid filled from their replies.
#include "framework/ui/CQueryTableWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/ui/QueryRequests.h"
#include "framework/ui/QueryTableRows.h"

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
        if (const std::string value = GetUrlParamText(request, key); !value.empty())
            target->Assign(value.c_str());
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
    return name && IsQueryKeyField(name, m_signField.view(), m_pagingKey.view());
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

void CQueryTableWnd::OnRequestNotSent(NotSent why) {
    if (why == NotSent::NothingToSend || why == NotSent::NotArmed)
        return;
    if (CAppData* app = CAppData::Instance())
        app->ShowInfoMessage(kQueryNotSentText, this);
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
    if (ShowReplyError(list))
        return;
    m_set = list.Detach(0);
    if (!m_set)
        return;
    const QueryTableRows table = ReadQueryTableRows(*m_set, m_signField.view(), m_pagingKey.view());
    CGridCtrl& grid = GetGrid();
    const int columns = static_cast<int>(table.columns.size());
    SetupTable(0, columns, true, std::min(columns, 4), 0);
    for (int c = 0; c < columns; ++c) {
        AddColumnHeader(table.columns[c].header.view());
        grid.SetColumnHidden(c, table.columns[c].hidden);
    }
    const std::uint32_t plain = m_colorValue == 0  ? 0xFFFFFFu
                                : m_colorValue > 0 ? static_cast<std::uint32_t>(m_colorValue)
                                : app              ? app->GetColor(14)
                                                   : 0xFFFFFFu;
    std::vector<CGridCell> cells(static_cast<size_t>(columns));
    for (size_t row = 0; row < table.rows.size(); ++row) {
        const int sign = table.signs[row];
        const std::uint32_t color = !app || sign == 0 ? plain : app->GetColor(sign > 0 ? 15 : 16);
        for (int c = 0; c < columns; ++c) {
            cells[c].text = table.rows[row][c];
            cells[c].color = color;
            cells[c].value = c;
        }
        AddRow(cells.data(), columns);
    }
    if (table.hasCursor && !table.rows.empty())
        m_pagingCursor = table.cursor;
    ++m_pageCount;
    Invalidate();
}
