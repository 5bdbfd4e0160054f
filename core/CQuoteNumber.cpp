// Quote number decoding, arithmetic and display.
#include "core/CQuoteNumber.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {
const double kPow10[4] = {1.0, 10.0, 100.0, 1000.0};
int Decimals(int32_t code) { return (code >= 0 && code <= 3) ? code : 0; }
} // namespace

CQuoteNumber& CQuoteNumber::FromPacked(int32_t packed) {
    if (packed == kMissingPacked) {
        m_value = kMissingValue;
        m_code = 0;
        return *this;
    }
    m_code = packed & 3;
    m_value = static_cast<double>(packed >> 2) / kPow10[m_code];
    return *this;
}

int32_t CQuoteNumber::ToPacked() const {
    if (IsInvalid() || !std::isfinite(m_value)) return kMissingPacked;
    int code = Decimals(m_code);
    double scaled = std::round(m_value * kPow10[code]);
    // 30 bits are left for the mantissa.
    if (scaled > 536870911.0 || scaled < -536870912.0) return kMissingPacked;
    int64_t mantissa = static_cast<int64_t>(scaled);
    return static_cast<int32_t>(static_cast<uint32_t>(mantissa * 4) | static_cast<uint32_t>(code));
}

double CQuoteNumber::ToRaw() const {
    if (m_code == 1) return m_value * 1e4;
    if (m_code == 2) return m_value * 1e8;
    return m_value;
}

CQuoteNumber CQuoteNumber::operator/(const CQuoteNumber& other) const {
    if (other.m_value == 0.0) return *this;
    return {m_value / other.m_value, m_code};
}

CQuoteNumber CQuoteNumber::DivideInt(int divisor) const {
    if (divisor == 0) return *this;
    return {m_value / divisor, m_code};
}

CAString CQuoteNumber::ToText() const {
    int decimals = Decimals(m_code);
    // The digits come from the same rounding as ToPacked (halves away from
    // zero, alike for both signs), so the text shown is what the wire would
    // carry; a value that rounds to zero shows no minus sign.
    double scaled = std::round(m_value * kPow10[decimals]);
    if (std::fabs(scaled) < 9007199254740992.0) {  // 2^53: every integer exact
        int64_t units = static_cast<int64_t>(scaled);
        std::string text = std::to_string(units < 0 ? -units : units);
        if (decimals > 0) {
            if (text.size() <= static_cast<size_t>(decimals)) text.insert(0, decimals + 1 - text.size(), '0');
            text.insert(text.size() - decimals, ".");
        }
        if (units < 0) text.insert(0, "-");
        return CAString(std::move(text));
    }
    char buf[512];  // beyond 2^53, infinities and NaN: as printf shows them
    std::snprintf(buf, sizeof buf, "%.*f", decimals, m_value);
    return CAString(buf);
}

CWString CQuoteNumber::ToWideText() const {
    CAString text = ToText();
    std::u16string wide(text.view().begin(), text.view().end());  // ASCII digits only
    return CWString(std::move(wide));
}

CWString CQuoteNumber::ToWideTextWithUnit() const {
    CWString text = ToWideText();
    if (m_code == 1) text.Append(u"万");
    else if (m_code == 2) text.Append(u"亿");
    return text;
}
