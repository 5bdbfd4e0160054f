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

TEST(HmacSha1, MatchesKnownAnswersOfRfc2202ForKeysShorterAndLongerThanABlock) {
    struct Answer {
        std::vector<uint8_t> key, message;
        const char* digest;
    };
    const Answer answers[] = {
        {std::vector<uint8_t>(20, 0x0b), Bytes("Hi There"), "b617318655057264e28bc0b6fb378c8ef146be00"},
        {Bytes("Jefe"), Bytes("what do ya want for nothing?"), "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {std::vector<uint8_t>(80, 0xaa), Bytes("Test Using Larger Than Block-Size Key - Hash Key First"),
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
    };
    for (const Answer& a : answers) {
        uint8_t out[20];
        ASSERT_EQ(HmacSha1(a.key.data(), static_cast<int>(a.key.size()), a.message.data(),
                           static_cast<int>(a.message.size()), out), 0);
        EXPECT_EQ(Hex(out, 20), a.digest);
    }
    uint8_t out[20];
    const uint8_t k[1] = {1};
    EXPECT_EQ(HmacSha1(nullptr, 0, k, 1, out), -1);
    EXPECT_EQ(HmacSha1(k, 1, nullptr, 0, out), -1);
    EXPECT_EQ(HmacSha1(k, 1, k, 1, nullptr), -1);
    EXPECT_EQ(HmacSha1(k, 1, k, 0, out), 0);  // an empty message is a message
}

TEST(SealEnvelope, FirstCipherBlockIsBlowfishOfTheFirstPlainBlock) {
    // A known Blowfish vector with a 26-byte key; with a zero initial block
    // the first CBC block is the plain block enciphered.
    std::vector<uint8_t> env = Seal(Bytes("BLOWFISH" + std::string(8, '\0')), "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(Hex(env.data() + 8, 8), "324ed0fef413a203");
}

TEST(SealEnvelope, HeaderHoldsLengthAndCrcAndPaddingIsZero) {
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);  // the standard check value
    std::vector<uint8_t> plain = Pattern(17);
    std::vector<uint8_t> env = Seal(plain);
    ASSERT_EQ(env.size(), 32u);
    EXPECT_EQ(ReadLE32(env.data()), 17);
    EXPECT_EQ(static_cast<uint32_t>(ReadLE32(env.data() + 4)), Crc32(plain.data(), plain.size()));
    std::vector<uint8_t> padded = plain;
    padded.resize(24, 0);
    std::vector<uint8_t> same = Seal(padded);
    EXPECT_TRUE(std::equal(env.begin() + 8, env.end(), same.begin() + 8));
}

TEST(SealEnvelope, EveryLengthFrom16To4096SurvivesARoundTripAlsoSealedInPlace) {
    for (size_t n = 16; n <= 4096; n += (n < 64 ? 1 : 61)) {
        std::vector<uint8_t> plain = Pattern(n);
        std::vector<uint8_t> env = Seal(plain);
        EXPECT_EQ(env.size(), (n + 15) / 8 * 8);
        std::vector<uint8_t> out(env.size() - 8);
        ASSERT_EQ(OpenSealedData(kKey, env.data(), static_cast<int>(env.size()), out.data()), static_cast<int>(n));
        EXPECT_TRUE(std::equal(plain.begin(), plain.end(), out.begin())) << n;
        std::vector<uint8_t> inPlace = plain;
        inPlace.resize(env.size());
        SealData(kKey, inPlace.data(), static_cast<int>(n), inPlace.data());
        EXPECT_EQ(inPlace, env) << n;
    }
}

TEST(SealEnvelope, EachRefusalHasItsCodeAndAFailedOpenLeavesTheOutputUntouched) {
    const std::vector<uint8_t> plain = Pattern(40);
    const std::vector<uint8_t> env = Seal(plain);
    const int n = static_cast<int>(env.size());
    std::vector<uint8_t> out(env.size());
    struct Case {
        const char* what;
        int code, expected;
    };
    const Case seals[] = {
        {"null key", SealData(nullptr, plain.data(), 16, out.data()), -1},
        {"a key of 5", SealData("12345", plain.data(), 16, out.data()), -1},
        {"15 bytes", SealData("123456", plain.data(), 15, out.data()), -2},
        {"null data", SealData("123456", nullptr, 16, out.data()), -2},
        {"null output", SealData("123456", plain.data(), 16, nullptr), -2},
        {"a key of 6", SealData("123456", plain.data(), 16, out.data()), 24},
    };
    for (const Case& c : seals) EXPECT_EQ(c.code, c.expected) << "seal: " << c.what;

    out.assign(env.size(), 0xEE);
    auto open = [&](const char* key, std::vector<uint8_t> envelope, int length) {
        return OpenSealedData(key, envelope.data(), length, out.data());
    };
    auto patched = [&](size_t at, uint8_t byte) {
        std::vector<uint8_t> bad = env;
        bad[at] = byte;
        return bad;
    };
    std::vector<uint8_t> negative = env;
    WriteLE32(negative.data(), 0xFFFFFFFFu);
    const Case opens[] = {
        {"null key", open(nullptr, env, n), -1},
        {"a key of 5", open("short", env, n), -1},
        {"null envelope", OpenSealedData(kKey, nullptr, n, out.data()), -2},
        {"null output", OpenSealedData(kKey, env.data(), n, nullptr), -2},
        {"15 bytes", open(kKey, env, 15), -2},
        {"a negative length", open(kKey, negative, n), -3},
        {"a length beyond length - 8", open(kKey, patched(0, static_cast<uint8_t>(n - 7)), n), -3},
        {"cut inside its last block", open(kKey, env, n - 3), -3},
        {"cipher text damaged", open(kKey, patched(20, env[20] ^ 0x01), n), -4},
        {"stored CRC damaged", open(kKey, patched(5, env[5] ^ 0x80), n), -4},
        {"another key", open("MORNINGTIDEHARBX", env, n), -4},
    };
    for (const Case& c : opens) EXPECT_EQ(c.code, c.expected) << "open: " << c.what;
    EXPECT_EQ(out, std::vector<uint8_t>(env.size(), 0xEE));
}

TEST(ZlibCodec, RoundTripsAndRefusesDamagedOrOversizedStreams) {
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
    EXPECT_FALSE(ZlibUncompress(packed.data(), packed.size(), out, plain.size() - 1));
    EXPECT_TRUE(ZlibUncompress(packed.data(), packed.size(), out, plain.size()));

    std::vector<uint8_t> none = ZlibCompress(plain.data(), 0);  // an empty body packs to a stream too
    out.assign(3, 1);
    ASSERT_TRUE(ZlibUncompress(none.data(), none.size(), out));
    EXPECT_TRUE(out.empty());
}
