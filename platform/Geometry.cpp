// Rectangle arithmetic that does not fit in the header.
#include "platform/Geometry.h"

std::vector<CRect> SubtractRects(const CRect& area, const std::vector<CRect>& holes) {
    std::vector<CRect> parts;
    if (area.IsEmpty())
        return parts;
    parts.push_back(area);
    for (const CRect& hole : holes) {
        std::vector<CRect> next;
        for (const CRect& part : parts) {
            const CRect cut = part.Intersect(hole);
            if (cut.IsEmpty()) {
                next.push_back(part);
                continue;
            }
            // Above, below, then the two sides of the cut's band.
            const CRect pieces[] = {{part.left, part.top, part.right, cut.top},
                                    {part.left, cut.bottom, part.right, part.bottom},
                                    {part.left, cut.top, cut.left, cut.bottom},
                                    {cut.right, cut.top, part.right, cut.bottom}};
            for (const CRect& piece : pieces)
                if (!piece.IsEmpty())
                    next.push_back(piece);
        }
        parts.swap(next);
    }
    return parts;
}
