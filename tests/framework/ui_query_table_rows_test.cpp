// A reply set read into the query table's columns, rows, signs and cursor,
// without a window.
#include "framework/ui/QueryTableRows.h"

#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"

#include <gtest/gtest.h>

TEST(QueryTableRows, KeyColumnsAreHiddenIgnoringCaseSignsReadAndTheCursorIsTheLastRows) {
    CDataSetWriter w;
    w.AddSet("orders");
    w.AddColumn(DataSetType::AnsiText, "stkcode", u"证券代码");
    w.AddColumn(DataSetType::WideText, "stkname");
    w.AddColumn(DataSetType::Int8, "sign");
    w.AddColumn(DataSetType::AnsiText, "PostStr");
    const struct {
        const char* code;
        int sign;
        const char* cursor;
    } rows[] = {{"600010", 1, "a.1"}, {"000016", -3, "a.2"}, {"600000", 0, "a.3"}};
    for (const auto& r : rows) {
        w.AddRow();
        w.SetAnsiText(0, r.code);
        w.SetText(1, u"华岳银行");
        w.SetInt(2, r.sign);
        w.SetAnsiText(3, r.cursor);
    }
    const std::vector<uint8_t> body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CDataSet* set = *list.GetAt(0);
    ASSERT_NE(set, nullptr);
    const QueryTableRows table = ReadQueryTableRows(*set, "sign", "poststr");
    ASSERT_EQ(table.columns.size(), 4u);
    EXPECT_EQ(table.columns[0].header.str(), u"证券代码");
    EXPECT_EQ(table.columns[1].header.str(), u"stkname") << "the name stands for a missing label";
    EXPECT_EQ((std::vector<bool>{table.columns[0].hidden, table.columns[1].hidden, table.columns[2].hidden,
                                 table.columns[3].hidden}),
              (std::vector<bool>{false, false, true, true}));
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[1][0].str(), u"000016");
    EXPECT_EQ(table.signs, (std::vector<int>{1, -3, 0}));
    EXPECT_TRUE(table.hasCursor);
    EXPECT_EQ(table.cursor.str(), "a.3");
    // Without the sign or the paging column: no signs, no cursor.
    const QueryTableRows plain = ReadQueryTableRows(*set, "flag", "position");
    EXPECT_EQ(plain.signs, (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(plain.hasCursor);
    EXPECT_TRUE(plain.cursor.str().empty());
    EXPECT_FALSE(plain.columns[2].hidden);
}
