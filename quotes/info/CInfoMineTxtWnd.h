// The information-mark page ("信息地雷"): the text of one stock's marks on
// one day, asked for with 504/11 and shown as scrolling text. The minute
// chart opens it when a mark is tapped, with the stock key, the chart's
// trade date and the ids of the marks under the finger (joined by ",").
#pragma once

#include "framework/ui/CTextWnd.h"

#include <string>
#include <string_view>

class CDataSetList;

// "tc_mfuncno=504&tc_sfuncno=11&lmdm=xxld&stkcode=&id=&date=" of the three
// values; empty when one of them may not travel (see IsInfoMineValue).
std::string InfoMineRequest(std::string_view code, std::string_view ids, std::string_view date);
// True when value may travel in the mark request: not empty, ASCII
// letters, digits, "." and "," only (ids come joined by ",").
bool IsInfoMineValue(std::string_view value);
// The page text of a reply: column 0 of every row of the first set, each
// followed by CR LF; "该只股票当日无信息雷达。" when that gives nothing.
std::u16string InfoMineText(CDataSetList& reply);

class CInfoMineTxtWnd : public CTextWnd {
public:
    static constexpr const char16_t* kNoInfoText = u"该只股票当日无信息雷达。";

    CInfoMineTxtWnd();
    ~CInfoMineTxtWnd() override;
    const char* GetClassName() const override { return "CInfoMineTxtWnd"; }

    // Each setter ignores a null or empty text; none cuts what it keeps.
    void SetStockCode(const char* code);
    const std::string& GetStockCode() const { return m_code; }
    void SetDate(const char* date);
    void SetItemId(const char* ids);

    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    std::string m_code; // the stock key, "600010.02"
    std::string m_date; // yyyymmdd
    std::string m_ids;  // mark ids joined by ","
};
