// Settings: the file form of "DefParam.dat", damaged files that must leave
// the program on its defaults, values that do not fit, and the colours'
// range.
#include "app_Fixture.h"

#include "framework/app/CDefParam.h"

#include <cstring>

namespace {

std::vector<uint8_t> Record(const std::string& key, const std::string& value) {
    std::vector<uint8_t> record(CDefParam::kRecordSize, 0);
    std::memcpy(record.data(), key.data(), key.size());
    std::memcpy(record.data() + CDefParam::kFieldSize, value.data(), value.size());
    return record;
}

std::vector<uint8_t> SettingsFile(const std::vector<std::vector<uint8_t>>& records) {
    std::vector<uint8_t> file(CDefParam::kHeader.begin(), CDefParam::kHeader.end());
    for (const auto& record : records)
        file.insert(file.end(), record.begin(), record.end());
    return file;
}

using Settings = AppDataTest;

TEST_F(Settings, ASavedValueSurvivesARestartInTheStoredFileFormAndAnUnsavedOneIsWrittenAtShutDown) {
    ASSERT_TRUE(App().SetSetting("Quote_RefeWait", "30", true));
    const std::vector<uint8_t> file = ReadFile("DefParam.dat");
    ASSERT_GE(file.size(), CDefParam::kHeader.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + 12), "#param2.0.2#");
    EXPECT_EQ((file.size() - 12) % 64, 0u);
    EXPECT_EQ((file.size() - 12) / 64, CDefParam::Defaults().size());
    // The second record is "Quote_RefeWait": key field, then the value field.
    EXPECT_STREQ(reinterpret_cast<const char*>(&file[12 + 64]), "Quote_RefeWait");
    EXPECT_STREQ(reinterpret_cast<const char*>(&file[12 + 64 + 32]), "30");
    App().SetConnectType(1);
    EXPECT_EQ(App().GetSetting("Connect_Type"), "1");
    CAppData& again = Restart();
    EXPECT_EQ(again.GetSetting("Quote_RefeWait"), "30");
    EXPECT_EQ(again.GetConnectType(), 1);
}

TEST_F(Settings, AFileWithSomeKeysKeepsDefaultsForTheRestAndUnknownKeys) {
    WriteFile("DefParam.dat", SettingsFile({Record("Server_Port", "9000"), Record("Future_Key", "x")}));
    CAppData& app = App();
    EXPECT_EQ(app.GetSetting("Server_Port"), "9000");
    EXPECT_EQ(app.GetSetting("Quote_RefeWait"), "10");
    EXPECT_EQ(app.GetSetting("Future_Key"), "x");
    EXPECT_EQ(Restart().GetSetting("Future_Key"), "x");
}

TEST_F(Settings, OnlyExistingKeysAndValuesThatFitCanBeSetNeverCut) {
    CAppData& app = App();
    EXPECT_FALSE(app.SetSetting("Made_Up", "1", true));
    EXPECT_EQ(app.GetSetting("Made_Up"), "");
    const std::string fits(31, 'a');
    EXPECT_TRUE(app.SetSetting("Trade_ZJZH", fits, true));
    EXPECT_FALSE(app.SetSetting("Trade_ZJZH", std::string(32, 'b'), true));
    EXPECT_FALSE(app.SetSetting("Trade_ZJZH", std::string("a\0b", 3), true));
    EXPECT_EQ(app.GetSetting("Trade_ZJZH"), fits);
    EXPECT_EQ(Restart().GetSetting("Trade_ZJZH"), fits);
}

TEST_F(Settings, ADamagedFileLeavesTheDefaultsIsNotOverwrittenAtStartAndASaveReplacesIt) {
    const std::vector<uint8_t> good = SettingsFile({Record("Server_Port", "9000")});
    std::vector<uint8_t> badHeader = good;
    badHeader[7] = '3';
    std::vector<uint8_t> oddSize = good;
    oddSize.push_back(0);
    std::vector<uint8_t> keyWithoutNul = good;
    std::memset(&keyWithoutNul[12], 'K', 32);
    std::vector<uint8_t> valueWithoutNul = good;
    std::memset(&valueWithoutNul[12 + 32], '9', 32);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"short", {'#', 'p', 'a', 'r'}}, {"empty", {}},
        {"bad header", badHeader},       {"odd size", oddSize},
        {"key without NUL", keyWithoutNul}, {"value without NUL", valueWithoutNul},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CAppData::Destroy();
        WriteFile("DefParam.dat", c.bytes);
        EXPECT_EQ(App().GetSetting("Server_Port"), "8002");
        EXPECT_EQ(ReadFile("DefParam.dat"), c.bytes);
    }
    ASSERT_TRUE(App().SetSetting("Server_Port", "7001", true));
    EXPECT_EQ(Restart().GetSetting("Server_Port"), "7001");
}

TEST_F(Settings, AColourOutsideTheSchemeIsBlack) {
    CAppData& app = App();
    EXPECT_NE(app.GetColor(12), app.GetColor(13)) << "a grid seen on its background";
    EXPECT_EQ(app.GetColor(-1), 0u);
    EXPECT_EQ(app.GetColor(CAppData::kColorCount), 0u);
}

} // namespace
