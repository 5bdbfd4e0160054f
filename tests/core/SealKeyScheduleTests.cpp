// The seal envelope's kept key schedules: sealing and opening stay what a
// fresh key set-up gives, whichever keys the thread took before.
#include "core/SealEnvelope.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<uint8_t> Seal(const std::vector<uint8_t>& plain, const std::string& key) {
    std::vector<uint8_t> env(SealedSize(static_cast<int>(plain.size())));
    EXPECT_EQ(SealData(key.c_str(), plain.data(), static_cast<int>(plain.size()), env.data()),
              static_cast<int>(env.size()));
    return env;
}

TEST(SealEnvelope, KeysTakenInTurnSealAsEachAloneDoes) {
    // More keys than a thread keeps schedules for, one a prefix of another and
    // two alike in the 72 bytes Blowfish uses: every seal in turn equals the
    // seal made when its key was new, and opens under its key only.
    const std::string long72(72, 'L');
    const std::vector<std::string> keys = {"SESSIONKEY123456", "SESSIONKEY1234567", "ANOTHERKEYABCDEF",
                                           long72 + "1",       long72 + "2",        "THIRDKEY",
                                           "FOURTHKEY00"};
    std::vector<uint8_t> plain(100);
    for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 131 + 7);
    std::vector<std::vector<uint8_t>> first;
    for (const std::string& key : keys) first.push_back(Seal(plain, key));
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(first[3], first[4]);
    std::vector<uint8_t> out(first[0].size());
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < keys.size(); ++i) {
            const size_t k = (i * 3 + static_cast<size_t>(round)) % keys.size();
            EXPECT_EQ(Seal(plain, keys[k]), first[k]) << keys[k];
            const std::vector<uint8_t>& env = first[k];
            ASSERT_EQ(OpenSealedData(keys[k].c_str(), env.data(), static_cast<int>(env.size()), out.data()), 100);
            EXPECT_TRUE(std::equal(plain.begin(), plain.end(), out.begin()));
            const std::string& other = keys[(k + 1) % keys.size()];
            if (first[(k + 1) % keys.size()] != env) {
                EXPECT_EQ(OpenSealedData(other.c_str(), env.data(), static_cast<int>(env.size()), out.data()), -4);
            }
        }
    }
}

TEST(SealEnvelope, ThreadsSealingUnderTheirOwnKeysAtOnceEachGetTheirOwnSeal) {
    // The kept schedules are shared by the threads: a schedule replaced under
    // one thread by another's key would seal under the wrong key.
    std::vector<uint8_t> plain(64);
    for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 17 + 3);
    std::vector<std::string> keys;
    std::vector<std::vector<uint8_t>> expected;
    for (int t = 0; t < 8; ++t) {
        keys.push_back("THREADKEY" + std::to_string(t * 7919));
        expected.push_back(Seal(plain, keys.back()));
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            std::vector<uint8_t> env(expected[t].size()), out(env.size());
            for (int i = 0; i < 300; ++i) {
                SealData(keys[t].c_str(), plain.data(), static_cast<int>(plain.size()), env.data());
                if (env != expected[t] ||
                    OpenSealedData(keys[t].c_str(), env.data(), static_cast<int>(env.size()), out.data()) != 64)
                    ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
