// Record sets: the binary form read back field by field, the cursor rules,
// editing with its return codes, and refusal of damaged bodies.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// One set holding every type, two rows, and a second set.
std::vector<uint8_t> EveryTypeBody() {
    CDataSetWriter w;
    w.AddSet("hq.info");
    w.AddColumn(DataSetType::Int8, "i8", u"八位");
    w.AddColumn(DataSetType::Int16, "i16");
    w.AddColumn(DataSetType::Int32, "i32");
    w.AddColumn(DataSetType::Number, "zjcj", u"最新价");
    w.AddColumn(DataSetType::Double, "dbl");
    w.AddColumn(DataSetType::WideText, "name", u"名称");
    w.AddColumn(DataSetType::AnsiText, "~market");
    w.AddColumn(DataSetType::Bytes, "raw");
    w.AddRow();
    w.SetInt(0, -5);
    w.SetInt(1, -300);
    w.SetInt(2, 70000);
    w.SetNumber(3, CQuoteNumber(12.34, 2));
    w.SetDouble(4, 1.5);
    w.SetText(5, u"平安银行");
    w.SetText(6, u"深A");
    const uint8_t raw[] = {0x01, 0xAB};
    w.SetBytes(7, raw, 2);
    w.AddRow();
    w.SetInt(0, 127);
    w.SetNumber(3, CQuoteNumber(5678.9, 1));
    w.SetDouble(4, -2.0);
    w.SetAnsiText(6, "12abc");
    w.AddSet("hq.zx");
    w.AddColumn(DataSetType::Int32, "n");
    return w.Serialize();
}

CDataSetList Parse(const std::vector<uint8_t>& body) {
    return CDataSetList(body.data(), static_cast<int>(body.size()));
}

CDataSet ThreeRows() {
    CDataSet set("t");
    set.AddColumn(DataSetType::Int32, "v");
    for (int i = 0; i < 3; ++i) {
        int32_t v = i * 10;
        set.AddRow(i);
        set.SetField(0, &v, 4);
    }
    set.Move(-10);
    return set;
}

} // namespace

TEST(CDataSetList, EveryTypeReadsBackAsItWasWritten) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    ASSERT_FALSE(list.IsError());
    ASSERT_EQ(list.GetCount(), 2);
    CDataSet* set = *list.GetAt(0);
    ASSERT_NE(set, nullptr);
    EXPECT_STREQ(set->GetTag(), "hq.info");
    EXPECT_EQ(set->GetColumnCount(), 8);
    EXPECT_EQ(set->GetRowCount(), 2);
    EXPECT_EQ(set->GetColumn(0)->GetLabel(), u"八位");
    EXPECT_STREQ(set->GetColumn(3)->GetName(), "zjcj");

    ASSERT_TRUE(set->MoveNext());
    EXPECT_EQ(set->GetFieldText(0), u"-5");
    EXPECT_EQ(set->GetFieldText(1), u"-300");
    EXPECT_EQ(set->GetFieldText(2), u"70000");
    EXPECT_EQ(set->GetFieldText(3), u"12.34亿");
    EXPECT_EQ(set->GetFieldText(4), u"1.5");
    EXPECT_EQ(set->GetFieldText(5), u"平安银行");
    EXPECT_EQ(set->GetFieldText(6), u"深A");
    EXPECT_EQ(set->GetFieldText(7), u"01AB");
    EXPECT_EQ(set->GetFieldInt16(1), -300);
    EXPECT_EQ(set->GetFieldInt32(2), 70000);
    EXPECT_EQ(set->GetFieldInt16ByName("I16"), -300);
    CQuoteNumber n;
    EXPECT_EQ(set->GetFieldNumberByName(n, "zjcj"), 0);
    EXPECT_EQ(n.GetCode(), 2);
    EXPECT_DOUBLE_EQ(n.GetValue(), 12.34);
    EXPECT_EQ(*set->GetFieldTextByName("~MARKET"), u"深A");
    EXPECT_FALSE(set->GetFieldTextByName("absent").has_value());

    int length = 0, type = 0;
    const uint8_t* p = set->GetFieldPtr(5, &length, &type);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(length, 8);
    EXPECT_EQ(type, static_cast<int>(DataSetType::WideText));
    EXPECT_EQ(ReadLE32(set->GetFieldData(2)), 70000);
    EXPECT_EQ(ReadLE32(set->GetFieldDataByName("i32")), 70000);

    ASSERT_TRUE(set->MoveNext());
    EXPECT_EQ(set->GetFieldText(0), u"127");
    EXPECT_EQ(set->GetFieldText(3), u"5678.9万");
    EXPECT_EQ(set->GetFieldText(4), u"-2");
    EXPECT_EQ(set->GetFieldText(5), u"");  // never set: empty
    EXPECT_EQ(set->GetFieldText(7), u"");
    EXPECT_FALSE(set->MoveNext());
    EXPECT_STREQ((*list.GetAt(1))->GetTag(), "hq.zx");
}

