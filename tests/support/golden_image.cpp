#include "tests/support/golden_image.h"

#include "tests/support/test_paths.h"

#include <QImage>
#include <sstream>

namespace kalvo::test {

namespace {

QImage ToImage(const std::uint32_t* pixels, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pixels[static_cast<std::size_t>(y) * width + x];
            row[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    return image;
}

// A binary PPM (red, green, blue bytes), written by hand so that a rewritten golden file keeps
// exactly the layout of the ones in the tree.
std::string ToPpm(const QImage& image)
{
    std::string out =
        "P6\n" + std::to_string(image.width()) + " " + std::to_string(image.height()) + "\n255\n";
    out.reserve(out.size() + static_cast<std::size_t>(image.width()) * image.height() * 3);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out += static_cast<char>(qRed(row[x]));
            out += static_cast<char>(qGreen(row[x]));
            out += static_cast<char>(qBlue(row[x]));
        }
    }
    return out;
}

std::string Hex(QRgb colour)
{
    // Shown as the program writes colours: 0x00BBGGRR.
    const unsigned value = qRed(colour) | (qGreen(colour) << 8) | (qBlue(colour) << 16);
    std::ostringstream text;
    text << "0x" << std::hex << value;
    return text.str();
}

} // namespace

std::string CompareImageWithGolden(const std::string& name, const std::uint32_t* pixels, int width,
                                   int height)
{
    const std::string path = DataPath("golden/" + name);
    const QImage actual = ToImage(pixels, width, height);
    if (UpdatingGoldens()) {
        if (name.ends_with(".ppm"))
            WriteFileBytes(path, ToPpm(actual));
        else if (!actual.save(QString::fromStdString(path)))
            return "cannot write " + path;
        return "";
    }
    QImage expected(QString::fromStdString(path));
    if (expected.isNull()) {
        actual.save(QString::fromStdString(path + ".actual.png"));
        return "golden picture " + path + " is missing; wrote " + path + ".actual.png";
    }
    expected = expected.convertToFormat(QImage::Format_RGB32);
    if (expected.size() != actual.size()) {
        actual.save(QString::fromStdString(path + ".actual.png"));
        std::ostringstream message;
        message << name << ": drawn " << width << " x " << height << ", golden " << expected.width()
                << " x " << expected.height() << "; wrote " << path << ".actual.png";
        return message.str();
    }
    QImage diff(width, height, QImage::Format_RGB32);
    long differing = 0;
    std::ostringstream first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb want = expected.pixel(x, y) | 0xFF000000u;
            const QRgb got = actual.pixel(x, y) | 0xFF000000u;
            if (want == got) {
                diff.setPixel(
                    x, y,
                    qRgb(128 + qRed(want) / 2, 128 + qGreen(want) / 2, 128 + qBlue(want) / 2));
                continue;
            }
            diff.setPixel(x, y, qRgb(255, 0, 255));
            if (differing < 8)
                first << "\n  (" << x << ", " << y << "): golden " << Hex(want) << ", drawn "
                      << Hex(got);
            ++differing;
        }
    }
    if (differing == 0)
        return "";
    actual.save(QString::fromStdString(path + ".actual.png"));
    diff.save(QString::fromStdString(path + ".diff.png"));
    std::ostringstream message;
    message << name << ": " << differing << " pixel(s) differ; wrote " << path << ".actual.png and "
            << path << ".diff.png" << first.str()
            << "\n(if the change is intended: KALVO_UPDATE_GOLDENS=1 rewrites the golden files)";
    return message.str();
}

} // namespace kalvo::test
