// The resident figures read from a status text: the three kinds of page
// found among the other lines, and a text that lacks one or garbles it
// refused whole rather than read as zero.
#include "platform/system/ResidentMemory.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ResidentMemoryTest, TheThreeKindsAreReadInBytesAndAnyMissingOrGarbledOneRefusesTheWhole) {
    const char* status = "Name:\torbstock\n"
                         "VmRSS:\t   26112 kB\n"
                         "RssAnon:\t    5120 kB\n"
                         "RssFile:\t   19456 kB\n"
                         "RssShmem:\t    1536 kB\n"
                         "RssFileX:\t 1 kB\n"
                         "Threads:\t5\n";
    const std::optional<CResidentMemory> memory = ParseResidentMemory(status);
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->anonBytes, 5120u * 1024);
    EXPECT_EQ(memory->fileBytes, 19456u * 1024);
    EXPECT_EQ(memory->shmemBytes, 1536u * 1024);
    EXPECT_EQ(memory->Total(), 26112u * 1024);

    const std::vector<const char*> refused = {
        "",
        "RssAnon:\t1 kB\nRssFile:\t2 kB\n",                       // no shared memory line
        "RssAnon:\t1 kB\nRssFile:\t2 kB\nRssShmem:\t kB\n",       // no number
        "RssAnon:\t1 kB\nRssFile:\t2 kB\nRssShmem:\t3 MB\n",      // another unit
        "RssAnon:\t1 kB\nRssFile:\t-2 kB\nRssShmem:\t3 kB\n",     // a sign
        "RssAnon:\t99999999999999999999 kB\nRssFile:\t2 kB\nRssShmem:\t3 kB\n", // overflow
        "XRssAnon:\t1 kB\nRssFile:\t2 kB\nRssShmem:\t3 kB",       // only a longer name
    };
    for (const char* text : refused)
        EXPECT_FALSE(ParseResidentMemory(text)) << text;
}

TEST(ResidentMemoryTest, ThisProcessIsReadWithFileAndAnonymousPages) {
    const std::optional<CResidentMemory> memory = ReadResidentMemory();
    ASSERT_TRUE(memory);
    EXPECT_GT(memory->fileBytes, 0u);
    EXPECT_GT(memory->anonBytes, 0u);
}
