// The stored configuration: loading through the framework's hooks and
// looking up option groups by name.
#include "core/CDataSetWriter.h"
#include "core/CNameValueList.h"
#include "core/CServerConfig.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

std::vector<uint8_t> ConfigBody() {
    CDataSetWriter w;
    w.AddSet("config");
    w.AddColumn(DataSetType::AnsiText, "name");
    w.AddColumn(DataSetType::WideText, "value");
    w.AddRow();
    w.SetText(0, u"Market");
    w.SetText(1, u"1^深圳#2^上海#");
    w.AddRow();
    w.SetText(0, u"second row is never read");
    w.AddSet("config");
    w.AddColumn(DataSetType::WideText, "name");
    w.AddColumn(DataSetType::WideText, "value");
    w.AddRow();
    w.SetText(0, u"tech");
    w.SetText(1, u"MACD^指数平滑#KDJ^随机指标#");
    return w.Serialize();
}

struct Harness {
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<CWString> shown;
    CServerConfig config{[this](const char* name) -> std::optional<std::vector<uint8_t>> {
                             auto it = files.find(name);
                             if (it == files.end()) return std::nullopt;
                             return it->second;
                         },
                         [this](const CWString& text) { shown.push_back(text); }};
};

} // namespace

TEST(CServerConfig, GetValueReadsColumnOneOfTheFirstMatchingSetIgnoringCase) {
    Harness h;
    h.files["config"] = ConfigBody();
    ASSERT_TRUE(h.config.Load(0));
    EXPECT_EQ(*h.config.GetValue("market"), u"1^深圳#2^上海#");
    std::optional<CWString> tech = h.config.GetValue("TECH");
    ASSERT_TRUE(tech.has_value());
    CNameValueList options;
    options.Parse(tech->c_str());
    EXPECT_EQ(std::u16string(options.FindValue(u"kdj")), u"随机指标");
    EXPECT_FALSE(h.config.GetValue("sort").has_value());
    EXPECT_FALSE(h.config.GetValue(nullptr).has_value());
    EXPECT_TRUE(h.shown.empty());
}

TEST(CServerConfig, ReloadingAnErrorSetOrADamagedFileShowsItsTextAndAnAbsentOneDropsTheValuesSilently) {
    struct Case {
        const char* what;
        std::optional<std::vector<uint8_t>> file;
        const char16_t* shown;  // null: nothing shown
    };
    const Case cases[] = {
        {"an error set", CDataSetWriter::ErrorBody(u"版本过期"), u"版本过期"},
        {"not a body", std::vector<uint8_t>{1, 0, 0, 0, 'x'}, u"未取到错误信息"},
        {"no file", std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.files["config"] = ConfigBody();
        ASSERT_TRUE(h.config.Load(0));
        h.files.erase("config");
        if (c.file) h.files["config"] = *c.file;
        EXPECT_FALSE(h.config.Load(0));
        EXPECT_FALSE(h.config.GetValue("market").has_value());  // what was held is dropped
        ASSERT_EQ(h.shown.size(), c.shown ? 1u : 0u);
        if (c.shown) {
            EXPECT_EQ(h.shown[0], c.shown);
        }
    }
}

TEST(CServerConfig, TheStampTellsEveryLoadAndEveryConfigurationApart) {
    Harness a;
    Harness b;
    a.files["config"] = b.files["config"] = ConfigBody();
    EXPECT_NE(a.config.GetStamp(), b.config.GetStamp());
    const std::uint64_t before = a.config.GetStamp();
    ASSERT_TRUE(a.config.Load(0));
    EXPECT_NE(a.config.GetStamp(), before) << "a load, even of the same bytes, is a new stamp";
    a.files.erase("config");
    const std::uint64_t held = a.config.GetStamp();
    EXPECT_FALSE(a.config.Load(0));
    EXPECT_NE(a.config.GetStamp(), held) << "and so is a load that drops the values";
    EXPECT_NE(a.config.GetStamp(), b.config.GetStamp());
}
