// kalvo3d-cli template, and the texture options of render, run as a user would.

#include "tests/support/test_paths.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalvo {
namespace {

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A unit square standing in the XZ plane whose (u, v) cover the middle of the UV square.
const std::string kQuadRds = R"(3DC {
  asci 1
  vs "0.0"
}
sc {
  ob {
vmda {
  nm "Quad"
  xprm {
    PmSt {
Pmsh {
  CAng 30.00
  UVMo 4
  UPSA 0,1
  ABoo 0
  USMn 0.00,0.00
  USMx 1.00,1.00
  Vrts {
    VerS {
      Posn 0.00000000,0.00000000,0.00000000
      Flag 0
      UV 0.25000000,0.25000000
    }
    VerS {
      Posn 1.00000000,0.00000000,0.00000000
      Flag 0
      UV 0.75000000,0.25000000
    }
    VerS {
      Posn 1.00000000,0.00000000,1.00000000
      Flag 0
      UV 0.75000000,0.75000000
    }
    VerS {
      Posn 0.00000000,0.00000000,1.00000000
      Flag 0
      UV 0.25000000,0.75000000
    }
  }
  Edgs {
    EdgA 0,1
    EdgA 1,2
    EdgA 2,3
    EdgA 3,0
  }
  Pgns {
    PgSz 4
    Pgon 0,1,2,3
  }
}
    }
  }
}
}
)";

