// Record sets: the binary form read back field by field, the cursor rules,
// editing with its return codes, and refusal of damaged bodies.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "core/StrUtil.h"

#include <climits>
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
    w.SetInt(2, CQuoteNumber::kMissingPacked);
    w.SetNumber(3, CQuoteNumber(5678.9, 1));
    w.SetDouble(4, 1e30);
    w.SetText(5, u" -42元");
    w.SetAnsiText(6, "12abc");
    w.AddSet("hq.zx");
    w.AddColumn(DataSetType::Int32, "n");
    return w.Serialize();
}

CDataSetList Parse(const std::vector<uint8_t>& body) {
    return CDataSetList(body.data(), static_cast<int>(body.size()));
}

// Refused as a whole: no set, and an error.
void ExpectRefused(const std::vector<uint8_t>& body, const std::string& what) {
    CDataSetList list = Parse(body);
    EXPECT_TRUE(list.IsError()) << what;
    EXPECT_EQ(list.GetCount(), 0) << what;
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

TEST(CDataSetList, EveryTypeReadsBackAsItWasWrittenThroughEveryGetter) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    ASSERT_FALSE(list.IsError());
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_STREQ((*list.GetAt(1))->GetTag(), "hq.zx");
    CDataSet* set = *list.GetAt(0);
    EXPECT_STREQ(set->GetTag(), "hq.info");
    ASSERT_EQ(set->GetColumnCount(), 8);
    ASSERT_EQ(set->GetRowCount(), 2);
    EXPECT_EQ(set->GetColumn(0)->GetLabel(), u"八位");
    EXPECT_STREQ(set->GetColumn(3)->GetName(), "zjcj");

    // Per column: the text and GetFieldInt of both rows; then, on row 0, the
    // integer getters and GetFieldNumber (an int32 reads as packed).
    struct Field {
        const char16_t* text[2];
        int asInt[2];
        int16_t int16;
        int32_t int32;
        int numberCode;
        double number;
    };
    const int32_t packed = CQuoteNumber(12.34, 2).ToPacked();
    const Field fields[] = {
        {{u"-5", u"127"}, {-5, 127}, -5, -5, 3, 0},
        {{u"-300", u"0"}, {-300, 0}, -300, -300, 3, 0},
        {{u"70000", u"999999999"}, {70000, 999999999}, static_cast<int16_t>(70000), 70000, 0, 17500},
        {{u"12.34亿", u"5678.9万"}, {12, 5678}, static_cast<int16_t>(packed), packed, 0, 12.34},
        {{u"1.5", u"1000000000000000019884624838656"}, {1, INT_MAX}, 0, 0, 3, 0},  // saturates
        {{u"平安银行", u" -42元"}, {0, -42}, 0, 0, 3, 0},
        {{u"深A", u"12abc"}, {0, 12}, 0, 0, 3, 0},
        {{u"01AB", u""}, {0, 0}, 0, 0, 3, 0},
    };
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(set->MoveNext());
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(set->GetFieldText(c), fields[c].text[row]) << "column " << c << " row " << row;
            EXPECT_EQ(set->GetFieldInt(c), fields[c].asInt[row]) << "column " << c << " row " << row;
            if (row) continue;
            EXPECT_EQ(set->GetFieldInt16(c), fields[c].int16) << c;
            EXPECT_EQ(set->GetFieldInt32(c), fields[c].int32) << c;
            CQuoteNumber n(5.0, 1);
            EXPECT_EQ(set->GetFieldNumber(n, c), fields[c].numberCode) << c;
            EXPECT_DOUBLE_EQ(n.GetValue(), fields[c].number) << c;
        }
    }
    EXPECT_FALSE(set->MoveNext());
    set->MoveLast();
    CQuoteNumber n;
    EXPECT_EQ(set->GetFieldNumber(n, 2), 0);
    EXPECT_TRUE(n.IsInvalid()) << "the missing marker";

    set->MoveFirst();
    EXPECT_EQ(set->GetFieldInt16ByName("I16"), -300);  // names ignore case
    EXPECT_EQ(*set->GetFieldTextByName("~MARKET"), u"深A");
    EXPECT_EQ(set->GetFieldNumberByName(n, "zjcj"), 0);
    EXPECT_EQ(n.GetCode(), 2);
    EXPECT_FALSE(set->GetFieldTextByName("absent").has_value());
    EXPECT_EQ(set->GetFieldNumberByName(n, "absent"), 3);
    int length = 0, type = 0;
    ASSERT_NE(set->GetFieldPtr(5, &length, &type), nullptr);
    EXPECT_EQ(length, 8);
    EXPECT_EQ(type, static_cast<int>(DataSetType::WideText));
    EXPECT_EQ(ReadLE32(set->GetFieldDataByName("i32")), 70000);
}