TEST(CDataSet, GetFieldIntConvertsWhateverTheType) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    CDataSet* set = *list.GetAt(0);
    set->MoveFirst();
    EXPECT_EQ(set->GetFieldInt(0), -5);
    EXPECT_EQ(set->GetFieldInt(3), 12);
    EXPECT_EQ(set->GetFieldInt(4), 1);
    EXPECT_EQ(set->GetFieldInt(5), 0);
    set->MoveLast();
    EXPECT_EQ(set->GetFieldInt(3), 5678);
    EXPECT_EQ(set->GetFieldInt(4), -2);
    EXPECT_EQ(set->GetFieldInt(6), 12);

    CDataSetWriter w;
    w.AddSet("t");
    w.AddColumn(DataSetType::Double, "d");
    w.AddColumn(DataSetType::WideText, "w");
    w.AddRow();
    w.SetDouble(0, 1e30);
    w.SetText(1, u" -42元");
    std::vector<uint8_t> b2 = w.Serialize();
    CDataSetList l2 = Parse(b2);
    (*l2.GetAt(0))->MoveFirst();
    EXPECT_EQ((*l2.GetAt(0))->GetFieldInt(0), 2147483647);  // saturates instead of overflowing
    EXPECT_EQ((*l2.GetAt(0))->GetFieldInt(1), -42);
}

TEST(CDataSet, FieldGettersGiveEmptyValuesOffTheRowsOrColumns) {
    CDataSet set = ThreeRows();
    EXPECT_EQ(set.GetCursor(), -1);
    EXPECT_EQ(set.GetFieldText(0), u"");
    EXPECT_EQ(set.GetFieldInt32(0), 0);
    EXPECT_EQ(set.GetFieldPtr(0, nullptr, nullptr), nullptr);
    CQuoteNumber n(5.0, 1);
    EXPECT_EQ(set.GetFieldNumber(n, 0), 2);
    EXPECT_EQ(n.GetValue(), 0.0);
    set.MoveFirst();
    EXPECT_EQ(set.GetFieldNumber(n, 7), 3);
    EXPECT_EQ(set.GetFieldText(7), u"");
    EXPECT_EQ(set.GetFieldInt16(-1), 0);
    EXPECT_EQ(set.GetColumn(1), nullptr);
    EXPECT_EQ(set.GetFieldDataByName("nope"), nullptr);
}

