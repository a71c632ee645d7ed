#include "gui/template/template_pictures.h"

#include "core/preview/canvas.h"

#include <cstdint>

namespace kalvo {

void CanvasFromImage(const QImage& image, TCanvas& canvas)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    canvas.SetSize(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::uint32_t* out = canvas.Pixels() + static_cast<std::size_t>(y) * rgb.width();
        for (int x = 0; x < rgb.width(); ++x) {
            const std::uint32_t argb = row[x];
            out[x] = ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
        }
    }
}

QImage ImageFromCanvas(const TCanvas& canvas)
{
    QImage image(canvas.Width(), canvas.Height(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    CanvasToScreen(canvas, reinterpret_cast<std::uint32_t*>(image.bits()),
                   static_cast<int>(image.bytesPerLine() / 4));
    return image;
}

} // namespace kalvo
