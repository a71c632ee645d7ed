// --uv on the command line: a cylinder laid out by projection, seen on its template and in
// the texture preview across the seam.

#include "tests/support/test_paths.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalvo {
namespace {

constexpr int kSegments = 16;

// A cylinder of radius 2 and height 3 about the Z axis, each side quad written as two
// triangles whose diagonal runs from the bottom of one column to the top of the next.
std::string CylinderDxf()
{
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    const auto corner = [&text](int index, int column, double z) {
        const double angle = 2 * 3.14159265358979323846 * column / kSegments;
        const double xyz[3] = {2 * std::cos(angle), 2 * std::sin(angle), z};
        for (int axis = 0; axis < 3; ++axis)
            text +=
                std::to_string(10 * (axis + 1) + index) + "\n" + std::to_string(xyz[axis]) + "\n";
    };
    for (int i = 0; i < kSegments; ++i) {
        text += "0\n3DFACE\n8\n0\n";
        corner(0, i, 0);
        corner(1, i + 1, 0);
        corner(2, i + 1, 3);
        text += "0\n3DFACE\n8\n0\n";
        corner(0, i, 0);
        corner(1, i + 1, 3);
        corner(2, i, 3);
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

class UvCommandLine : public testing::Test
{
protected:
    std::string dir_ = test::MakeTempDir();

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    int Run(const std::vector<std::string>& arguments) const
    {
        std::string command = "'" + std::string(KALVO_BIN_DIR) + "/kalvo3d-cli'";
        for (const std::string& argument : arguments)
            command += " '" + argument + "'";
        command += " >/dev/null 2>/dev/null";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    std::string Cylinder() const
    {
        test::WriteFileBytes(Path("cylinder.dxf"), CylinderDxf());
        return Path("cylinder.dxf");
    }
};

TEST_F(UvCommandLine, CylinderTemplateCrossesTheSeamTheShortWay)
{
    ASSERT_EQ(Run({"template", Cylinder(), "--uv", "cylinder-z", "-o", Path("t.png")}), 0);
    const QImage image(QString::fromStdString(Path("t.png")));
    ASSERT_EQ(image.size(), QSize(640, 480));
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                return a.second < b.second;
                            })->first;
    // The sides standing along v (all of them span the whole height) are drawn where they
    // stand, not folded onto the v seam: every column and every diagonal meets row 240.
    int crossings = 0;
    for (int x = 1; x < 640; ++x)
        crossings += image.pixel(x, 240) != background && image.pixel(x - 1, 240) == background;
    EXPECT_GE(crossings, 2 * kSegments - 2);
    // Column 12 stands at -Y, where u = 0: the seam. The diagonal before it runs from
    // u = 15/16 at the bottom to u = 1 at the top, so at v = 0.3 (row 336) it comes back at the
    // right edge (u = 15.3/16, x 612); taken the long way it would cross the middle at
    // u = 10.5/16 (x 420), where no other edge passes.
    const auto meshNear = [&](int x) {
        for (int dx = -2; dx <= 2; ++dx)
            if (image.pixel(x + dx, 336) != background)
                return true;
        return false;
    };
    EXPECT_TRUE(meshNear(612));
    EXPECT_FALSE(meshNear(420));
}

TEST_F(UvCommandLine, CylinderTexturePreviewShowsNoBandAtTheSeam)
{
    // Texture in four bands along u: red, green, blue, yellow. Seen from -Y the seam is in
    // the middle: yellow (u just under 1) to the left, red (u just over 0) to the right, and
    // nothing of the green and blue bands that a side interpolated across the whole range
    // would smear over the seam.
    QImage texture(64, 8, QImage::Format_RGB32);
    const QRgb bands[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            texture.setPixel(x, y, bands[x / 16]);
    ASSERT_TRUE(texture.save(QString::fromStdString(Path("bands.bmp"))));
    ASSERT_EQ(Run({"render", Cylinder(), "--uv", "cylinder-z", "--texture", Path("bands.bmp"),
                   "--mode", "3", "--angles", "90,0", "--distance", "15", "--target", "0,0,1.5",
                   "-o", Path("r.png")}),
              0);
    const QImage image(QString::fromStdString(Path("r.png")));
    int yellow = 0, red = 0, other = 0, lastYellow = -1, firstRed = 10000;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, 240);
        const bool redish = c.red() > 150 && c.green() < 100 && c.blue() < 100;
        const bool yellowish = c.red() > 150 && c.green() > 150 && c.blue() < 100;
        const bool band = (c.green() > 150 && c.red() < 100) || (c.blue() > 150 && c.red() < 100);
        yellow += yellowish;
        red += redish;
        other += band;
        if (yellowish)
            lastYellow = x;
        if (redish)
            firstRed = std::min(firstRed, x);
    }
    EXPECT_EQ(other, 0);
    EXPECT_GT(yellow, 50);
    EXPECT_GT(red, 50);
    EXPECT_LT(lastYellow, firstRed);
    EXPECT_NEAR(lastYellow, 320, 4);
}

// A cube of six 3DFACE squares over 0..2, sharing its eight corners.
std::string CubeDxf()
{
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {1, 3, 7, 5}, {3, 2, 6, 7}, {2, 0, 4, 6}};
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (const auto& face : faces) {
        text += "0\n3DFACE\n8\n0\n";
        for (int k = 0; k < 4; ++k)
            for (int axis = 0; axis < 3; ++axis)
                text += std::to_string(10 * (axis + 1) + k) + "\n" +
                        (face[k] >> axis & 1 ? "2" : "0") + "\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

// The groups of 8-connected pixels other than the corner pixel's colour.
int Pieces(QImage image)
{
    const QRgb background = image.pixel(0, 0);
    int pieces = 0;
    std::vector<QPoint> stack;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background)
                continue;
            ++pieces;
            stack.push_back({x, y});
            image.setPixel(x, y, background);
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint q(p.x() + dx, p.y() + dy);
                        if (image.rect().contains(q) && image.pixel(q) != background) {
                            image.setPixel(q, background);
                            stack.push_back(q);
                        }
                    }
            }
        }
    }
    return pieces;
}