TEST(CDataSet, GettersOnAColumnOfAnotherKindGiveTheEmptyValue) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    CDataSet* set = *list.GetAt(0);
    set->MoveFirst();
    CQuoteNumber n(5.0, 1);
    EXPECT_EQ(set->GetFieldNumber(n, 5), 3);  // a text is no packed number
    EXPECT_EQ(n.GetValue(), 0.0);
    EXPECT_EQ(set->GetFieldNumber(n, 2), 0);  // an int32 reads as packed
    EXPECT_EQ(n.GetValue(), 17500.0);         // 70000 = 17500 << 2, code 0
    EXPECT_EQ(set->GetFieldInt32(4), 0);      // a double is no integer column
    EXPECT_EQ(set->GetFieldInt16(5), 0);
    EXPECT_EQ(set->GetFieldInt(7), 0);        // nor is a byte array
    EXPECT_EQ(set->GetFieldInt32(3), CQuoteNumber(12.34, 2).ToPacked());  // a packed field gives its raw int32
    EXPECT_EQ(set->GetFieldNumberByName(n, "absent"), 3);
    EXPECT_EQ(set->GetFieldInt16ByName("absent"), 0);
}

TEST(CDataSet, AMissingPackedValueReadsAsTheMarker) {
    CDataSet set("t");
    set.AddColumn(DataSetType::Number, "zjcj");
    set.AddRow(0);
    int32_t missing = CQuoteNumber::kMissingPacked;
    ASSERT_EQ(set.SetField(0, &missing, 4), 0);
    CQuoteNumber n;
    EXPECT_EQ(set.GetFieldNumber(n, 0), 0);
    EXPECT_TRUE(n.IsInvalid());
}

TEST(CDataSet, CursorStartsBeforeTheFirstRowAndStopsAtTheEnds) {
    CDataSet set = ThreeRows();
    int seen = 0;
    while (set.MoveNext()) EXPECT_EQ(set.GetFieldInt32(0), 10 * seen++);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(set.GetCursor(), 3);
    EXPECT_TRUE(set.MovePrev());
    EXPECT_EQ(set.GetFieldInt32(0), 20);
    EXPECT_TRUE(set.MoveFirst());
    EXPECT_FALSE(set.MovePrev());
    EXPECT_EQ(set.GetCursor(), -1);
    EXPECT_FALSE(set.Move(-5));
    EXPECT_EQ(set.GetCursor(), -1);
    EXPECT_TRUE(set.Move(2));
    EXPECT_EQ(set.GetFieldInt32(0), 10);
    EXPECT_FALSE(set.Move(1000));
    EXPECT_EQ(set.GetCursor(), 3);
    EXPECT_TRUE(set.MoveLast());
    EXPECT_EQ(set.GetFieldInt32(0), 20);

    CDataSet empty("e");
    EXPECT_FALSE(empty.MoveFirst());
    EXPECT_FALSE(empty.MoveLast());
    EXPECT_FALSE(empty.MoveNext());
}

TEST(CDataSet, AddRowInsertsBeforeTheIndexOrAppendsAndMovesTheCursor) {
    CDataSet set = ThreeRows();
    EXPECT_EQ(set.AddRow(1), 1);
    EXPECT_EQ(set.GetCursor(), 1);
    EXPECT_EQ(set.GetFieldInt32(0), 0);  // zero-filled
    EXPECT_EQ(set.AddRow(99), 4);
    EXPECT_EQ(set.AddRow(-3), 5);
    EXPECT_EQ(set.GetRowCount(), 6);
    set.MoveFirst();
    std::vector<int> values;
    do values.push_back(set.GetFieldInt32(0));
    while (set.MoveNext());
    EXPECT_EQ(values, (std::vector<int>{0, 0, 10, 20, 0, 0}));
    CDataSet noColumns("x");
    EXPECT_EQ(noColumns.AddRow(0), -1);
}

