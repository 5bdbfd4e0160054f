// A quote value: a double with a code 0 to 3 that gives the number of
// decimals shown; code 1 also carries the unit word 万 (ten thousand) and
// code 2 the unit word 亿 (hundred million). On the wire it is a packed
// int32: the low two bits are the code and the rest, shifted right
// arithmetically, is the value times 10^code. The packed 999999999 marks a
// missing value.
#pragma once

#include "core/CAString.h"
#include "core/CWString.h"

#include <cstdint>

class CQuoteNumber {
public:
    static constexpr int32_t kMissingPacked = 999999999;
    static constexpr double kMissingValue = 999999999.0;

    CQuoteNumber() = default;
    CQuoteNumber(double value, int32_t code) : m_value(value), m_code(code) {}

    // Decodes a packed int32 (see above); the missing marker gives the value
    // 999999999.0 with code 0. Returns *this.
    CQuoteNumber& FromPacked(int32_t packed);
    // The packed form that FromPacked reads back: the value rounded to the
    // code's decimals, halves away from zero; the missing marker, and values beyond the 30-bit
    // range, pack as 999999999. A code outside 0..3 packs as 0 decimals.
    int32_t ToPacked() const;

    bool IsInvalid() const { return m_value == kMissingValue; }
    double GetValue() const { return m_value; }
    int32_t GetCode() const { return m_code; }
    // The value in base units: x 10^4 for code 1, x 10^8 for code 2.
    double ToRaw() const;

    // Arithmetic keeps the left operand's code.
    CQuoteNumber operator+(const CQuoteNumber& other) const { return {m_value + other.m_value, m_code}; }
    CQuoteNumber operator-(const CQuoteNumber& other) const { return {m_value - other.m_value, m_code}; }
    // Division is skipped (a copy of the left operand) when the divisor is 0.
    CQuoteNumber operator/(const CQuoteNumber& other) const;
    CQuoteNumber MultiplyInt(int factor) const { return {m_value * factor, m_code}; }
    // Skipped, like operator/, when the divisor is 0.
    CQuoteNumber DivideInt(int divisor) const;
    CQuoteNumber Abs() const { return {m_value < 0 ? -m_value : m_value, m_code}; }
    // The greater or smaller of a and b; b on a tie.
    static CQuoteNumber Max(const CQuoteNumber& a, const CQuoteNumber& b) { return a.m_value > b.m_value ? a : b; }
    static CQuoteNumber Min(const CQuoteNumber& a, const CQuoteNumber& b) { return a.m_value < b.m_value ? a : b; }
    void Assign(const CQuoteNumber& other) { *this = other; }

    // Comparisons look at the values only, never at the codes.
    bool operator==(const CQuoteNumber& o) const { return m_value == o.m_value; }
    bool operator!=(const CQuoteNumber& o) const { return m_value != o.m_value; }
    bool operator<(const CQuoteNumber& o) const { return m_value < o.m_value; }
    bool operator>(const CQuoteNumber& o) const { return m_value > o.m_value; }
    bool operator<=(const CQuoteNumber& o) const { return m_value <= o.m_value; }
    bool operator>=(const CQuoteNumber& o) const { return m_value >= o.m_value; }

    // The value with as many decimals as the code gives ("12.35" for code 2),
    // rounded as ToPacked rounds; never "-0.00".
    CAString ToText() const;
    CWString ToWideText() const;
    // ToWideText followed by 万 (code 1) or 亿 (code 2).
    CWString ToWideTextWithUnit() const;

private:
    double m_value = 0.0;  // in units of the code: 万 for code 1, 亿 for code 2
    int32_t m_code = 0;    // decimals shown, 0..3
};
