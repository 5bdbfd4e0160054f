// The article page's reply.
#include "quotes/info/COrbInfoTxtWnd.h"

#include "core/CDataSetList.h"
#include "quotes/info/InfoText.h"

COrbInfoTxtWnd::COrbInfoTxtWnd() = default;

COrbInfoTxtWnd::~COrbInfoTxtWnd() = default;

void COrbInfoTxtWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    CDataSet* first = FirstReplySet(reply);
    if (!first)
        return;
    const std::u16string text = JoinTextColumn(*first, ArticleTextColumn(*first));
    SetText(text.empty() ? std::u16string_view(kNoText) : std::u16string_view(text));
    Invalidate();
    UpdateWindow();
}
