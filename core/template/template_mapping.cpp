#include "core/template/template_mapping.h"

#include "core/model/preview_obj.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace kalvo {

namespace {

// The on-screen area the template first gets: the zoom halves until the template fits.
constexpr double kFitWidth = 640.0;
constexpr double kFitHeight = 480.0;

// Pixels per unit for a side of `pixels` over `range` units. A zero range (all u or all v
// equal, as in every DXF model) and ranges too wide for a double are scaled as if the range
// were 1, so that the inverse mappings never divide by zero.
double ScaleFor(int pixels, double range)
{
    const double scale = pixels / range;
    if (range != 0.0 && std::isfinite(scale) && scale > 0.0)
        return scale;
    return static_cast<double>(pixels);
}

} // namespace

std::uint64_t PhysicalMemoryBytes()
{
    if (const char* given = std::getenv("KALVO3D_MEMORY")) {
        std::uint64_t bytes = 0;
        const char* end = given + std::strlen(given);
        const auto [ptr, error] = std::from_chars(given, end, bytes);
        if (error == std::errc() && ptr == end && bytes > 0)
            return bytes;
    }
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return std::uint64_t(pages) * std::uint64_t(pageSize);
}

std::string MemoryText(std::uint64_t bytes)
{
    constexpr double kMiB = 1024.0 * 1024.0;
    const double mib = static_cast<double>(bytes) / kMiB;
    // to_chars: the text must not take the locale's decimal comma.
    char text[32];
    const bool gib = mib >= 1024.0;
    const auto end =
        gib ? std::to_chars(text, text + sizeof text, mib / 1024.0, std::chars_format::fixed, 1)
            : std::to_chars(text, text + sizeof text, std::ceil(mib), std::chars_format::fixed, 0);
    return std::string(text, end.ptr) + (gib ? " GiB" : " MiB");
}

int NearestInt(double value)
{
    if (!(value == value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

bool TTemplateMapping::Setup(const TpreviewObj* model, int width, int height)
{
    if (!IsValidTemplateSize(width, height))
        return false;
    TemplateWidth = width;
    TemplateHeight = height;
    Zoom = 1.0;
    while (width * Zoom > kFitWidth || height * Zoom > kFitHeight)
        Zoom /= 2.0;

    const double minU = model ? model->MinU : 0.0;
    const double maxU = model ? model->MaxU : 0.0;
    const double minV = model ? model->MinV : 0.0;
    const double maxV = model ? model->MaxV : 0.0;
    NegMinV = -minV;
    NegMinU = -minU;
    VRange = maxV - minV;
    URange = maxU - minU;
    UScale = ScaleFor(width, URange);
    VScale = ScaleFor(height, VRange);
    return true;
}

TTemplatePoint TTemplateMapping::UVToTemplate(double u, double v) const
{
    const double a = u + NegMinU;
    const double b = v + NegMinV;
    switch (Orientation) {
    case 1:
        return {b * UScale, a * VScale};
    case 2:
        return {(URange - a) * UScale, b * VScale};
    case 3:
        return {(VRange - b) * UScale, (URange - a) * VScale};
    default:
        return {a * UScale, (VRange - b) * VScale};
    }
}

TUVPoint TTemplateMapping::PixelToUV(double x, double y) const
{
    const double z = Zoom;
    const double minU = -NegMinU;
    const double minV = -NegMinV;
    switch (Orientation) {
    case 1:
        return {y / VScale / z + minU, x / UScale / z + minV};
    case 2:
        return {URange - x / UScale / z + minU, y / VScale / z + minV};
    case 3:
        return {URange - y / VScale / z + minU, VRange - x / UScale / z + minV};
    default:
        return {x / UScale / z + minU, VRange - y / VScale / z + minV};
    }
}

TUVPoint TTemplateMapping::PixelDeltaToUV(double dx, double dy) const
{
    const double z = Zoom;
    switch (Orientation) {
    case 1:
        return {dy / VScale / z, dx / UScale / z};
    case 2:
        return {-dx / UScale / z, dy / VScale / z};
    case 3:
        return {-dy / VScale / z, -dx / UScale / z};
    default:
        return {dx / UScale / z, -dy / VScale / z};
    }
}

double TTemplateMapping::PickRadius() const { return 4.0 / UScale / Zoom; }

void TTemplateMapping::ScreenPosition(double u, double v, double zoom, int& x, int& y) const
{
    const TTemplatePoint p = UVToTemplate(u, v);
    x = NearestInt(p.x * zoom);
    y = NearestInt(p.y * zoom);
}

} // namespace kalvo