TEST(CDataSet, SetFieldReturnsItsCodes) {
    CDataSet set("t");
    set.AddColumn(DataSetType::Int16, "a");
    set.AddColumn(DataSetType::WideText, "w");
    int16_t v = 7;
    EXPECT_EQ(set.SetField(0, &v, 2), 2);  // no row yet
    set.AddRow(0);
    EXPECT_EQ(set.SetField(0, &v, 2), 0);
    EXPECT_EQ(set.SetField(0, &v, 4), 1);  // fixed size must match
    EXPECT_EQ(set.SetField(0, nullptr, 2), 1);
    EXPECT_EQ(set.SetField(2, &v, 2), 3);
    EXPECT_EQ(set.SetField(-2, &v, 2), 3);
    EXPECT_EQ(set.SetField(0, &v, 2, 1), 2);
    EXPECT_EQ(set.SetField(1, u"abc", 5), 1);  // odd wide length
    EXPECT_EQ(set.SetField(1, u"abc", 6), 0);
    EXPECT_EQ(set.GetFieldText(1), u"abc");
    EXPECT_EQ(set.SetField(1, u"长文本更长", 10), 0);  // replaced text lives in the variable area too
    EXPECT_EQ(set.GetFieldText(1), u"长文本更长");
    EXPECT_EQ(set.AddColumn(DataSetType::Int8, "late"), -1);  // rows exist

    // Copying one field of the set into another must not read moved memory.
    int length = 0;
    const uint8_t* p = set.GetFieldPtr(1, &length, nullptr);
    set.AddRow(1);
    EXPECT_EQ(set.SetField(1, p, length, 0), 0);
    set.MoveFirst();
    EXPECT_EQ(set.GetFieldText(1), u"长文本更长");
}

TEST(CDataSet, DeleteRowLeavesTheCursorOnTheNewLastRow) {
    CDataSet set = ThreeRows();
    EXPECT_EQ(set.DeleteRow(), 2);  // cursor before the rows
    EXPECT_EQ(set.DeleteRow(0), 0);
    EXPECT_EQ(set.GetCursor(), 1);
    EXPECT_EQ(set.GetFieldInt32(0), 20);
    set.MoveFirst();
    EXPECT_EQ(set.DeleteRow(), 0);
    EXPECT_EQ(set.GetRowCount(), 1);
    EXPECT_EQ(set.GetFieldInt32(0), 20);
    EXPECT_EQ(set.DeleteRow(5), 2);
    EXPECT_EQ(set.DeleteRow(0), 0);
    EXPECT_EQ(set.GetCursor(), -1);
    EXPECT_EQ(set.GetRowCount(), 0);
}

TEST(CDataSet, EditedSetsSerialiseWithACompactedVariableArea) {
    CDataSet set("edit");
    set.AddColumn(DataSetType::AnsiText, "a");
    set.AddRow(0);
    for (int i = 0; i < 50; ++i) set.SetField(0, "0123456789", 10);
    std::vector<const CDataSet*> sets{&set};
    std::vector<uint8_t> body = CDataSetList::Serialize(sets.data(), sets.size());
    EXPECT_LT(body.size(), 100u);
    CDataSetList list = Parse(body);
    ASSERT_EQ(list.GetCount(), 1);
    (*list.GetAt(0))->MoveFirst();
    EXPECT_EQ((*list.GetAt(0))->GetFieldText(0), u"0123456789");
}

TEST(CDataSetList, ReceivedRowsSharingVariableBytesWriteBackNoLongerThanRead) {
    // 1000 rows that all refer to the same 4000 bytes: compacting them would
    // write 4 MB from a 12 kB body.
    CDataSetWriter w;
    w.AddSet("config");
    w.AddColumn(DataSetType::Bytes, "b");
    w.AddRow();
    std::vector<uint8_t> shared(4000, 0x5A);
    w.SetBytes(0, shared.data(), shared.size());
    for (int i = 1; i < 1000; ++i) w.AddRow();
    std::vector<uint8_t> body = w.Serialize();
    const size_t rows = 4 + 32 + 7;  // count, set header, descriptor (1+1+2+1+2)
    for (int i = 1; i < 1000; ++i) std::memcpy(&body[rows + 8 * i], &body[rows], 8);
    CDataSetList list = Parse(body);
    ASSERT_FALSE(list.IsError());

    const CDataSet* sets[] = {*list.GetAt(0)};
    std::vector<uint8_t> written = CDataSetList::Serialize(sets, 1);
    EXPECT_LE(written.size(), body.size());
    CDataSetList reread = Parse(written);
    ASSERT_EQ(reread.GetCount(), 1);
    CDataSet* set = *reread.GetAt(0);
    int rowCount = 0;
    while (set->MoveNext()) {
        int length = 0;
        const uint8_t* p = set->GetFieldPtr(0, &length, nullptr);
        ASSERT_EQ(length, 4000);
        EXPECT_EQ(std::memcmp(p, shared.data(), shared.size()), 0);
        ++rowCount;
    }
    EXPECT_EQ(rowCount, 1000);
}

