// The phone-token application and texts over the broker's accounts.
#include "tools/simulator/SimTokenRoutes.h"

#include "core/HmacSha1.h"
#include "core/StrUtil.h"

#include <cstdio>

namespace {
constexpr char16_t kUsage[][80] = {
    u"手机令牌是绑定在本手机上的动态口令，登录交易时自动生成一次性验证码，无需输入认证口令。",
    u"每个令牌只在申请时登记的手机号码上有效；更换手机或号码后请重新申请。",
    u"申请成功后，资金账号及其股东账号均可使用同一令牌登录。",
};
constexpr char16_t kRisk[][80] = {
    u"请妥善保管本手机，手机遗失时请立即联系营业部注销令牌。",
    u"请勿在他人手机上申请令牌，也不要向任何人透露交易密码。",
    u"重新申请后，原有令牌立即失效。",
};
constexpr char16_t kTip[][60] = {
    u"",
    u"",
    u"温馨提示：令牌申请后首次登录即生效。",
};

SimReply Texts() {
    CDataSetWriter w;
    w.AddSet("dyncode");
    w.AddColumn(DataSetType::WideText, "usage");
    w.AddColumn(DataSetType::WideText, "risk");
    w.AddColumn(DataSetType::WideText, "tip");
    for (size_t i = 0; i < std::size(kUsage); ++i) {
        w.AddRow();
        w.SetText(0, kUsage[i]);
        w.SetText(1, kRisk[i]);
        w.SetText(2, kTip[i]);
    }
    return SimReply::Ok(w);
}
} // namespace

CSimTokenRoutes::CSimTokenRoutes(std::shared_ptr<CSimTradeAccounts> accounts)
    : m_accounts(accounts ? std::move(accounts) : std::make_shared<CSimTradeAccounts>()) {}

std::string CSimTokenRoutes::SeedFor(std::string_view fundid, int application) {
    static const char kKey[] = "orbsim-token-seed";
    const std::string message = std::string(fundid) + "#" + std::to_string(application);
    uint8_t digest[20] = {};
    HmacSha1(reinterpret_cast<const uint8_t*>(kKey), static_cast<int>(sizeof kKey - 1),
             reinterpret_cast<const uint8_t*>(message.data()), static_cast<int>(message.size()), digest);
    std::string hex;
    char pair[3];
    for (uint8_t b : digest) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        hex += pair;
    }
    return hex;
}

void CSimTokenRoutes::AddRoutes(CSimRouteTable& table) {
    std::shared_ptr<CSimTradeAccounts> accounts = m_accounts;
    std::shared_ptr<std::map<std::string, int>> applications = m_applications;
    table.Add(kFuncTokenTexts, [](const SimRequest&, SimContext&) { return Texts(); });
    table.Add(
        kFuncTokenApply,
        [accounts, applications](const SimRequest& request, SimContext&) {
            const SimTradeAccount* account = accounts->FindLogin(request.Get("inputtype"), request.Get("inputid"));
            if (!account || account->password != request.Get("trdpwd"))
                return SimReply::Error(u"账号或交易密码错误");
            if (account->locked)
                return SimReply::Error(u"账户已被锁定，请与营业部联系");
            if (!IsDigits(request.Get("mobileno")))
                return SimReply::Error(u"手机号码未登记，不能申请手机令牌");
            const std::string seed = SeedFor(account->fundid, ++(*applications)[account->fundid]);
            accounts->SetTokenSeed(account->fundid, seed);
            std::string secuids;
            for (const SimHolderAccount& holder : account->holders) {
                if (!secuids.empty())
                    secuids += ',';
                secuids += holder.secuid;
            }
            CDataSetWriter w;
            w.AddSet("token");
            w.AddColumn(DataSetType::AnsiText, "seed");
            w.AddColumn(DataSetType::AnsiText, "fundidlist");
            w.AddColumn(DataSetType::AnsiText, "secuidlist");
            w.AddRow();
            w.SetAnsiText(0, seed);
            w.SetAnsiText(1, account->fundid);
            w.SetAnsiText(2, secuids);
            return SimReply::Ok(w);
        },
        SimNeeds::Session);
}
