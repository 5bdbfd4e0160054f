// Text of the device context (see CDC.h): layout into lines (breaks,
// ellipsis), glyphs blended onto the surface, and the text log.
#include "platform/gdi/CDC.h"
#include "platform/system/ThreadSlot.h"

#include "platform/gdi/CBlendMemo.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/CGlyphBlendCache.h"
#include "platform/gdi/CTextRunCache.h"
#include "platform/gdi/DCPixels.h"
#include "platform/gdi/Utf16.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace dcpixels;

namespace {
constexpr char32_t kEllipsis = U'\u2026';

// Break opportunities for word wrapping: after a space, and on either side of
// a wide (CJK) character, which Chinese text breaks between.
bool IsSpace(char32_t c) { return c == U' ' || c == U'\t' || c == 0x3000; }
bool IsWide(char32_t c) { return c >= 0x2E80; }

// The glyphs of the last line laid out on this thread: drawing, which
// follows the layout, takes them instead of looking them up again.
struct CLaidLine {
    std::u32string text;
    int height = -1, weight = -1;
    std::vector<std::shared_ptr<const CFontEngine::CGlyph>> glyphs;
    // What drawing takes: this line's own, or a remembered layout's.
    const std::u32string* shownText = &text;
    const std::vector<std::shared_ptr<const CFontEngine::CGlyph>>* shownGlyphs = &glyphs;
};
CLaidLine& LastLaidLine() {
    static CThreadSlot<CLaidLine> line;
    return line.Get();
}
// Forgets the laid line when the call that laid it out returns, so no
// later call takes glyphs of a face loaded since.
struct CLaidLineScope {
    CLaidLineScope() = default;
    CLaidLineScope(const CLaidLineScope&) = delete;
    CLaidLineScope& operator=(const CLaidLineScope&) = delete;
    ~CLaidLineScope() {
        CLaidLine& line = LastLaidLine();
        line.height = -1;
        line.shownText = &line.text;
        line.shownGlyphs = &line.glyphs;
    }
};

// Single lines laid out lately on this thread, with their glyphs: a table
// lays out the same cells at every repaint. A layout holds for its text,
// font, format, width and face.
template <class Line>
struct CLaidText {
    std::u16string text;
    int height = -1, weight = -1, maxWidth = 0;
    unsigned format = 0;
    std::uint64_t faceCount = 0;
    std::vector<Line> lines;
    std::vector<std::shared_ptr<const CFontEngine::CGlyph>> glyphs; // of lines[0]
};
constexpr size_t kLaidTexts = 512;
// The formats that change a single line's layout; its width only counts
// when it may cut the line.
constexpr unsigned kLayoutFormat = DT_SINGLELINE | DT_END_ELLIPSIS;

template <class Line>
CLaidText<Line>& LaidTextSlot(std::u16string_view text, int height, int weight, unsigned format, int maxWidth) {
    struct CSlots {
        std::vector<CLaidText<Line>> slots = std::vector<CLaidText<Line>>(kLaidTexts);
    };
    static CThreadSlot<CSlots> perThread;
    std::vector<CLaidText<Line>>& slots = perThread.Get().slots;
    auto bits = [](int v) { return std::uint64_t{static_cast<unsigned>(v)}; };
    std::uint64_t h = (bits(height) << 40) ^ (bits(weight) << 20) ^ (bits(maxWidth) << 8) ^ format;
    for (char16_t c : text)
        h = (h ^ c) * 0x9E3779B97F4A7C15ull;
    return slots[static_cast<size_t>(h >> 40) & (kLaidTexts - 1)];
}

// Draws the line's glyphs with pen and baseline at (x, y) as one kept run
// when every pixel they ink inside clip lies on one plain ground; false
// (nothing drawn) otherwise.
bool DrawRun(CSurface& surface, const std::vector<std::shared_ptr<const CFontEngine::CGlyph>>& glyphs, int x, int y,
             COLORREF color, const CRect& clip) {
    // Calls each(surface row, first column, run row, first run column,
    // count) for the run's inked spans inside clip, while it returns true.
    auto spansInside = [&](const CTextRun& run, auto&& each) {
        const int left = x + run.left, top = y + run.top;
        const int bx0 = std::max(0, clip.left - left), by0 = std::max(0, clip.top - top);
        const int bx1 = std::min(run.width, clip.right - left), by1 = std::min(run.height, clip.bottom - top);
        for (int ry = by0; ry < by1; ++ry) {
            const CTextRun::CSpan s = run.spans[static_cast<size_t>(ry)];
            const int from = std::max(s.begin, bx0), to = std::min(s.end, bx1);
            if (from < to && !each(surface.Row(top + ry) + left + from, ry, from, static_cast<size_t>(to - from)))
                return;
        }
    };
    bool shown = false;
    const CTextRun* run = CTextRunCache::ForThread().Find(
        glyphs, color,
        [&](const CTextRun& shape) -> std::optional<COLORREF> {
            COLORREF ground = 0;
            bool plain = true;
            spansInside(shape, [&](const COLORREF* p, int, int, size_t n) {
                if (!shown) {
                    shown = true;
                    ground = *p;
                }
                plain = IsPlain(p, n, ground);
                return plain;
            });
            if (!shown || !plain)
                return std::nullopt;
            return ground;
        },
        CBlendMemo::ForThread());
    if (!run)
        return false;
    spansInside(*run, [&](COLORREF* p, int ry, int rx, size_t n) {
        std::memcpy(p, run->pixels.data() + static_cast<size_t>(ry) * run->width + rx, sizeof(COLORREF) * n);
        return true;
    });
    return true;
}

CRect Union(const CRect& a, const CRect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}
} // namespace

