// HMAC-SHA1 known answers, Blowfish through the seal envelope, CRC-32, and
// zlib packing of reply bodies.
#include "core/HmacSha1.h"
#include "core/SealEnvelope.h"
#include "core/StrUtil.h"
#include "core/ZlibCodec.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::string Hex(const uint8_t* p, size_t n) {
    std::string out(n * 2 + 1, '\0');
    HexEncode(p, static_cast<int>(n), out.data(), 0);
    out.pop_back();
    return out;
}

std::string Hmac(const std::vector<uint8_t>& key, const std::vector<uint8_t>& msg) {
    uint8_t out[20];
    EXPECT_EQ(HmacSha1(key.data(), static_cast<int>(key.size()), msg.data(), static_cast<int>(msg.size()), out), 0);
    return Hex(out, 20);
}

const char kKey[] = "MORNINGTIDEHARBO";

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 131 + 7);
    return v;
}

std::vector<uint8_t> Seal(const std::vector<uint8_t>& plain, const char* key = kKey) {
    std::vector<uint8_t> env(SealedSize(static_cast<int>(plain.size())));
    EXPECT_EQ(SealData(key, plain.data(), static_cast<int>(plain.size()), env.data()), static_cast<int>(env.size()));
    return env;
}
} // namespace

TEST(HmacSha1, MatchesTheSevenKnownAnswersOfRfc2202) {
    EXPECT_EQ(Hmac(std::vector<uint8_t>(20, 0x0b), Bytes("Hi There")), "b617318655057264e28bc0b6fb378c8ef146be00");
    EXPECT_EQ(Hmac(Bytes("Jefe"), Bytes("what do ya want for nothing?")),
              "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
    EXPECT_EQ(Hmac(std::vector<uint8_t>(20, 0xaa), std::vector<uint8_t>(50, 0xdd)),
              "125d7342b9ac11cd91a39af48aa17b4f63f175d3");
    std::vector<uint8_t> key4;
    for (int i = 1; i <= 25; ++i) key4.push_back(static_cast<uint8_t>(i));
    EXPECT_EQ(Hmac(key4, std::vector<uint8_t>(50, 0xcd)), "4c9007f4026250c6bc8414f9bf50c86c2d7235da");
    EXPECT_EQ(Hmac(std::vector<uint8_t>(20, 0x0c), Bytes("Test With Truncation")),
              "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04");
    EXPECT_EQ(Hmac(std::vector<uint8_t>(80, 0xaa), Bytes("Test Using Larger Than Block-Size Key - Hash Key First")),
              "aa4ae5e15272d00e95705637ce8a3b55ed402112");
    EXPECT_EQ(Hmac(std::vector<uint8_t>(80, 0xaa),
                   Bytes("Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data")),
              "e8e99d0f45237d786d6bbaa7965c7808bbff1a91");
}

TEST(HmacSha1, NullArgumentsGiveMinusOne) {
    uint8_t out[20];
    const uint8_t k[1] = {1};
    EXPECT_EQ(HmacSha1(nullptr, 0, k, 1, out), -1);
    EXPECT_EQ(HmacSha1(k, 1, nullptr, 0, out), -1);
    EXPECT_EQ(HmacSha1(k, 1, k, 1, nullptr), -1);
    EXPECT_EQ(HmacSha1(k, 1, k, 0, out), 0);  // an empty message is a message
}

TEST(Crc32, GivesTheStandardCheckValue) {
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("", 0), 0u);
}

TEST(SealEnvelope, FirstCipherBlockIsBlowfishOfTheFirstPlainBlock) {
    // Known Blowfish vectors with printable keys; with a zero initial block
    // the first CBC block is the plain block enciphered.
    std::vector<uint8_t> env = Seal(Bytes("BLOWFISH" + std::string(8, '\0')), "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(Hex(env.data() + 8, 8), "324ed0fef413a203");
    std::vector<uint8_t> plain = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};
    plain.resize(16, 0);
    env = Seal(plain, "Who is John Galt?");
    EXPECT_EQ(Hex(env.data() + 8, 8), "cc91732b8022f684");
}

TEST(SealEnvelope, HeaderHoldsLengthAndCrcAndPaddingIsZero) {
    std::vector<uint8_t> plain = Pattern(17);
    std::vector<uint8_t> env = Seal(plain);
    ASSERT_EQ(env.size(), 32u);
    EXPECT_EQ(ReadLE32(env.data()), 17);
    EXPECT_EQ(static_cast<uint32_t>(ReadLE32(env.data() + 4)), Crc32(plain.data(), plain.size()));
    std::vector<uint8_t> padded = plain;
    padded.resize(24, 0);
    std::vector<uint8_t> same = Seal(padded);
    EXPECT_TRUE(std::equal(env.begin() + 8, env.end(), same.begin() + 8));  // zero padding
}

TEST(SealEnvelope, EveryLengthFrom16To4096SurvivesARoundTrip) {
    for (size_t n = 16; n <= 4096; n += (n < 64 ? 1 : 61)) {
        std::vector<uint8_t> plain = Pattern(n);
        std::vector<uint8_t> env = Seal(plain);
        EXPECT_EQ(env.size(), (n + 15) / 8 * 8);
        std::vector<uint8_t> out(env.size() - 8);
        ASSERT_EQ(OpenSealedData(kKey, env.data(), static_cast<int>(env.size()), out.data()), static_cast<int>(n));
        EXPECT_TRUE(std::equal(plain.begin(), plain.end(), out.begin())) << n;
    }
}

