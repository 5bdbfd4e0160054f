// The K-line chart of one stock: a price panel of bars (close line,
// candles or OHLC bars) with MA5, MA10 and MA30, a volume panel, one
// indicator panel whose values come from the server, the information strip
// of the selected bar, and the legends. It owns the K-line data; its frame
// hands it each reply and it asks its host (IKXChartHost, which the frame
// implements) for older bars when the user scrolls near the oldest one.
//
// The picture holds the frames, scales, bars and lines; the strip and the
// legends are drawn over it, whole after the picture and then only the
// values that changed, and the cursor (a cross with a button under it that
// opens the day's minute chart) on every paint. The arithmetic is in
// KLineMath.h, the indicator panel is drawn by CKXIndicatorPainter.
//
// The cursor is a slot relative to the first visible bar and never leaves
// 0 .. visible − 1 (nor the bars held). The host may be null (tests):
// then nothing is asked of it.
#pragma once

#include "platform/gdi/CImage.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CKXData.h"
#include "quotes/charts/KLineMath.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

class IKXChartHost;

class CKXChartView : public CChartCanvas {
public:
    static constexpr size_t kTitleChars = 63;
    static constexpr int kVolumeColor = 28;
    static constexpr int kGridColor = 12;
    static constexpr int kDateColor = 21;
    // The minute-chart image the cursor button shows without "fs.png".
    static constexpr int kMinuteChartImage = 122;

    CKXChartView(const CKLineMetrics& metrics, IKXChartHost* owner);
    ~CKXChartView() override;

    // Stores the metrics, counts the visible bars again and shows the
    // newest ones.
    void SetBarMetrics(const CKLineMetrics& metrics);
    const CKLineMetrics& GetBarMetrics() const { return m_metrics; }
    // Taken when shorter than 64 characters.
    void SetTitle(std::u16string_view title);
    const std::u16string& GetTitle() const { return m_title; }
    // A non-empty name becomes the indicator key.
    void SetTechName(std::string_view name);
    const std::string& GetTechName() const { return m_techName; }
    // Forgets the bars and the stock.
    void Reset();
    // Merges a reply the data accepts; returns the bars it added.
    int AddReply(CDataSetList& list);
    CKXData& GetData() { return *m_data; }
    std::string GetFirstDate() const { return m_data->GetFirstDate(); }
    std::string GetFirstTime() const { return m_data->GetFirstTime(); }

    int GetFirstVisible() const { return m_first; }
    int GetVisibleCount() const { return m_slotCount; }
    const CKLinePanels& GetPanels() const { return m_panels; }
    const CKLineRanges& GetRanges() const { return m_ranges; }
    // The cursor button (chart coordinates); empty while the cursor is hidden.
    const CRect& GetCursorButton() const { return m_buttonRect; }
    // The bar index the cursor selects, −1 without one.
    int GetSelectedBar() const;
    // "date=<date>&code=<code>.<market>" of the selected bar for the day's
    // minute chart; empty when it is no plain value or has no date.
    std::string MinuteChartRequest() const;

    // Recomputes the ranges of the visible bars.
    void CalcVisibleRanges();
    // A scroll step (see KLineScrollStep).
    void Scroll(int step);

    // ---- CChartCanvas ----
    void CalcRanges() override;
    void DrawTimeAxis(CDC& dc) override;
    void DrawScale(CDC& dc) override;
    std::vector<std::u16string> ScaleLabelTexts() const override;
    void OnLabelColumnChanged(int previousSlots) override;
    void DrawLines(CDC& dc) override;
    void DrawLegends(CDC& dc, bool hasData) override;
    void DrawTitle(CDC& dc) override;
    void LayoutPortrait(CSize label, const CRect& area) override;
    void LayoutLandscape(CSize label, const CRect& area) override;
    void OnTouch(CChartWnd* owner, UINT message, int x, int y) override;
    void SetCursor(int index, int extra) override;
    void DrawCursorLine(CDC& dc) override;
    void ToggleCursor() override;
    void GetLegendRects(std::vector<CRect>& rects) override;
    void GetCursorRects(std::vector<CRect>& rects) override;
    void GetDrawnLegendRects(std::vector<CRect>& rects) override;

protected:
    void OnPictureRendered() override { m_legendsShown = false; }

private:
    void AfterLayout(bool portrait);
    void PlaceCursorButton();
    // Where the cursor goes: its lines and button (m_cursorParts).
    void CalcCursorParts();
    void DrawBars(CDC& dc);
    void DrawStrip(CDC& dc, const std::array<CKLineCell, 9>& cells);
    // The strip's cell k.
    CRect StripCell(int k) const;
    // Draws value left-aligned in r over was, the value shown there,
    // touching only its line (lineHeight high, within limit) as far as the
    // longer of the two reaches.
    void RedrawValue(CDC& dc, const CRect& r, const CRect& limit, int lineHeight, const std::u16string& was,
                     const std::u16string& value, COLORREF color);
    void DrawMaRow(CDC& dc, const std::array<CKLineLegendItem, 3>& ma);
    void DrawTechRow(CDC& dc, const CKLineTechLegend& legend);
    CRect MaRow() const;
    CRect TechRow() const;
    // The items one after another from x in row.
    void DrawLegendItems(CDC& dc, int x, const CRect& row, const std::vector<CKLineLegendItem>& items);
    // Redraws the indicator's items over those of was, the title kept.
    void RedrawTechItems(CDC& dc, const CKLineTechLegend& was, const CKLineTechLegend& legend, int lineHeight);
    // The items' advance, one after another, in the dc's font.
    static int ItemsWidth(CDC& dc, const std::vector<CKLineLegendItem>& items);
    // How far a line's ink may reach past its advance: a glyph's right
    // side bearing is negative now and then.
    static int InkOverhang(int lineHeight) { return lineHeight / 4; }

    std::unique_ptr<CImage> m_buttonImage; // "fs.png", loaded on first use
    bool m_buttonImageTried = false;
    int m_lastTouchX = 0;
    IKXChartHost* m_owner = nullptr;        // not owned
    std::unique_ptr<CKXData> m_data;
    std::string m_techName;
    int m_first = 0;                        // the bar in the leftmost slot
    CKLinePanels m_panels;
    bool m_buttonArmed = false;
    CRect m_buttonRect;                     // chart coordinates, empty when hidden
    CRect m_squares[2];                     // the two top-right squares (portrait)
    CKLineRanges m_ranges;
    // The ranges of every held bar, for the label column; dropped whenever
    // the bars, the indicator or the ranges are taken in again.
    mutable std::optional<CKLineRanges> m_allBarRanges;
    CKLineMetrics m_metrics;
    std::u16string m_title = u"K线图";
    bool m_portrait = true;
    std::vector<CRect> m_cursorParts;       // what the cursor covers (its lines and button)
    int m_cursorY = -1;                     // its price line, −1 without one
    // The legends the picture holds, so a cursor move redraws only the
    // cells that changed.
    bool m_legendsShown = false;
    std::array<CKLineCell, 9> m_shownCells;
    std::array<int, 9> m_stripValueX{};     // where each strip value starts
    std::array<int, 3> m_maValueX{};        // and each moving average's
    int m_techItemsX = 0;                   // where the indicator's items start
    std::array<CKLineLegendItem, 3> m_shownMa;
    CKLineTechLegend m_shownTech;
    std::vector<CRect> m_legendsDrawn;      // what the last DrawLegends drew
};
