#include "core/preview/ortho.h"

#include "core/preview/vector_math.h"

#include <array>
#include <cmath>

namespace kalvo {

int OrthoToPixel(double value, double centre, int sign, double scale, int half)
{
    return sign * RoundHalfEven((value - centre) * scale) + half;
}

double OrthoColumnToModel(int column, double centre, double scale, int halfWidth)
{
    return centre + (column - halfWidth) / scale;
}

double OrthoRowToModel(int row, double centre, int sign, double scale, int halfHeight, int height)
{
    if (sign < 0)
        return centre + (height - row - halfHeight) / scale;
    return centre + (row - halfHeight) / scale;
}

TPixel OrthoProject(int view, const VertexInput& p, const VertexInput& centre, double scale,
                    int halfWidth, int halfHeight)
{
    switch (view) {
    case kTopView:
        return {halfWidth + RoundHalfEven((p.y - centre.y) * scale),
                halfHeight + RoundHalfEven((p.x - centre.x) * scale)};
    case kSideView:
        return {halfWidth + RoundHalfEven((p.y - centre.y) * scale),
                halfHeight - RoundHalfEven((p.z - centre.z) * scale)};
    default:
        return {halfWidth - RoundHalfEven((p.x - centre.x) * scale),
                halfHeight - RoundHalfEven((p.z - centre.z) * scale)};
    }
}

std::span<const TZoomItem> ZoomItems()
{
    static constexpr std::array<TZoomItem, 11> kItems{{
        {"N3212", "1:32", 5, false},
        {"N1612", "1:16", 4, false},
        {"N812", "1:8", 3, false},
        {"N411", "1:4", 2, false},
        {"N212", "1:2", 1, false},
        {"N111", "1:1", 0, false},
        {"N211", "2:1", 1, true},
        {"N31", "4:1", 2, true},
        {"N811", "8:1", 3, true},
        {"N1611", "16:1", 4, true},
        {"N3211", "32:1", 5, true},
    }};
    return kItems;
}

double ZoomForItem(const TZoomItem& item)
{
    const double factor = std::ldexp(1.0, item.Tag);
    return item.Magnifies ? 10.0 / factor : 10.0 * factor;
}

bool ZoomIn(double& zoom)
{
    if (!(zoom > kMinOrthoZoom))
        return false;
    zoom /= 2.0;
    return true;
}

bool ZoomOut(double& zoom)
{
    if (!(zoom < kMaxOrthoZoom))
        return false;
    zoom *= 2.0;
    return true;
}

std::string ZoomLabel(double zoom)
{
    // The label names the zoom as the popup item that sets the same value does: 20 (twice
    // 10, so half the magnification) reads "1:2".
    const int n = RoundHalfEven(std::log2(zoom)) + 2;
    if (n < 5)
        return std::to_string(RoundHalfEven(std::ldexp(1.0, 5 - n))) + ":1";
    return "1:" + std::to_string(RoundHalfEven(std::ldexp(1.0, n - 5)));
}

} // namespace kalvo
