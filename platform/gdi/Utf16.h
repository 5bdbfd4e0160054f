// UTF-16 ⇄ code point conversion for the drawing layer: windows pass text as
// UTF-16, glyphs are looked up by code point.
#pragma once

#include <string>
#include <string_view>

// Decodes UTF-16, joining surrogate pairs; a lone surrogate becomes U+FFFD.
std::u32string DecodeUtf16(std::u16string_view text);
// Encodes code points as UTF-16; values above U+10FFFF or in the surrogate
// range become U+FFFD.
std::u16string EncodeUtf16(std::u32string_view text);
