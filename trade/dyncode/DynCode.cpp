// HOTP over libcrypto's SHA-1 (core's HmacSha1) and the seed's seal.
#include "trade/dyncode/DynCode.h"

#include "core/HmacSha1.h"
#include "core/SealEnvelope.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"

#include <array>

namespace {
// 10^digits for the allowed digit counts.
constexpr std::uint32_t kModulus[kDynCodeMaxDigits + 1] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                                            100000000};

bool IsHexText(std::string_view text) {
    for (char c : text)
        if (HexDigitValue(c) < 0)
            return false;
    return true;
}
} // namespace

bool HexToBytes(std::string_view hex, std::vector<std::uint8_t>& out) {
    out.clear();
    if (!IsHexText(hex))
        return false;
    out.reserve((hex.size() + 1) / 2);
    size_t i = 0;
    if (hex.size() % 2 == 1) {
        out.push_back(static_cast<std::uint8_t>(HexDigitValue(hex[0])));
        i = 1;
    }
    for (; i < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(HexDigitValue(hex[i]) << 4 | HexDigitValue(hex[i + 1])));
    return true;
}

std::string BytesToHex(const std::uint8_t* bytes, std::size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0x0F]);
    }
    return out;
}

bool DynCodeHotp(const std::uint8_t* key, std::size_t keyLength, std::uint32_t counter, int digits, std::string& out) {
    out.clear();
    if (digits < kDynCodeMinDigits || digits > kDynCodeMaxDigits || keyLength > 0x7FFFFFFF)
        return false;
    // The counter is 32 bits wide: the block's first four bytes stay 0.
    std::uint8_t block[8] = {0, 0, 0, 0, static_cast<std::uint8_t>(counter >> 24),
                             static_cast<std::uint8_t>(counter >> 16), static_cast<std::uint8_t>(counter >> 8),
                             static_cast<std::uint8_t>(counter)};
    static const std::uint8_t kNoKey = 0; // HmacSha1 takes no null key, even of length 0
    std::array<std::uint8_t, 20> mac{};
    if (HmacSha1(keyLength ? key : &kNoKey, static_cast<int>(keyLength), block, sizeof block, mac.data()) != 0)
        return false;
    const int offset = mac[19] & 0x0F;
    const std::uint32_t value = (mac[offset] & 0x7Fu) << 24 | mac[offset + 1] << 16 | mac[offset + 2] << 8 |
                                mac[offset + 3];
    std::string text = std::to_string(value % kModulus[digits]);
    out.assign(digits - text.size(), '0');
    out += text;
    return true;
}

bool DynCodeCompute(std::string_view hexKey, std::uint32_t counter, int digits, std::string& out) {
    std::vector<std::uint8_t> key;
    if (!HexToBytes(hexKey, key)) {
        out.clear();
        return false;
    }
    return DynCodeHotp(key.data(), key.size(), counter, digits, out);
}

std::u16string SealDynCodeSeed(std::string_view seed) {
    const int length = static_cast<int>(seed.size());
    if (length < kDynCodeMinSeedLength || length > kDynCodeMaxSeedLength || !IsHexText(seed))
        return {};
    std::vector<std::uint8_t> envelope(SealedSize(length));
    const int sealed = SealData(kDynCodeSealKey, reinterpret_cast<const std::uint8_t*>(seed.data()), length,
                                envelope.data());
    if (sealed <= 0 || sealed > static_cast<int>(envelope.size()))
        return {};
    return AnsiToWide(BytesToHex(envelope.data(), static_cast<std::size_t>(sealed)));
}

int OpenDynCodeSeed(std::u16string_view sealed, std::string& plain) {
    plain.clear();
    const int bytes = static_cast<int>(sealed.size() / 2);
    std::string hex;
    hex.reserve(sealed.size());
    for (char16_t c : sealed) {
        if (c > 0x7F)
            return bytes;
        hex.push_back(static_cast<char>(c));
    }
    std::vector<std::uint8_t> envelope;
    if (hex.size() % 2 != 0 || !HexToBytes(hex, envelope) || envelope.size() < 16)
        return bytes;
    std::vector<std::uint8_t> opened(envelope.size() - 8);
    const int length = OpenSealedData(kDynCodeSealKey, envelope.data(), static_cast<int>(envelope.size()),
                                      opened.data());
    if (length < 0)
        return bytes;
    std::string seed(reinterpret_cast<const char*>(opened.data()), static_cast<std::size_t>(length));
    if (IsHexText(seed))
        plain = std::move(seed);
    return bytes;
}