TEST(CDataSetList, EmptyNullOrUnreadableBodiesCountAsAnErrorWithNoSet) {
    CDataSetList none(nullptr, 10);
    EXPECT_TRUE(none.IsError());
    EXPECT_EQ(none.GetCount(), 0);
    EXPECT_EQ(none.GetErrorText(), u"未取到错误信息");
    const uint8_t zero[4] = {};
    EXPECT_TRUE(CDataSetList(zero, 0).IsError());
    EXPECT_TRUE(CDataSetList(zero, -1).IsError());
    CDataSetList noSets(zero, 4);  // a body that holds no set is still a body
    EXPECT_FALSE(noSets.IsError());
    EXPECT_EQ(noSets.GetCount(), 0);
}

TEST(CDataSetList, EveryTruncationOfAValidBodyIsRefused) {
    std::vector<uint8_t> body = EveryTypeBody();
    for (size_t n = 0; n < body.size(); ++n) {
        // An exact-size copy lets AddressSanitizer see any read past the end.
        std::vector<uint8_t> prefix(body.begin(), body.begin() + n);
        CDataSetList list(prefix.data(), static_cast<int>(n));
        EXPECT_TRUE(list.IsError()) << n;
        EXPECT_EQ(list.GetCount(), 0) << n;
    }
    std::vector<uint8_t> longer = body;
    longer.push_back(0);
    EXPECT_TRUE(Parse(longer).IsError());
}

