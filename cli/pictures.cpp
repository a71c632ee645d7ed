#include "cli/pictures.h"

#include "core/base/text.h"
#include "core/preview/canvas.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdint>

namespace kalvo::cli {

bool ReadPicture(const std::string& path, TCanvas& canvas, std::string& error)
{
    QImageReader reader(QString::fromStdString(path));
    QImage image = reader.read();
    if (image.isNull()) {
        error = "cannot read the picture " + path + ": " + reader.errorString().toStdString();
        return false;
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    canvas.SetSize(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::uint32_t* out = canvas.Pixels() + static_cast<std::size_t>(y) * image.width();
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t argb = row[x];
            out[x] = ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
        }
    }
    return true;
}

bool WritePicture(const TCanvas& canvas, const std::string& path, const char* format)
{
    QImage image(canvas.Width(), canvas.Height(), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    CanvasToScreen(canvas, reinterpret_cast<std::uint32_t*>(image.bits()),
                   static_cast<int>(image.bytesPerLine() / 4));
    return image.save(QString::fromStdString(path), format);
}

const char* PictureFormatOf(const std::string& path)
{
    const std::string extension =
        AsciiLowered(path.size() >= 4 ? path.substr(path.size() - 4) : "");
    if (extension == ".png")
        return "PNG";
    if (extension == ".bmp")
        return "BMP";
    return nullptr;
}

} // namespace kalvo::cli