int CDC::LineHeight() const { return std::clamp(m_font.height, 0, kMaxFontHeight); }

int CDC::LineWidth(const std::u32string& line) const {
    return CFontEngine::Instance().LineAdvance(LineHeight(), m_font.weight, line);
}

std::vector<CDC::TextLine> CDC::LayoutText(std::u16string_view text, int maxWidth, unsigned format) const {
    std::u32string all = DecodeUtf16(text);
    std::vector<std::u32string> paragraphs;
    if (format & DT_SINGLELINE) {
        if (all.find_first_of(U"\r\n") != std::u32string::npos)
            std::erase_if(all, [](char32_t c) { return c == U'\r' || c == U'\n'; });
        paragraphs.push_back(std::move(all));
    } else {
        std::u32string cur;
        for (char32_t c : all) {
            if (c == U'\n') {
                paragraphs.push_back(std::move(cur));
                cur.clear();
            } else if (c != U'\r') {
                cur.push_back(c);
            }
        }
        paragraphs.push_back(std::move(cur));
    }

    auto& engine = CFontEngine::Instance();
    auto advance = [&](char32_t c) { return engine.Advance(LineHeight(), m_font.weight, c); };
    std::vector<TextLine> lines;
    bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    for (auto& para : paragraphs) {
        if (!wrap) {
            CLaidLine& laid = LastLaidLine();
            engine.LineGlyphs(LineHeight(), m_font.weight, para, laid.glyphs);
            laid.text.assign(para);
            laid.shownText = &laid.text;
            laid.shownGlyphs = &laid.glyphs;
            laid.height = LineHeight();
            laid.weight = m_font.weight;
            int width = 0;
            for (const auto& glyph : laid.glyphs)
                width += glyph->advance;
            lines.push_back({para, width});
            continue;
        }
        // Greedy wrapping: take characters while they fit; on overflow go back
        // to the last break opportunity, or break inside a word too long alone.
        size_t start = 0;
        do {
            int width = 0;
            size_t end = start, lastBreak = std::string::npos;
            while (end < para.size()) {
                int a = advance(para[end]);
                if (width + a > maxWidth && end > start && !IsSpace(para[end]))
                    break;
                width += a;
                ++end;
                if (IsSpace(para[end - 1]) || IsWide(para[end - 1]) || (end < para.size() && IsWide(para[end])))
                    lastBreak = end;
            }
            if (end < para.size() && lastBreak != std::string::npos && lastBreak > start)
                end = lastBreak;
            std::u32string line = para.substr(start, end - start);
            while (!line.empty() && IsSpace(line.back()))
                line.pop_back();
            start = end;
            while (start < para.size() && IsSpace(para[start]))
                ++start;
            lines.push_back({line, LineWidth(line)});
        } while (start < para.size());
    }

    if (format & DT_END_ELLIPSIS) {
        int ellipsis = -1; // looked up only for a line too long
        for (auto& line : lines) {
            if (line.width <= maxWidth)
                continue;
            if (ellipsis < 0)
                ellipsis = advance(kEllipsis);
            int width = 0;
            size_t keep = 0;
            while (keep < line.text.size() && width + advance(line.text[keep]) + ellipsis <= maxWidth)
                width += advance(line.text[keep++]);
            line.text.resize(keep);
            line.text.push_back(kEllipsis);
            line.width = width + ellipsis;
        }
    }
    return lines;
}