TEST(CDataSetList, CorruptSizeFieldsAreRefusedWithoutReadingOutOfBounds) {
    std::vector<uint8_t> body = EveryTypeBody();
    // Offsets of the size fields of the first set: set count, column count,
    // row count, row width, variable-area size, then the first descriptor.
    const size_t fields[] = {0, 20, 24, 28, 32, 36, 37, 38};
    for (size_t at : fields) {
        for (uint32_t v : {0u, 1u, 2u, 7u, 0xFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            std::vector<uint8_t> bad = body;
            for (int i = 0; i < 4 && at + i < bad.size(); ++i) bad[at + i] = static_cast<uint8_t>(v >> (8 * i));
            CDataSetList list = Parse(bad);
            if (!list.IsError()) {
                // Accepted only when it still reads consistently: walk every field.
                for (int s = 0; s < list.GetCount(); ++s) {
                    CDataSet* set = *list.GetAt(s);
                    while (set->MoveNext()) {
                        for (int c = 0; c < set->GetColumnCount(); ++c) set->GetFieldText(c);
                    }
                }
            }
        }
    }
    // Flipping any single byte is refused or read safely.
    for (size_t i = 0; i < body.size(); ++i) {
        std::vector<uint8_t> bad = body;
        bad[i] ^= 0xA5;
        CDataSetList list = Parse(bad);
        for (int s = 0; s < list.GetCount(); ++s) {
            CDataSet* set = *list.GetAt(s);
            while (set->MoveNext()) {
                for (int c = 0; c < set->GetColumnCount(); ++c) set->GetFieldText(c);
            }
        }
    }
}

TEST(CDataSetList, ReferencesOutsideTheVariableAreaAreRefused) {
    CDataSetWriter w;
    w.AddSet("t");
    w.AddColumn(DataSetType::WideText, "w");
    w.AddRow();
    w.SetText(0, u"ab");
    std::vector<uint8_t> body = w.Serialize();
    // Layout: count(4) header(32) descriptor(1+1+2+1+2) row(8) var(4).
    size_t row = 4 + 32 + 7;
    ASSERT_EQ(body.size(), row + 8 + 4);
    std::vector<uint8_t> bad = body;
    bad[row] = 1;  // offset 1 + length 4 > 4
    EXPECT_TRUE(Parse(bad).IsError());
    bad = body;
    bad[row + 4] = 3;  // odd wide length
    EXPECT_TRUE(Parse(bad).IsError());
    bad = body;
    bad[row + 3] = 0xFF;
    bad[row + 7] = 0xFF;  // offset + length overflows 32 bits
    EXPECT_TRUE(Parse(bad).IsError());
    EXPECT_FALSE(Parse(body).IsError());
}

TEST(CDataSetList, ErrorSetGivesItsTextOrItsTag) {
    std::vector<uint8_t> body = CDataSetWriter::ErrorBody(u"错误(2)：无法连接到服务器");
    CDataSetList list = Parse(body);
    EXPECT_TRUE(list.IsError());
    EXPECT_EQ(list.GetErrorIndex(), 0);
    EXPECT_EQ(list.GetErrorText(), u"错误(2)：无法连接到服务器");

    CDataSetWriter w;
    w.AddSet("hq.info");
    w.AddSet("ERROR");
    std::vector<uint8_t> b2 = w.Serialize();
    CDataSetList tagOnly = Parse(b2);
    EXPECT_EQ(tagOnly.GetErrorIndex(), 1);
    EXPECT_EQ(tagOnly.GetErrorText(), u"ERROR");

    std::vector<uint8_t> b3 = EveryTypeBody();
    CDataSetList ok = Parse(b3);
    EXPECT_FALSE(ok.IsError());
    EXPECT_EQ(ok.GetErrorText(), u"未取到错误信息");
}

TEST(CDataSetList, GetAtOutOfRangeGivesANullSlot) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    CDataSet** slot = list.GetAt(2);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(*slot, nullptr);
    *slot = reinterpret_cast<CDataSet*>(0x1);  // a careless caller cannot poison the next lookup
    EXPECT_EQ(*list.GetAt(-1), nullptr);
}

TEST(CDataSetList, OwnershipMovesBetweenListsAndOutOfThem) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    std::unique_ptr<CDataSet> header = list.Detach(0);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(*list.GetAt(0), nullptr);  // indices of the others stay
    EXPECT_STREQ((*list.GetAt(1))->GetTag(), "hq.zx");
    EXPECT_EQ(list.Detach(5), nullptr);

    CDataSetList other;
    other.InsertAt(new CDataSet("old"), 0);
    list.MoveTo(other);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(other.GetCount(), 2);
    other.InsertAt(header.release(), 0);
    other.InsertAt(new CDataSet("end"), 99);
    EXPECT_STREQ((*other.GetAt(0))->GetTag(), "hq.info");
    EXPECT_STREQ((*other.GetAt(3))->GetTag(), "end");

    std::vector<std::unique_ptr<CDataSet>> newOwner;
    for (int i = 0; i < other.GetCount(); ++i) newOwner.emplace_back(*other.GetAt(i));
    other.Reset();  // the sets now belong to newOwner
    EXPECT_EQ(other.GetCount(), 0);
    EXPECT_STREQ(newOwner[3]->GetTag(), "end");
}

TEST(CDataSet, TagIsCutAtSixteenBytesAndErrorIgnoresCase) {
    CDataSet set("abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(set.GetTag(), "abcdefghijklmnop");
    std::vector<const CDataSet*> sets{&set};
    std::vector<uint8_t> body = CDataSetList::Serialize(sets.data(), 1);
    CDataSetList list = Parse(body);
    EXPECT_STREQ((*list.GetAt(0))->GetTag(), "abcdefghijklmnop");
    EXPECT_TRUE(CDataSet("Error").IsError());
    EXPECT_FALSE(CDataSet("errors").IsError());
}