TEST_F(UvCommandLine, BoxLaysACubeOutAsSixSeparateSquaresThatSurviveRds)
{
    test::WriteFileBytes(Path("cube.dxf"), CubeDxf());
    ASSERT_EQ(Run({"template", Path("cube.dxf"), "--uv", "box", "-o", Path("t.png")}), 0);
    EXPECT_EQ(Pieces(QImage(QString::fromStdString(Path("t.png")))), 6);
    // Written with its seams and read back, the cube keeps them.
    ASSERT_EQ(Run({"convert", Path("cube.dxf"), "--uv", "box", "-o", Path("cube.rds")}), 0);
    ASSERT_EQ(Run({"template", Path("cube.rds"), "-o", Path("back.png")}), 0);
    EXPECT_EQ(Pieces(QImage(QString::fromStdString(Path("back.png")))), 6);
}

TEST_F(UvCommandLine, ObjConvertsToRdsKeepingItsUvs)
{
    // A square and a triangle that meets it at (0, 0, 0) with another (u, v) there: a seam,
    // whose two sides both reach the file.
    test::WriteFileBytes(Path("seam.obj"), "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 0 0\n"
                                           "vt 0.125 0.25\nvt 0.875 0.25\nvt 0.875 0.75\n"
                                           "vt 0.125 0.75\nvt 0.5 0.5\nvt 0.25 0.5\n"
                                           "f 1/1 2/2 3/3 4/4\nf 1/5 4/4 5/6\n");
    ASSERT_EQ(Run({"convert", Path("seam.obj"), "-o", Path("seam.rds")}), 0);
    const std::string rds = test::ReadFileBytes(Path("seam.rds"));
    for (const char* uv :
         {"0.12500000,0.25000000", "0.87500000,0.25000000", "0.87500000,0.75000000",
          "0.12500000,0.75000000", "0.50000000,0.50000000", "0.25000000,0.50000000"})
        EXPECT_NE(rds.find(std::string("UV ") + uv + "\r\n"), std::string::npos) << uv;
}

TEST_F(UvCommandLine, UnknownProjectionIsAUsageError)
{
    EXPECT_EQ(Run({"convert", Cylinder(), "--uv", "cylinder", "-o", Path("out.rds")}), 2);
}

} // namespace
} // namespace kalvo