TEST(CDataSet, FieldGettersGiveEmptyValuesOffTheRowsOrColumns) {
    CDataSet set = ThreeRows();
    EXPECT_EQ(set.GetFieldText(0), u"");  // before the first row
    EXPECT_EQ(set.GetFieldPtr(0, nullptr, nullptr), nullptr);
    CQuoteNumber n(5.0, 1);
    EXPECT_EQ(set.GetFieldNumber(n, 0), 2);
    EXPECT_EQ(n.GetValue(), 0.0);
    set.MoveFirst();
    EXPECT_EQ(set.GetFieldNumber(n, 7), 3);
    EXPECT_EQ(set.GetFieldText(7), u"");
    EXPECT_EQ(set.GetFieldInt16(-1), 0);
    EXPECT_EQ(set.GetColumn(1), nullptr);
}

TEST(CDataSet, CursorStartsBeforeTheFirstRowAndStopsAtTheEnds) {
    CDataSet set = ThreeRows();
    EXPECT_EQ(set.GetCursor(), -1);
    struct Step {
        char op;  // n(ext), p(rev), f(irst), l(ast), m(ove by n)
        int n;
        bool onRow;
        int cursor;
    };
    const Step steps[] = {{'n', 0, true, 0},   {'n', 0, true, 1},     {'n', 0, true, 2},  {'n', 0, false, 3},
                          {'p', 0, true, 2},   {'f', 0, true, 0},     {'p', 0, false, -1}, {'m', -5, false, -1},
                          {'m', 2, true, 1},   {'m', 1000, false, 3}, {'l', 0, true, 2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(1, s.op) + std::to_string(s.n));
        bool onRow = s.op == 'n' ? set.MoveNext() : s.op == 'p' ? set.MovePrev() : s.op == 'f' ? set.MoveFirst()
                   : s.op == 'l' ? set.MoveLast() : set.Move(s.n);
        EXPECT_EQ(onRow, s.onRow);
        EXPECT_EQ(set.GetCursor(), s.cursor);
        if (onRow) {
            EXPECT_EQ(set.GetFieldInt32(0), 10 * s.cursor);
        }
    }
    CDataSet empty("e");
    EXPECT_FALSE(empty.MoveFirst());
    EXPECT_FALSE(empty.MoveLast());
    EXPECT_FALSE(empty.MoveNext());
}

TEST(CDataSet, AddAndDeleteRowMoveTheCursorToTheNewOrTheLastRow) {
    CDataSet set = ThreeRows();
    EXPECT_EQ(set.AddRow(1), 1);  // before row 1
    EXPECT_EQ(set.GetCursor(), 1);
    EXPECT_EQ(set.AddRow(99), 4);  // out of range: appended
    EXPECT_EQ(set.AddRow(-3), 5);
    std::vector<int> values;
    for (set.Move(-10); set.MoveNext();) values.push_back(set.GetFieldInt32(0));
    EXPECT_EQ(values, (std::vector<int>{0, 0, 10, 20, 0, 0}));  // new rows zero-filled
    EXPECT_EQ(CDataSet("x").AddRow(0), -1);                     // no columns

    set = ThreeRows();
    EXPECT_EQ(set.DeleteRow(), 2);  // cursor before the rows
    EXPECT_EQ(set.DeleteRow(0), 0);
    EXPECT_EQ(set.GetCursor(), 1);
    EXPECT_EQ(set.GetFieldInt32(0), 20);
    set.MoveFirst();
    EXPECT_EQ(set.DeleteRow(), 0);
    EXPECT_EQ(set.GetFieldInt32(0), 20);
    EXPECT_EQ(set.DeleteRow(5), 2);
    EXPECT_EQ(set.DeleteRow(0), 0);
    EXPECT_EQ(set.GetCursor(), -1);
    EXPECT_EQ(set.GetRowCount(), 0);
}

