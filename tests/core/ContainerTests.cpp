// Growable arrays, byte buffers and the name/value lists of configuration groups.
#include "core/CArrayT.h"
#include "core/CByteBuffer.h"
#include "core/CChoiceItem.h"
#include "core/CNameValueList.h"
#include "core/CUIntArray.h"

#include <gtest/gtest.h>

TEST(CArrayT, AppendToAFullArrayGrowsTheCapacityToTwiceTheOldPlusTheRequest) {
    CUIntArray a(2);
    uint32_t items[] = {10, 20, 30};
    a.Append(items, 2);
    EXPECT_EQ(a.GetCapacity(), 2);
    a.Append(items, 3);
    EXPECT_EQ(a.GetCapacity(), 7);
    a.Append(items, 1);
    EXPECT_EQ(a.GetCapacity(), 7);
}

TEST(CArrayT, AppendingItsOwnItemsWhileGrowingCopiesThemFirst) {
    CArrayT<CChoiceItem> items(1);
    items.Append(CChoiceItem{CWString(u"深A股东"), CAString("0"), true});
    items.Append(items.GetAt(0));  // full: the storage moves under the reference
    ASSERT_EQ(items.GetCount(), 2);
    EXPECT_EQ(items.GetAt(1).text, u"深A股东");
    CUIntArray values(2);
    uint32_t v[] = {7, 8};
    values.Append(v, 2);
    values.Append(values.GetData(), values.GetCount());
    EXPECT_EQ(values.GetCount(), 4);
    EXPECT_EQ(values.GetAt(3), 8u);
}

TEST(CArrayT, GetAtOutsideTheItemsYieldsTheLastItem) {
    CUIntArray a(1);
    uint32_t values[] = {10, 20, 30};
    a.Append(values, 3);
    EXPECT_EQ(a.GetAt(0), 10u);
    EXPECT_EQ(a.GetAt(3), 30u);
    EXPECT_EQ(a.GetAt(-1), 30u);
    EXPECT_EQ(CUIntArray().GetAt(0), 0u);
}

TEST(CByteBuffer, AppendsBytesAndIgnoresNull) {
    CByteBuffer b;
    b.Append("TC_MFUNCNO=100&", 15);
    b.Append(nullptr, 4);
    b.Append(std::string_view("TC_SFUNCNO=1"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.GetData()), b.GetSize()), "TC_MFUNCNO=100&TC_SFUNCNO=1");
}

TEST(CNameValueList, SplitsEntriesAtHashAndNamesAtTheFirstCaretAndFindsIgnoringCase) {
    CNameValueList list;
    EXPECT_EQ(list.Parse(u"1^深圳#2^上海#bad#3^a^b#^empty#MACD^指数平滑#kdj^随机指标"), 6);
    EXPECT_EQ(std::u16string(list.GetName(0)), u"1");
    EXPECT_EQ(std::u16string(list.GetValue(1)), u"上海");
    EXPECT_EQ(std::u16string(list.GetValue(2)), u"a^b");
    EXPECT_EQ(std::u16string(list.GetName(3)), u"");
    EXPECT_EQ(list.GetName(6), nullptr);
    EXPECT_EQ(list.GetValue(-1), nullptr);
    EXPECT_EQ(std::u16string(list.FindValue(u"macd")), u"指数平滑");
    EXPECT_EQ(std::u16string(list.FindValue(u"KDJ")), u"随机指标");  // last entry without "#"
    EXPECT_EQ(list.FindValue(u"rsi"), nullptr);
    EXPECT_EQ(list.FindValue(u""), nullptr);
    EXPECT_EQ(list.FindValue(nullptr), nullptr);
    EXPECT_EQ(list.Parse(nullptr), 0);
    EXPECT_EQ(list.GetCount(), 0);
}
