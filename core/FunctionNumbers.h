// The one reading of the function numbers a request names ("TC_MFUNCNO",
// "TC_SFUNCNO"). The client's never-twice check, its request log and the
// simulated server all read them here, so that no text can mean one
// function to the client and another to the server: only plain decimal
// digits count ("+500", " 500" and "0500" do not).
#pragma once

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