TEST(CDataSet, SetFieldReturnsItsCodesAndCopiesFromItsOwnFields) {
    CDataSet set("t");
    set.AddColumn(DataSetType::Int16, "a");
    set.AddColumn(DataSetType::WideText, "w");
    int16_t v = 7;
    EXPECT_EQ(set.SetField(0, &v, 2), 2);  // no row yet
    set.AddRow(0);
    struct Case {
        int column;
        const void* data;
        int length, row, code;
    };
    const Case cases[] = {
        {0, &v, 2, -1, 0},     {0, &v, 4, -1, 1},      {0, nullptr, 2, -1, 1}, {2, &v, 2, -1, 3},
        {-2, &v, 2, -1, 3},    {0, &v, 2, 1, 2},       {1, u"abc", 5, -1, 1},  {1, u"abc", 6, -1, 0},
        {1, u"长文本更长", 10, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(set.SetField(c.column, c.data, c.length, c.row), c.code) << c.column << "/" << c.length;
    EXPECT_EQ(set.GetFieldText(1), u"长文本更长");  // the latest text replaces the earlier
    EXPECT_EQ(set.AddColumn(DataSetType::Int8, "late"), -1);  // rows exist

    // A field of the set copied into another row must not be read from moved memory.
    int length = 0;
    const uint8_t* p = set.GetFieldPtr(1, &length, nullptr);
    set.AddRow(1);
    EXPECT_EQ(set.SetField(1, p, length, 0), 0);
    set.MoveFirst();
    EXPECT_EQ(set.GetFieldText(1), u"长文本更长");
}

TEST(CDataSetList, EditedSetsWriteACompactedAreaAndSharedBytesNoLongerThanRead) {
    CDataSet edited("edit");
    edited.AddColumn(DataSetType::AnsiText, "a");
    edited.AddRow(0);
    for (int i = 0; i < 50; ++i) edited.SetField(0, "0123456789", 10);
    const CDataSet* one[] = {&edited};
    std::vector<uint8_t> body = CDataSetList::Serialize(one, 1);
    EXPECT_LT(body.size(), 100u);  // 490 replaced bytes are gone
    CDataSetList compact = Parse(body);
    ASSERT_EQ(compact.GetCount(), 1);
    (*compact.GetAt(0))->MoveFirst();
    EXPECT_EQ((*compact.GetAt(0))->GetFieldText(0), u"0123456789");

    // 1000 received rows that all refer to the same 4000 bytes: compacting
    // them would write 4 MB from a 12 kB body.
    CDataSetWriter w;
    w.AddSet("config");
    w.AddColumn(DataSetType::Bytes, "b");
    w.AddRow();
    std::vector<uint8_t> shared(4000, 0x5A);
    w.SetBytes(0, shared.data(), shared.size());
    for (int i = 1; i < 1000; ++i) w.AddRow();
    body = w.Serialize();
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
    for (; set->MoveNext(); ++rowCount) {
        int length = 0;
        const uint8_t* p = set->GetFieldPtr(0, &length, nullptr);
        ASSERT_EQ(length, 4000);
        ASSERT_EQ(std::memcmp(p, shared.data(), shared.size()), 0);
    }
    EXPECT_EQ(rowCount, 1000);
}

TEST(CDataSetList, DamagedBodiesAreRefusedAsAWholeWithoutReadingOutOfBounds) {
    CDataSetList none(nullptr, 10);
    EXPECT_TRUE(none.IsError());
    EXPECT_EQ(none.GetErrorText(), u"未取到错误信息");
    const std::vector<uint8_t> zero(4, 0);
    ExpectRefused({}, "empty");
    EXPECT_TRUE(CDataSetList(zero.data(), -1).IsError());
    CDataSetList noSets = Parse(zero);  // a body that holds no set is still a body
    EXPECT_FALSE(noSets.IsError());

    const std::vector<uint8_t> body = EveryTypeBody();
    // Exact-size copies let AddressSanitizer see any read past the end.
    for (size_t n = 0; n < body.size(); ++n) ExpectRefused({body.begin(), body.begin() + n}, "cut at " + std::to_string(n));
    std::vector<uint8_t> longer = body;
    longer.push_back(0);
    ExpectRefused(longer, "a byte after the last set");

    // The size fields (offset, bytes) of the first set: set count, column
    // count, row count, row width, variable-area size, then the first
    // descriptor's type, field size and name length.
    const std::pair<size_t, int> sizeFields[] = {{0, 4}, {20, 4}, {24, 4}, {28, 4}, {32, 4}, {36, 1}, {37, 1}, {38, 2}};
    for (auto [at, width] : sizeFields) {
        for (uint32_t v : {0u, 1u, 2u, 7u, 0xFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            std::vector<uint8_t> bad = body;
            for (int i = 0; i < width; ++i) bad[at + i] = static_cast<uint8_t>(v >> (8 * i));
            if (bad != body) ExpectRefused(bad, std::to_string(v) + " at " + std::to_string(at));
        }
    }
    // Any single byte flipped: refused, or read whole and safely (a flipped
    // name, label or value is still a body).
    for (size_t i = 0; i < body.size(); ++i) {
        std::vector<uint8_t> bad = body;
        bad[i] ^= 0xA5;
        CDataSetList list = Parse(bad);
        EXPECT_EQ(list.GetCount(), list.IsError() ? 0 : 2) << "flipped " << i;
        for (int s = 0; s < list.GetCount(); ++s) {
            for (CDataSet* set = *list.GetAt(s); set->MoveNext();)
                for (int c = 0; c < set->GetColumnCount(); ++c) set->GetFieldText(c);
        }
    }

    // References into the variable-data area. Layout: count(4) header(32)
    // descriptor(1+1+2+1+2) row(8: offset, length) var(4).
    CDataSetWriter w;
    w.AddSet("t");
    w.AddColumn(DataSetType::WideText, "w");
    w.AddRow();
    w.SetText(0, u"ab");
    const std::vector<uint8_t> text = w.Serialize();
    const size_t row = 4 + 32 + 7;
    ASSERT_EQ(text.size(), row + 8 + 4);
    ASSERT_FALSE(Parse(text).IsError());
    auto patched = [&text](std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
        std::vector<uint8_t> bad = text;
        for (auto [at, byte] : bytes) bad[at] = byte;
        return bad;
    };
    ExpectRefused(patched({{row, 1}}), "offset 1 + length 4 > 4");
    ExpectRefused(patched({{row + 4, 3}}), "an odd wide length");
    ExpectRefused(patched({{row + 3, 0xFF}, {row + 7, 0xFF}}), "offset + length past 32 bits");
    std::vector<uint8_t> wider = patched({{28, 9}});  // row width 9 for columns of 8, with a byte to match
    wider.insert(wider.begin() + row + 8, 0);
    ExpectRefused(wider, "a row wider than its columns");
}

TEST(CDataSetList, ErrorSetGivesItsTextOrItsTag) {
    std::vector<uint8_t> body = CDataSetWriter::ErrorBody(u"错误(2)：无法连接到服务器");
    CDataSetList list = Parse(body);
    EXPECT_TRUE(list.IsError());
    EXPECT_EQ(list.GetErrorIndex(), 0);
    EXPECT_EQ(list.GetErrorText(), u"错误(2)：无法连接到服务器");

    CDataSetWriter w;
    w.AddSet("hq.info");
    w.AddSet("ERROR");  // any letter case, and not only first
    body = w.Serialize();
    CDataSetList tagOnly = Parse(body);
    EXPECT_EQ(tagOnly.GetErrorIndex(), 1);
    EXPECT_EQ(tagOnly.GetErrorText(), u"ERROR");
    EXPECT_FALSE(CDataSet("errors").IsError());

    body = EveryTypeBody();
    CDataSetList ok = Parse(body);
    EXPECT_FALSE(ok.IsError());
    EXPECT_EQ(ok.GetErrorText(), u"未取到错误信息");
}

TEST(CDataSetList, OwnershipMovesBetweenListsAndOutOfThem) {
    std::vector<uint8_t> body = EveryTypeBody();
    CDataSetList list = Parse(body);
    *list.GetAt(2) = reinterpret_cast<CDataSet*>(0x1);  // a careless caller cannot poison the next lookup
    EXPECT_EQ(*list.GetAt(-1), nullptr);
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

TEST(CDataSet, TagIsCutAtSixteenBytesAndTravelsWhole) {
    CDataSet set("abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(set.GetTag(), "abcdefghijklmnop");
    const CDataSet* sets[] = {&set};
    std::vector<uint8_t> body = CDataSetList::Serialize(sets, 1);
    CDataSetList list = Parse(body);
    EXPECT_STREQ((*list.GetAt(0))->GetTag(), "abcdefghijklmnop");
}
