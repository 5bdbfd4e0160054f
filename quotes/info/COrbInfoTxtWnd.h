// One article as scrolling text (keyword "newscontent"): the window sends
// the request it was opened with and shows the reply's lines, or
// "暂无相关信息！" when there are none.
#pragma once

#include "framework/ui/CTextWnd.h"

class COrbInfoTxtWnd : public CTextWnd {
public:
    static constexpr const char16_t* kNoText = u"暂无相关信息！";

    COrbInfoTxtWnd();
    ~COrbInfoTxtWnd() override;
    const char* GetClassName() const override { return "COrbInfoTxtWnd"; }

    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
};
