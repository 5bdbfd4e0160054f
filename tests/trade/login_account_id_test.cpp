// The account id a login sends, from the typed number, the type and the
// department.
#include "trade/login/TradeAccountId.h"

#include <gtest/gtest.h>

TEST(NormalizeAccount, FollowsTheRuleOfEachAccountType) {
    struct Case {
        const char* typed;
        const char* type;
        const char* dept;
        const char* id;
    };
    const Case cases[] = {
        // Fund accounts: padded to 8, department in front below 12.
        {"12345", "Z", "0001", "000100012345"},
        {"12345678", "Z", "0001", "000112345678"},
        {"12345678901", "Z", "0003", "000312345678901"},
        {"123456789012", "Z", "0001", "123456789012"},
        {"1234567890123", "Z", "0001", "1234567890123"},
        {"", "Z", "0002", "000200000000"},
        // Shenzhen A and B: padded to 10.
        {"12345", "0", "0001", "0000012345"},
        {"123456789", "2", "0001", "0123456789"},
        {"0100012345", "0", "0001", "0100012345"},
        {"01000123456", "2", "0001", "01000123456"},
        // Shanghai A: nine characters get B (88), D (89) or A.
        {"880123456", "1", "0001", "B880123456"},
        {"890123456", "1", "0001", "D890123456"},
        {"100012345", "1", "0001", "A100012345"},
        {"A100012345", "1", "0001", "A100012345"},
        {"88012345", "1", "0001", "88012345"},
        // Shanghai B: nine characters get C.
        {"100012345", "3", "0001", "C100012345"},
        {"C100012345", "3", "0001", "C100012345"},
        // Other types as typed.
        {"12345", "9", "0001", "12345"},
        {"12345", "z", "0001", "12345"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeAccount(c.typed, c.type, c.dept), c.id) << c.typed << " type " << c.type;
}