class TemplateCommandLine : public testing::Test
{
protected:
    std::string dir_ = test::MakeTempDir();

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        test::WriteFileBytes(Path(name), bytes);
        return Path(name);
    }

    int Run(const std::vector<std::string>& arguments, std::string* err = nullptr) const
    {
        std::string command = Quoted(std::string(KALVO_BIN_DIR) + "/kalvo3d-cli");
        // Appended piece by piece: GCC 12 at -O3 warns falsely on chained concatenation.
        for (const std::string& argument : arguments) {
            command += ' ';
            command += Quoted(argument);
        }
        command += " >/dev/null 2>";
        command += Quoted(Path("stderr"));
        const int raw = std::system(command.c_str());
        if (err)
            *err = test::ReadFileBytes(Path("stderr"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    // A 64 x 64 picture in four quarters: red, green (top), blue, yellow (bottom).
    std::string Quarters() const
    {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (x >= 32 || y >= 32)
                    image.setPixel(x, y, y < 32 ? 0xFF00FF00 : x < 32 ? 0xFF0000FF : 0xFFFFFF00);
        const std::string path = Path("quarters.bmp");
        image.save(QString::fromStdString(path), "BMP");
        return path;
    }
};

int CountPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return count;
}

QImage Load(const std::string& path) { return QImage(QString::fromStdString(path)); }

TEST_F(TemplateCommandLine, WritesTheLayoutInMeshColourOnTempColour)
{
    const std::string quad = Write("quad.rds", kQuadRds);
    ASSERT_EQ(Run({"template", quad, "-o", Path("t.png"), "--size", "64x48"}), 0);
    const QImage image = Load(Path("t.png"));
    ASSERT_EQ(image.size(), QSize(64, 48));
    // The square from (16, 12) to (48, 36), each side without its end pixel.
    EXPECT_EQ(CountPixels(image, qRgb(0, 0, 255)), 112);
    EXPECT_EQ(CountPixels(image, qRgb(255, 255, 255)), 64 * 48 - 112);
    EXPECT_EQ(image.pixel(32, 36) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(48, 24) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(TemplateCommandLine, TakesColoursFromTheSettingsAndTurnsAndMatchesTheRatio)
{
    const std::string quad = Write("quad.rds", kQuadRds);
    const std::string ini = Write("k.ini", "[Display]\nTempColor=0\nMeshColor=255\n");
    ASSERT_EQ(Run({"template", quad, "-o", Path("t.bmp"), "--size", "64x48", "--orientation", "3",
                   "--match-ratio", "--settings", ini}),
              0);
    const QImage image = Load(Path("t.bmp"));
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 4 * 32);
    EXPECT_EQ(CountPixels(image, qRgb(0, 0, 0)), 64 * 64 - 4 * 32);
}

TEST_F(TemplateCommandLine, RefusesWhatCannotMakeATemplate)
{
    const std::string quad = Write("quad.rds", kQuadRds);
    const std::vector<std::vector<std::string>> usage = {
        {"template", quad},
        {"template", quad, "-o", Path("t.jpg")},
        {"template", quad, "-o", Path("t.png"), "--size", "0x48"},
        {"template", quad, "-o", Path("t.png"), "--size", "64x-1"},
        {"template", quad, "-o", Path("t.png"), "--orientation", "4"},
        {"template", quad, "-o", Path("t.png"), "--object", "1"},
        {"template", quad, quad, "-o", Path("t.png")},
    };
    for (const auto& arguments : usage)
        EXPECT_EQ(Run(arguments), 2) << arguments.back();

    // A DXF model has u = v = 0 everywhere: its template is blank and its ratio cannot be
    // matched (the new side would be 0).
    const std::string flat = Write("flat.dxf", "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n"
                                               "10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n"
                                               "12\n1\n22\n1\n32\n0\n0\nENDSEC\n0\nEOF\n");
    ASSERT_EQ(Run({"template", flat, "-o", Path("flat.png")}), 0);
    EXPECT_EQ(CountPixels(Load(Path("flat.png")), qRgb(255, 255, 255)), 640 * 480);
    std::string err;
    EXPECT_EQ(Run({"template", flat, "-o", Path("flat2.png"), "--match-ratio"}, &err), 1);
    EXPECT_NE(err.find("ratio"), std::string::npos) << err;
}

// Sizes the size rule allows but this machine's memory (here 1 GiB, given through the
// environment) cannot hold are refused before anything is drawn; smaller ones still work.
TEST_F(TemplateCommandLine, RefusesPicturesBeyondTheMachinesMemory)
{
    const std::string quad = Write("quad.rds", kQuadRds);
    setenv("KALVO3D_MEMORY", "1073741824", 1);
    struct TCase
    {
        std::vector<std::string> Arguments;
        const char* Message;
    };
    const TCase refused[] = {
        {{"render", quad, "-o", Path("r.png"), "--size", "16384x16384"},
         "a render of 16384 x 16384 needs about 6.0 GiB of memory, more than this machine has "
         "(1.0 GiB)"},
        {{"template", quad, "-o", Path("t.png"), "--size", "16384x16384"},
         "a template of 16384 x 16384 needs about 3.0 GiB"},
        {{"render", quad, "-o", Path("r.png"), "--texture", Quarters(), "--template-size",
          "16384x8192"},
         "a render of 640 x 480 with 1 template of 16384 x 8192 each needs about 1.5 GiB"},
    };
    for (const TCase& one : refused) {
        std::string err;
        EXPECT_EQ(Run(one.Arguments, &err), 1) << one.Message;
        EXPECT_NE(err.find(one.Message), std::string::npos) << err;
    }
    EXPECT_FALSE(std::filesystem::exists(Path("r.png")));
    EXPECT_FALSE(std::filesystem::exists(Path("t.png")));
    EXPECT_EQ(Run({"template", quad, "-o", Path("t.png"), "--size", "4096x4096"}), 0);
    unsetenv("KALVO3D_MEMORY");
}

TEST_F(TemplateCommandLine, RendersTheTexturedFaceWithTransparencyAndShading)
{
    const std::string quad = Write("quad.rds", kQuadRds);
    const std::string texture = Quarters();
    const std::vector<std::string> view = {"render", quad,       "--mode", "3",        "--distance",
                                           "4",      "--angles", "90,0",   "--target", "0.5,0,0.5"};
    const auto render = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> arguments = view;
        arguments.insert(arguments.end(), {"-o", Path(name)});
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        EXPECT_EQ(Run(arguments), 0) << name;
        return Load(Path(name));
    };

    const QImage textured = render("textured.png", {"--texture", texture});
    for (const QRgb colour : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)})
        EXPECT_GT(CountPixels(textured, colour), 500) << std::hex << colour;

    const QImage clear = render("clear.png", {"--texture", texture, "--transparent", "FF0000"});
    EXPECT_EQ(CountPixels(clear, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(CountPixels(clear, qRgb(0, 255, 0)), CountPixels(textured, qRgb(0, 255, 0)));

    const std::string shade = Write("shade.ini", "[Display]\nTextureShade=1\n");
    const QImage shaded = render("shaded.png", {"--texture", texture, "--settings", shade});
    EXPECT_EQ(CountPixels(shaded, qRgb(0, 255, 0)), 0);

    EXPECT_EQ(Run({"render", quad, "-o", Path("x.png"), "--texture", Path("none.bmp")}), 1);
    EXPECT_EQ(Run({"render", quad, "-o", Path("x.png"), "--orientation", "1"}), 2);
    EXPECT_EQ(
        Run({"render", quad, "-o", Path("x.png"), "--texture", texture, "--transparent", "red"}),
        2);
}

} // namespace
} // namespace kalvo