TEST(SealEnvelope, SealingInPlaceGivesTheSameEnvelope) {
    std::vector<uint8_t> plain = Pattern(30);
    std::vector<uint8_t> buffer = plain;
    buffer.resize(SealedSize(30));
    ASSERT_EQ(SealData(kKey, buffer.data(), 30, buffer.data()), static_cast<int>(buffer.size()));
    EXPECT_EQ(buffer, Seal(plain));
}

TEST(SealEnvelope, SealRefusesShortKeysAndShortData) {
    std::vector<uint8_t> plain = Pattern(16);
    uint8_t out[64];
    EXPECT_EQ(SealData(nullptr, plain.data(), 16, out), -1);
    EXPECT_EQ(SealData("12345", plain.data(), 16, out), -1);
    EXPECT_EQ(SealData("123456", plain.data(), 15, out), -2);
    EXPECT_EQ(SealData("123456", nullptr, 16, out), -2);
    EXPECT_EQ(SealData("123456", plain.data(), 16, nullptr), -2);
    EXPECT_EQ(SealData("123456", plain.data(), 16, out), 24);
}

TEST(SealEnvelope, OpenReportsEachFailureAndLeavesOutputUntouched) {
    std::vector<uint8_t> env = Seal(Pattern(40));
    std::vector<uint8_t> out(env.size(), 0xEE);
    const int n = static_cast<int>(env.size());
    EXPECT_EQ(OpenSealedData(nullptr, env.data(), n, out.data()), -1);
    EXPECT_EQ(OpenSealedData("short", env.data(), n, out.data()), -1);
    EXPECT_EQ(OpenSealedData(kKey, nullptr, n, out.data()), -2);
    EXPECT_EQ(OpenSealedData(kKey, env.data(), n, nullptr), -2);
    EXPECT_EQ(OpenSealedData(kKey, env.data(), 15, out.data()), -2);

    std::vector<uint8_t> bad = env;
    bad[0] = 0xFF, bad[1] = 0xFF, bad[2] = 0xFF, bad[3] = 0xFF;  // -1
    EXPECT_EQ(OpenSealedData(kKey, bad.data(), n, out.data()), -3);
    bad = env;
    bad[0] = static_cast<uint8_t>(n - 7);  // beyond length - 8
    EXPECT_EQ(OpenSealedData(kKey, bad.data(), n, out.data()), -3);
    // A truncated envelope whose stored length reaches past the whole blocks left.
    EXPECT_EQ(OpenSealedData(kKey, env.data(), n - 3, out.data()), -3);

    bad = env;
    bad[20] ^= 0x01;  // cipher text damaged
    EXPECT_EQ(OpenSealedData(kKey, bad.data(), n, out.data()), -4);
    bad = env;
    bad[5] ^= 0x80;  // stored CRC damaged
    EXPECT_EQ(OpenSealedData(kKey, bad.data(), n, out.data()), -4);
    EXPECT_EQ(OpenSealedData("MORNINGTIDEHARBX", env.data(), n, out.data()), -4);
    for (uint8_t b : out) ASSERT_EQ(b, 0xEE);
}

TEST(ZlibCodec, RoundTripsAndRefusesDamagedStreams) {
    std::vector<uint8_t> plain = Pattern(100000);
    std::vector<uint8_t> packed = ZlibCompress(plain.data(), plain.size());
    std::vector<uint8_t> out;
    ASSERT_TRUE(ZlibUncompress(packed.data(), packed.size(), out));
    EXPECT_EQ(out, plain);

    EXPECT_FALSE(ZlibUncompress(packed.data(), packed.size() - 1, out));
    EXPECT_TRUE(out.empty());
    std::vector<uint8_t> trailing = packed;
    trailing.push_back(0);
    EXPECT_FALSE(ZlibUncompress(trailing.data(), trailing.size(), out));
    std::vector<uint8_t> damaged = packed;
    damaged[packed.size() / 2] ^= 0xFF;
    EXPECT_FALSE(ZlibUncompress(damaged.data(), damaged.size(), out));
    EXPECT_FALSE(ZlibUncompress(nullptr, 0, out));

    std::vector<uint8_t> none = ZlibCompress(plain.data(), 0);  // an empty body packs to a stream too
    out.assign(3, 1);
    ASSERT_TRUE(ZlibUncompress(none.data(), none.size(), out));
    EXPECT_TRUE(out.empty());
}

TEST(ZlibCodec, OutputBeyondTheLimitIsRefused) {
    std::vector<uint8_t> zeros(1 << 20, 0);
    std::vector<uint8_t> packed = ZlibCompress(zeros.data(), zeros.size());
    std::vector<uint8_t> out;
    EXPECT_FALSE(ZlibUncompress(packed.data(), packed.size(), out, (1 << 20) - 1));
    EXPECT_TRUE(ZlibUncompress(packed.data(), packed.size(), out, 1 << 20));
    EXPECT_EQ(out.size(), zeros.size());
}
