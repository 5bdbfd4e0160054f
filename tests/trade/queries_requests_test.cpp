// The pure parts of the history query, the password change and the warrant
// exercise: default dates, request texts and the checks.
#include "trade/queries/AccountRequests.h"

#include <gtest/gtest.h>

TEST(HistoryDates, TheDefaultStartIs29CalendarDaysBeforeToday) {
    const struct {
        CalendarDate today;
        const char* start;
    } cases[] = {
        {{2026, 3, 15}, "20260214"}, {{2028, 3, 15}, "20280215"}, {{2026, 9, 15}, "20260817"},
        {{2026, 4, 30}, "20260401"}, {{2026, 3, 1}, "20260131"},  {{2028, 3, 1}, "20280201"},
        {{2026, 1, 10}, "20251212"}, {{2100, 3, 1}, "21000131"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateText(DefaultHistoryStart(c.today)), c.start) << DateText(c.today);
    EXPECT_TRUE(IsDateOrderValid({2026, 3, 1}, {2026, 3, 1}));
    EXPECT_FALSE(IsDateOrderValid({2026, 3, 2}, {2026, 3, 1}));
    EXPECT_FALSE(IsDateOrderValid({2027, 1, 1}, {2026, 12, 31}));
}

TEST(HistoryRequest, TheFirstPageHasAnEmptyCursorAndTheNextCarriesIt) {
    const char* preset = "tc_mfuncno=500&tc_sfuncno=20";
    const char* login = "custid=1&tradesession=T1&operway=i";
    EXPECT_EQ(BuildHistoryRequest(preset, login, "20261101", "20261204", "poststr", ""),
              "tc_mfuncno=500&tc_sfuncno=20&custid=1&tradesession=T1&operway=i&strdate=20261101"
              "&enddate=20261204&request_num=80&poststr=");
    EXPECT_EQ(BuildHistoryRequest(preset, login, "20261101", "20261204", "poststr", "20261103300004"),
              "tc_mfuncno=500&tc_sfuncno=20&custid=1&tradesession=T1&operway=i&strdate=20261101"
              "&enddate=20261204&request_num=80&poststr=20261103300004");
    // Nothing without a login, for dates not of eight digits, or a cursor that would add a parameter.
    EXPECT_EQ(BuildHistoryRequest(preset, "", "20261101", "20261204", "poststr", ""), "");
    EXPECT_EQ(BuildHistoryRequest(preset, login, "2026111", "20261204", "poststr", ""), "");
    EXPECT_EQ(BuildHistoryRequest(preset, login, "20261101", "20261204", "poststr", "1&trdpwd=1"), "");
}

TEST(PasswordChecks, TheFiveChecksComeInTheirOrder) {
    const struct {
        const char16_t *oldPwd, *newPwd, *confirm;
        std::u16string_view message;
        PasswordField field;
    } cases[] = {
        {u"", u"", u"", u"请输入原密码！", PasswordField::Old},
        {u"12a", u"", u"654321", u"请输入新密码和确认密码！", PasswordField::New},
        {u"12a", u"654321", u"654320", u"确认密码与新密码不符！", PasswordField::Confirm},
        {u"12a", u"65432", u"65432", u"输入的旧密码不是数字，请确认！", PasswordField::Old},
        {u"123456", u"65432", u"65432", u"新密码必须为六位数字，请确认！", PasswordField::New},
        {u"123456", u"65432a", u"65432a", u"新密码必须为六位数字，请确认！", PasswordField::New},
        {u"123456", u"654321", u"654321", u"", PasswordField::None},
    };
    for (const auto& c : cases) {
        const PasswordCheck check = CheckPasswords(c.oldPwd, c.newPwd, c.confirm);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.field, c.field);
    }
}

TEST(PasswordRequest, TheLoginIdNeverRunsIntoTheNodesText) {
    const char* login = "custid=1&tradesession=T1&operway=i";
    EXPECT_EQ(BuildPasswordRequest("tc_mfuncno=500&tc_sfuncno=13&", login, "123456", "654321"),
              "tc_mfuncno=500&tc_sfuncno=13&custid=1&tradesession=T1&operway=i&oldpwd=123456&newpwd=654321");
    EXPECT_EQ(BuildPasswordRequest("tc_mfuncno=500&tc_sfuncno=13", login, "123456", "654321"),
              "tc_mfuncno=500&tc_sfuncno=13&custid=1&tradesession=T1&operway=i&oldpwd=123456&newpwd=654321");
    EXPECT_EQ(BuildPasswordRequest("tc_mfuncno=500&tc_sfuncno=13&", "", "123456", "654321"), "");
}

TEST(WarrantRequests, OnlyPlainValuesAndAPositiveWholeQuantityMakeAnExercise) {
    const std::string holder = WarrantHolderParam("1", "A100012345", "000100012345");
    EXPECT_EQ(holder, "market=1&secuid=A100012345&fundid=000100012345");
    EXPECT_EQ(WarrantHolderParam("1", "A1&x=1", "0001"), "");
    EXPECT_EQ(BuildWarrantPrecheck("custid=1&tradesession=T1&operway=i", "582010"),
              "tc_mfuncno=100&tc_sfuncno=28&custid=1&tradesession=T1&operway=i&stkcode=582010&qryflag=1");
    EXPECT_EQ(BuildWarrantPrecheck("custid=1", "58201"), "");
    EXPECT_EQ(BuildWarrantExercise("582010", "7.80", "1000", holder),
              "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=582010&price=7.80&qty=1000&" + holder);
    for (const char* qty : {"0", "-5", "1.5", "", "12a", "000"})
        EXPECT_EQ(BuildWarrantExercise("582010", "7.80", qty, holder), "") << qty;
    EXPECT_EQ(BuildWarrantExercise("582010", "7.80", "100", ""), "");
    EXPECT_EQ(WarrantConfirmText(u"582010", u"华岳CWB1", u"7.80", u"100"),
              u"交易类型：权证行权\n行权代码：582010\n证券名称：华岳CWB1\n行权价格：7.80\n行权数量：100\n");
}

TEST(WarrantRequests, AnExercisePriceIsDigitsWithAtMostOnePoint) {
    const std::string holder = WarrantHolderParam("1", "A100012345", "000100012345");
    for (const char* price : {"1.2.3", ".", "7..8", "-7.80", "7,80", "12345678901234567"})
        EXPECT_EQ(BuildWarrantExercise("582010", price, "1000", holder), "") << price;
    for (const char* price : {"7", "7.", ".8", "7.80"})
        EXPECT_NE(BuildWarrantExercise("582010", price, "1000", holder), "") << price;
}
