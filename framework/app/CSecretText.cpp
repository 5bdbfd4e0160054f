// Secret text with zeroing on every release.
#include "framework/app/CSecretText.h"

#include <cstring>

void CSecretText::Assign(std::string_view text) {
    Clear();
    if (text.empty()) {
        return;
    }
    m_data = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(m_data.get(), text.data(), text.size());
    m_data[text.size()] = '\0';
    m_length = text.size();
}

void CSecretText::Clear() {
    if (m_data) {
        explicit_bzero(m_data.get(), m_length + 1);
        m_data.reset();
    }
    m_length = 0;
}

void WipeSecret(std::string& text) {
    if (!text.empty())
        explicit_bzero(text.data(), text.size());
    text.clear();
}
