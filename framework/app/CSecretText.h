// An 8-bit text that holds a secret (the trading password). It lives in
// memory only: it is never written to a file or a log, and its bytes are
// overwritten with zeros (explicit_bzero, which the compiler may not drop)
// whenever the text is replaced, cleared or destroyed. It cannot be copied,
// so no stray copy outlives the owner's clearing.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CSecretText {
public:
    CSecretText() = default;
    ~CSecretText() { Clear(); }
    CSecretText(const CSecretText&) = delete;
    CSecretText& operator=(const CSecretText&) = delete;

    // Replaces the text with a copy of text (the old bytes are zeroed first);
    // an empty text clears it.
    void Assign(std::string_view text);
    // Zeroes and releases the text.
    void Clear();

    bool IsEmpty() const { return m_length == 0; }
    size_t GetLength() const { return m_length; }
    // The NUL-ended text, or null when empty. Valid until the next change.
    const char* Get() const { return m_length ? m_data.get() : nullptr; }

private:
    std::unique_ptr<char[]> m_data; // m_length bytes and a NUL
    size_t m_length = 0;            // bytes, without the NUL
};

// Zeroes a plain string that held a secret for a moment (a typed password,
// a request that carries one) and empties it.
void WipeSecret(std::string& text);