void CDC::DrawTextLine(const TextLine& line, int x, int y, const CRect& surfaceClip) {
    if (!m_surface)
        return;
    CRect cell = CRect{x, y, x + line.width, y + LineHeight()}.Offset(m_origin.x, m_origin.y);
    if (m_bkMode == OPAQUE)
        FillSurfaceRect(cell.Intersect(surfaceClip), m_bkColor);
    auto& engine = CFontEngine::Instance();
    int baseline = cell.top + engine.Ascent(LineHeight());
    int pen = cell.left;
    const COLORREF color = m_textColor & 0x00FFFFFF;
    CBlendMemo& memo = CBlendMemo::ForThread();
    CGlyphBlendCache& drawn = CGlyphBlendCache::ForThread();
    const CLaidLine& laid = LastLaidLine();
    static CThreadSlot<std::vector<std::shared_ptr<const CFontEngine::CGlyph>>> fetchedSlot;
    std::vector<std::shared_ptr<const CFontEngine::CGlyph>>& fetched = fetchedSlot.Get();
    const bool laidOut = laid.height == LineHeight() && laid.weight == m_font.weight && *laid.shownText == line.text;
    if (!laidOut)
        engine.LineGlyphs(LineHeight(), m_font.weight, line.text, fetched);
    const auto& glyphs = laidOut ? *laid.shownGlyphs : fetched;
    if (DrawRun(*m_surface, glyphs, pen, baseline, color, surfaceClip))
        return;
    for (const auto& glyph : glyphs) {
        const CFontEngine::CGlyph& g = *glyph;
        int gx = pen + g.left, gy = baseline - g.top;
        CRect box = CRect{gx, gy, gx + g.width, gy + g.height}.Intersect(surfaceClip);
        // The glyph as drawn over the ground of its first plain row; a row
        // over another ground (a gradient's) is blended pixel by pixel.
        const bool keeps = CGlyphBlendCache::Keeps(g);
        const COLORREF* ready = nullptr;
        COLORREF readyGround = 0;
        for (int sy = box.top; sy < box.bottom; ++sy) {
            const CFontEngine::CGlyph::CInk ink = g.ink[static_cast<size_t>(sy - gy)];
            const size_t at = static_cast<size_t>(sy - gy) * g.width;
            COLORREF* row = m_surface->Row(sy);
            const int from = std::max(box.left, gx + ink.begin), to = std::min(box.right, gx + ink.end);
            if (from >= to)
                continue;
            if (keeps) {
                // Over a plain ground the row is a copy of the glyph drawn.
                const COLORREF ground = row[from];
                if ((!ready || readyGround == ground) && IsPlain(row + from, static_cast<size_t>(to - from), ground)) {
                    if (!ready) {
                        ready = drawn.Pixels(glyph, ground, color, memo);
                        readyGround = ground;
                    }
                    if (ready) {
                        std::memcpy(row + from, ready + at + (from - gx),
                                    sizeof(COLORREF) * static_cast<size_t>(to - from));
                        continue;
                    }
                }
            }
            // A pixel the glyph does not touch keeps its ground.
            const std::uint8_t* cov = g.coverage.data() + at;
            for (int sx = from; sx < to; ++sx)
                if (const int alpha = cov[sx - gx])
                    row[sx] = memo.Mix(row[sx], color, alpha);
        }
        pen += g.advance;
    }
}

void CDC::LogText(const std::vector<TextLine>& lines, const CRect& cells, const CRect& surfaceClip) {
    CRect shown = cells.Intersect(surfaceClip);
    if (!m_surface || shown.IsEmpty())
        return;
    if (!m_surface->LogsTexts())
        return;
    if (lines.size() == 1) {
        if (!lines[0].text.empty())
            m_surface->AddText({EncodeUtf16(lines[0].text), shown, m_textColor & 0x00FFFFFF});
        return;
    }
    std::u32string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined.push_back(U'\n');
        joined += lines[i].text;
    }
    if (joined.empty())
        return;
    m_surface->AddText({EncodeUtf16(joined), shown, m_textColor & 0x00FFFFFF});
}

