// The paged request count the deal page and the fund tables share.
#include "framework/ui/funds/FundRequests.h"

#include <gtest/gtest.h>

TEST(FundRequests, APagedQueryAsksForItsRowLimitOrAThousandWithoutOne) {
    for (const auto& [limit, count] : {std::pair{11, 11}, {1, 1}, {0, 1000}, {-5, 1000}})
        EXPECT_EQ(GetRequestCount(limit), count) << limit;
}
