// The one reading of the function numbers a request names ("TC_MFUNCNO",
// "TC_SFUNCNO"). The client's never-twice check, its request log and the
// simulated server all read them here, so that no text can mean one
// function to the client and another to the server: only plain decimal
// digits count ("+500", " 500" and "0500" do not).
#pragma once

#include <cstddef>
#include <string_view>

// The value as a function number: one to nine decimal digits without a
// sign, blank or leading zero ("0" itself passes). False otherwise.
bool ParseFunctionNumber(std::string_view value, int* number);

// The function numbers named by a request text "k=v&k=v…" (names matched
// ignoring ASCII case).
struct CFunctionNumbers {
    int main = -1;          // the TC_MFUNCNO value; −1 when absent or unreadable
    int sub = -1;           // the TC_SFUNCNO value; −1 when absent or unreadable
    bool malformed = false; // a TC_MFUNCNO or TC_SFUNCNO that is not plain digits
    bool repeated = false;  // either name given more than once
};
CFunctionNumbers ReadFunctionNumbers(std::string_view requestText);

// A server function: its main and sub number.
struct FunctionNumber {
    int main;
    int sub;
    constexpr bool operator==(const FunctionNumber&) const = default;
};

// The functions this client asks for and the simulated server answers.
// Service: session logon, configuration, logout, token texts, sectors,
// batch orders and warrants.
inline constexpr FunctionNumber kFuncLogon{100, 1};
inline constexpr FunctionNumber kFuncFetchConfig{100, 2};
inline constexpr FunctionNumber kFuncTokenTexts{100, 5};
inline constexpr FunctionNumber kFuncBatchOrder{100, 20};
inline constexpr FunctionNumber kFuncLogout{100, 22};
inline constexpr FunctionNumber kFuncWarrantPrecheck{100, 28};
inline constexpr FunctionNumber kFuncWarrantExercise{100, 29};
inline constexpr FunctionNumber kFuncSectorList{100, 30};
inline constexpr FunctionNumber kFuncSectorMembers{100, 31};
// Trading and funds.
inline constexpr FunctionNumber kFuncTradeLogin{500, 1};
inline constexpr FunctionNumber kFuncMaxBuyQuantity{500, 4};
inline constexpr FunctionNumber kFuncMaxSellQuantity{500, 5};
inline constexpr FunctionNumber kFuncOrder{500, 6};
inline constexpr FunctionNumber kFuncCancelOrder{500, 7};
inline constexpr FunctionNumber kFuncTodayOrders{500, 10};
inline constexpr FunctionNumber kFuncTodayDeals{500, 11};
inline constexpr FunctionNumber kFuncFunds{500, 12};
inline constexpr FunctionNumber kFuncChangePassword{500, 13};
inline constexpr FunctionNumber kFuncCancellable{500, 14};
inline constexpr FunctionNumber kFuncOrderHistory{500, 20};
inline constexpr FunctionNumber kFuncDealHistory{500, 21};
inline constexpr FunctionNumber kFuncTokenApply{500, 69};
inline constexpr FunctionNumber kFuncMaxQuantity{500, 75};
// Sales departments, information and the branch directory.
inline constexpr FunctionNumber kFuncSalesDepartments{501, 17};
inline constexpr FunctionNumber kFuncInfoMarks{504, 11};
inline constexpr FunctionNumber kFuncBranches{504, 13};
inline constexpr FunctionNumber kFuncNewsList{504, 20};
inline constexpr FunctionNumber kFuncArticle{504, 21};
inline constexpr FunctionNumber kFuncBranchRegions{504, 32};
// Quotes.
inline constexpr FunctionNumber kFuncMinutes{31000, 1};
inline constexpr FunctionNumber kFuncKLine{31000, 2};
inline constexpr FunctionNumber kFuncRanking{31000, 3};
inline constexpr FunctionNumber kFuncQuoteFields{31000, 4};
inline constexpr FunctionNumber kFuncWorldIndices{31000, 8};
inline constexpr FunctionNumber kFuncDeals{31000, 9};
inline constexpr FunctionNumber kFuncPinyinSearch{31000, 10};

// A request's head "tc_mfuncno=<main>&tc_sfuncno=<sub>" (no "&" after it),
// built at compile time: kRequestHead<kFuncOrder> reads as a string_view or,
// NUL-terminated, through c_str().
class CRequestHead {
public:
    constexpr explicit CRequestHead(FunctionNumber f) {
        Append("tc_mfuncno=");
        AppendNumber(f.main);
        Append("&tc_sfuncno=");
        AppendNumber(f.sub);
    }
    constexpr std::string_view view() const { return {m_text, m_size}; }
    constexpr operator std::string_view() const { return view(); }
    constexpr const char* c_str() const { return m_text; }

private:
    constexpr void Append(std::string_view part) {
        for (char c : part)
            m_text[m_size++] = c;
    }
    constexpr void AppendNumber(int n) {
        char digits[10]{};
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n > 0 && count < 10);
        while (count > 0)
            m_text[m_size++] = digits[--count];
    }

    char m_text[48]{};
    size_t m_size = 0;
};

template <FunctionNumber F>
inline constexpr CRequestHead kRequestHead{F};
