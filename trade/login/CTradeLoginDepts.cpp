// The trade login's department choice; see the header.
#include "trade/login/CTradeLoginDepts.h"

#include "framework/app/CAppData.h"
#include "trade/login/SalesDeptStore.h"

bool CTradeLoginDepts::Load(const CAppData& app) {
    m_depts.clear();
    m_index = -1;
    const std::optional<std::vector<SalesDept>> stored = LoadSalesDepts(app);
    if (!stored)
        return false;
    for (const SalesDept& dept : *stored) {
        if (static_cast<int>(m_depts.size()) >= kMaxDepts)
            break;
        m_depts.push_back({CWString(dept.name), dept.code});
    }
    SelectByCode(app.GetSetting(kSalesDeptSetting).view());
    return true;
}

void CTradeLoginDepts::SelectByCode(std::string_view code) {
    m_index = -1;
    for (size_t i = 0; i < m_depts.size(); ++i)
        if (m_depts[i].code == code) {
            m_index = static_cast<int>(i);
            return;
        }
    if (!m_depts.empty())
        m_index = 0;
}

bool CTradeLoginDepts::Select(int index) {
    if (index < 0 || index >= static_cast<int>(m_depts.size()))
        return false;
    m_index = index;
    return true;
}

bool CTradeLoginDepts::Lists(std::string_view code) const {
    for (const CDept& dept : m_depts)
        if (dept.code == code)
            return true;
    return false;
}

CTradeLoginDepts::CTake CTradeLoginDepts::TakeHistoryDept(CAppData* app, std::u16string_view name,
                                                          std::string_view code) {
    CTake take;
    if (code == Code())
        return take;
    if (!Lists(code) && app) {
        // A history row may name no real department ("登录时未正确设置营业部",
        // an empty code); such a row, or a full list, leaves the choice as
        // it is.
        const SalesDeptAdd added = AddSalesDeptIfMissing(*app, name, code);
        take.addFailed = added == SalesDeptAdd::Failed;
        if (added == SalesDeptAdd::Added || added == SalesDeptAdd::Present) {
            const std::string keep = Code();
            take.reloadFailed = !Load(*app);
            SelectByCode(keep);
        }
    }
    take.taken = false;
    for (size_t i = 0; i < m_depts.size(); ++i)
        if (m_depts[i].code == code) {
            m_index = static_cast<int>(i);
            take.taken = true;
        }
    return take;
}

std::string CTradeLoginDepts::Code() const {
    return HasChoice() ? m_depts[m_index].code : std::string();
}

std::u16string CTradeLoginDepts::Text() const {
    return HasChoice() ? m_depts[m_index].name.str() : std::u16string(kNoDeptText);
}