CRect CDC::CalcTextRect(std::u16string_view text, const CRect& rect, unsigned format) const {
    const CRect r = Near(rect);
    const CLaidLineScope laid;
    auto lines = LayoutText(text, r.Width(), format);
    int width = 0;
    for (const auto& line : lines)
        width = std::max(width, line.width);
    return {r.left, r.top, r.left + width, r.top + static_cast<int>(lines.size()) * LineHeight()};
}

int CDC::DrawText(std::u16string_view text, const CRect& rect, unsigned format) {
    const CRect r = Near(rect);
    if ((format & DT_SINGLELINE) && !(format & (DT_NOCLIP | DT_CALCRECT)) && m_surface) {
        // A line kept inside r that would neither show nor be logged (a
        // partial repaint elsewhere) needs no layout: its height is one line.
        const CRect logClip = ToSurface(Normalized(r)).Intersect(m_logClip);
        if ((m_surface->LogsTexts() ? logClip : logClip.Intersect(m_clip)).IsEmpty())
            return LineHeight();
    }
    const CLaidLineScope laid;
    if ((format & DT_CALCRECT) || !m_surface)
        return static_cast<int>(LayoutText(text, r.Width(), format).size()) * LineHeight();
    std::vector<TextLine> fresh;
    const std::vector<TextLine>* laidLines = &fresh;
    if (format & DT_SINGLELINE) {
        const unsigned layout = format & kLayoutFormat;
        const int maxWidth = (format & DT_END_ELLIPSIS) ? r.Width() : 0;
        const std::uint64_t faceCount = CFontEngine::Instance().FaceCount();
        CLaidText<TextLine>& slot = LaidTextSlot<TextLine>(text, LineHeight(), m_font.weight, layout, maxWidth);
        if (slot.height != LineHeight() || slot.weight != m_font.weight || slot.format != layout ||
            slot.maxWidth != maxWidth || slot.faceCount != faceCount || slot.text != text) {
            slot.height = -1;
            slot.lines = LayoutText(text, r.Width(), format);
            const CLaidLine& last = LastLaidLine();
            if (slot.lines.size() != 1 || last.text != slot.lines[0].text)
                CFontEngine::Instance().LineGlyphs(LineHeight(), m_font.weight, slot.lines[0].text, slot.glyphs);
            else
                slot.glyphs = last.glyphs;
            slot.text.assign(text);
            slot.height = LineHeight();
            slot.weight = m_font.weight;
            slot.format = layout;
            slot.maxWidth = maxWidth;
            slot.faceCount = faceCount;
        }
        CLaidLine& last = LastLaidLine();
        last.height = LineHeight();
        last.weight = m_font.weight;
        last.shownText = &slot.lines[0].text;
        last.shownGlyphs = &slot.glyphs;
        laidLines = &slot.lines;
    } else {
        fresh = LayoutText(text, r.Width(), format);
    }
    const std::vector<TextLine>& lines = *laidLines;
    int height = static_cast<int>(lines.size()) * LineHeight();
    int y = r.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = r.top + (r.Height() - LineHeight()) / 2;
        else if (format & DT_BOTTOM)
            y = r.bottom - LineHeight();
    }
    const CRect logClip = (format & DT_NOCLIP) ? m_logClip : ToSurface(Normalized(r)).Intersect(m_logClip);
    const CRect clip = logClip.Intersect(m_clip);
    CRect cells;
    for (const auto& line : lines) {
        int x = r.left;
        if (format & DT_CENTER)
            x = r.left + (r.Width() - line.width) / 2;
        else if (format & DT_RIGHT)
            x = r.right - line.width;
        DrawTextLine(line, x, y, clip);
        cells = Union(cells, CRect{x, y, x + line.width, y + LineHeight()}.Offset(m_origin.x, m_origin.y));
        y += LineHeight();
    }
    LogText(lines, cells, logClip);
    return height;
}

void CDC::TextOut(int xIn, int yIn, std::u16string_view text) {
    const int x = Near(xIn), y = Near(yIn);
    TextLine line{DecodeUtf16(text), 0};
    line.width = LineWidth(line.text);
    DrawTextLine(line, x, y, m_clip);
    LogText({line}, CRect{x, y, x + line.width, y + LineHeight()}.Offset(m_origin.x, m_origin.y), m_logClip);
}

CSize CDC::GetTextExtent(std::u16string_view text) const {
    return {LineWidth(DecodeUtf16(text)), LineHeight()};
}

