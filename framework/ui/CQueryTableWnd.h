// The query-table base of the trade windows: sends its preset request with
// the account's fund id and the trade login id (sealed), shows the reply's
// columns in the grid, colours rows by the sign column and hides the sign
// and paging columns. It keeps record set 0 of the last reply, the paging
// cursor (the paging column's value in the last row) and a page counter;
// the base request never carries the cursor (a refresh asks for the same
// first page again), windows that page add it in their own builder.
#pragma once

#include "core/CDataSet.h"
#include "framework/ui/CTableWnd.h"

#include <memory>
#include <optional>

class CQueryTableWnd : public CTableWnd {
public:
    CQueryTableWnd();
    ~CQueryTableWnd() override;
    const char* GetClassName() const override { return "CQueryTableWnd"; }

    // Takes "sign" (the sign column's name, default "sign") and "position"
    // (the paging key, default "poststr") from the parameter text and then
    // the request text, which overrides it; then CNetWnd::SetMenuParams.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    // BuildQueryRequest (QueryRequests.h) of the preset request and the
    // application's fund id and login id; 0 when that is empty.
    int BuildRequest(CAString& out) override;
    // The same for any window that sends the trade query (the tabbed query).
    static int BuildTradeQuery(const CAString& preset, CAString& out);
    // Reads "sign" and "position" from a request text into sign and
    // position (either may be null); absent or empty values leave them.
    static void ReadQueryKeys(const char* request, CAString* sign, CAString* position);
    // Error sets are shown; set 0 fills the grid and is kept. A reply that
    // is empty, an error or has no set empties the grid and the kept set,
    // so no old row can be acted on. A network failure shows its text
    // (QueryFailureText) and leaves the grid and the kept set as they were.
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    // A query that could not go or was abandoned is told
    // (kQueryNotSentText); the rows stay. Nothing to send stays silent.
    void OnRequestNotSent(NotSent why) override;
    // The grid column of the named reply field; −1 when absent or hidden.
    int FindFieldColumn(const char* name) const;
    // The pop-up-menu command that derived tables handle; nothing here.
    virtual void OnFundMenuCommand(int /*commandId*/) {}

    const CDataSet* GetDataSet() const { return m_set.get(); }
    // The named field of a row of the kept set as text; nullopt without
    // such a row or column.
    std::optional<CWString> GetReplyField(int row, const char* name) const;
    const CAString& GetSignField() const { return m_signField; }
    const CAString& GetPagingKey() const { return m_pagingKey; }
    const CAString& GetPagingCursor() const { return m_pagingCursor; }
    int GetPageCount() const { return m_pageCount; }
    // Starts again from the first page.
    void ResetPaging();
    // Empties the grid and forgets the kept set.
    void ClearTable();
    // The colour of rows without a sign: −1 (the default) the table text
    // colour of the palette; 0 white (0xFFFFFF); any other value as it is.
    void SetColorValue(std::int64_t value) { m_colorValue = value; }
    std::int64_t GetColorValue() const { return m_colorValue; }

private:
    bool IsHiddenField(const char* name) const;

    std::unique_ptr<CDataSet> m_set; // set 0 of the last reply
    CAString m_signField{"sign"};
    CAString m_pagingKey{"poststr"};
    CAString m_pagingCursor;         // the paging column's value in the last row
    int m_pageCount = 0;             // pages read since the last reset
    std::int64_t m_colorValue = -1;  // see SetColorValue
};
