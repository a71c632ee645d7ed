#include "core/base/errors.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace kalvo {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

TSettings LoadFromText(const std::string& text, test::TRecordingSink* sink = nullptr)
{
    TSettings settings;
    LoadSettings(TIniFile::FromText(text), settings, sink);
    return settings;
}

TEST(SettingsFile, MissingFileGivesDefaultsAndSavingWritesAllKeysInTableOrder)
{
    const std::string path = test::MakeTempDir() + "/kalvo3d.ini";
    const TSettings settings = LoadSettingsFile(path);
    EXPECT_EQ(settings, TSettings());
    SaveSettingsFile(settings, path);
    EXPECT_EQ(test::CompareWithGolden("settings_defaults.ini", ReadFileBytes(path)), "");
}

TEST(SettingsFile, EveryKeyRoundTrips)
{
    TSettings changed;
    changed.BackColor = 0x123456;
    changed.AxisXColor = 1;
    changed.AxisYColor = 2;
    changed.AxisZColor = 3;
    changed.ObjectColor = 4;
    changed.SelectColor = 5;
    changed.TextureShade = true;
    changed.TempColor = 6;
    changed.MeshColor = 7;
    changed.EditMeshColor = 8;
    changed.TempSelColor = 9;
    changed.UnEditableEdge = 10;
    changed.EditableEdge = 11;
    changed.SelectEdge = 0x80000005; // a colour with the high bit, stored as a negative number
    changed.PaintSoft = "/usr/bin/gimp --new-instance";
    changed.Xsize = "1024";
    changed.Ysize = "";
    changed.TopView = "T";
    changed.SideView = "S";
    changed.FaceView = "1";
    changed.PersView = "P";
    changed.Change = "XY";
    changed.UsePreview = false;
    changed.UseTexturePreview = false;
    changed.FrameMode = 1;
    changed.FlatFrameMode = 1;
    changed.FlatMode = -1;
    changed.ViewMoveMode = 2;
    changed.TexStock = 1;
    changed.OpenDir = "/home/user/モデル/";
    changed.LockDir = "/data/ユニバース/";
    changed.LockOrUnLock = 0;
    changed.NewWindowMaxim = true;
    changed.AutoMenu = true;
    changed.BoundingBox = false;
    changed.Zoom = 1;
    changed.View = 1;

    const std::string path = test::MakeTempDir() + "/k.ini";
    SaveSettingsFile(changed, path);
    EXPECT_EQ(LoadSettingsFile(path), changed);

    // Texts are code page 932 in the file: ユニバース is 83 86 83 6a 83 6f 81 5b 83 58.
    const std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes.find("LockDir=/data/\x83\x86\x83\x6a\x83\x6f\x81\x5b\x83\x58/\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("SelectEdge=-2147483643\r\n"), std::string::npos);
}

TEST(SettingsFile, TextsFromAUtf8EditorReadAsWritten)
{
    const TSettings settings =
        LoadFromText("[Other]\nOpenDir=/home/u/\xE3\x81\x82\xE3\x81\x84/\n"); // あい
    EXPECT_EQ(settings.OpenDir, "/home/u/あい/");
}

TEST(SettingsFile, TextsCodePage932CannotHoldSurviveUnchanged)
{
    TSettings settings;
    settings.OpenDir = "/tmp/\xF0\x9F\x8E\xA8 paint/"; // an emoji folder
    const std::string path = test::MakeTempDir() + "/k.ini";
    SaveSettingsFile(settings, path);
    EXPECT_EQ(LoadSettingsFile(path).OpenDir, settings.OpenDir);
}

struct LoadCase
{
    const char* name;
    const char* text;
    TSettings expected;
};

TSettings With(void (*change)(TSettings&))
{
    TSettings settings;
    change(settings);
    return settings;
}

class SettingsLoading : public testing::TestWithParam<LoadCase>
{
};

TEST_P(SettingsLoading, FollowsTheReadingRules)
{
    test::TRecordingSink sink;
    EXPECT_EQ(LoadFromText(GetParam().text, &sink), GetParam().expected);
    EXPECT_TRUE(sink.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SettingsLoading,
    testing::Values(
        LoadCase{"UnreadableNumbersGiveDefaults",
                 "[Display]\nBackColor=red\nAxisXColor=12.5\nAxisYColor=\nTextureShade=yes\n"
                 "[Control]\nZoom=0x1\n",
                 TSettings()},
        LoadCase{"NumbersOutOfRangeGiveDefaults", "[Display]\nBackColor=4294967295\n", TSettings()},
        LoadCase{"BlanksAroundKeysAndValuesAndAnyCase",
                 "  [ display ]  \n  backcolor =  255  \n[TEMPLATE]\npaintsoft = my paint \n",
                 With([](TSettings& s) {
                     s.BackColor = 255;
                     s.PaintSoft = "my paint";
                 })},
        LoadCase{"AnyNonZeroIntegerIsTrue",
                 "[Display]\nTextureShade=-7\n[Other]\nBoundingBox=0\nAutoMenu=2\n",
                 With([](TSettings& s) {
                     s.TextureShade = true;
                     s.BoundingBox = false;
                     s.AutoMenu = true;
                 })},
        LoadCase{"RadioIndexPastTheLastItemChoosesTheLast",
                 "[Performance]\nFrameMode=2\nViewMoveMode=99\n[Control]\nView=1\n",
                 With([](TSettings& s) {
                     s.FrameMode = 1;
                     s.ViewMoveMode = 2;
                     s.View = 1;
                 })},
        LoadCase{"NegativeRadioIndexChoosesNothing",
                 "[Performance]\nFlatMode=-5\n[Other]\nLockOrUnLock=-1\n", With([](TSettings& s) {
                     s.FlatMode = -1;
                     s.LockOrUnLock = -1;
                 })},
        LoadCase{"LockDirDefaultsToTheOpenDirJustRead", "[Other]\nOpenDir=/a/b/\n",
                 With([](TSettings& s) {
                     s.OpenDir = "/a/b/";
                     s.LockDir = "/a/b/";
                 })},
        LoadCase{"LockedFolderBecomesTheOpenFolder",
                 "[Other]\nOpenDir=/last/\nLockDir=/fixed/\nLockOrUnLock=1\n",
                 With([](TSettings& s) {
                     s.OpenDir = "/fixed/";
                     s.LockDir = "/fixed/";
                     s.LockOrUnLock = 1;
                 })},
        LoadCase{"UnlockedKeepsTheLastFolder",
                 "[Other]\nOpenDir=/last/\nLockDir=/fixed/\nLockOrUnLock=0\n",
                 With([](TSettings& s) {
                     s.OpenDir = "/last/";
                     s.LockDir = "/fixed/";
                 })},
        LoadCase{"KeysOutsideTheirSectionDoNotCount",
                 "BackColor=1\n[Template]\nBackColor=2\n[Display]\n; BackColor=3\n", TSettings()},
        LoadCase{"FirstOfRepeatedKeysWins",
                 "[Projection]\nTopView=Q\nTopView=Z\n[Projection]\nSideView=K\n",
                 With([](TSettings& s) { s.TopView = "Q"; })},
        LoadCase{"AnyLineEnd", "[Template]\r\nXsize=100\rYsize=200\n\n", With([](TSettings& s) {
                     s.Xsize = "100";
                     s.Ysize = "200";
                 })},
        LoadCase{"EmptyTemplateSizeIsKept", "[Template]\nXsize=\n",
                 With([](TSettings& s) { s.Xsize = ""; })}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST(SettingsFile, TemplateSizeThatIsNotANumberIsReportedAndBecomes640)
{
    test::TRecordingSink sink;
    const TSettings settings = LoadFromText("[Template]\nXsize=12a\nYsize=9x\n", &sink);
    EXPECT_EQ(settings.Xsize, "640");
    EXPECT_EQ(settings.Ysize, "640");
    ASSERT_EQ(sink.Messages.size(), 2u);
    EXPECT_EQ(sink.Messages[0].kind, TMsgKind::Error);
    EXPECT_EQ(sink.Messages[0].buttons, TButtons::Ok);
    EXPECT_EQ(sink.Messages[0].text, "12aは数値ではありません");
    EXPECT_EQ(sink.Messages[1].text, "9xは数値ではありません");
}

TEST(SettingsFile, RewritingKeepsForeignLinesAndTheFileOrder)
{
    const std::string path = test::MakeTempDir() + "/k.ini";
    WriteFileBytes(path, "; my notes\n"
                         "[Control]\n"
                         "View=1\n"
                         "Extra=keep me\n"
                         "\n"
                         "[Plugins]\n"
                         "Name=value\n"
                         "[display]\n"
                         "BACKCOLOR=99\n");
    TSettings settings = LoadSettingsFile(path);
    EXPECT_EQ(settings.BackColor, 99u);
    settings.BackColor = 7;
    settings.View = 0;
    SaveSettingsFile(settings, path);

    // Existing keys change in place, a new key goes after the last entry of its section, new
    // sections go to the end.
    const std::string defaults = ReadFileBytes(test::DataPath("golden/settings_defaults.ini"));
    const std::string displayRest = defaults.substr(
        defaults.find("AxisXColor="), defaults.find("[Control]") - defaults.find("AxisXColor="));
    EXPECT_EQ(ReadFileBytes(path), "; my notes\r\n"
                                   "[Control]\r\n"
                                   "View=0\r\n"
                                   "Extra=keep me\r\n"
                                   "Zoom=0\r\n"
                                   "\r\n"
                                   "[Plugins]\r\n"
                                   "Name=value\r\n"
                                   "[display]\r\n"
                                   "BACKCOLOR=7\r\n" +
                                       displayRest + "[Interface]\r\nLanguage=0\r\n");
    EXPECT_EQ(LoadSettingsFile(path), settings);
}

TEST(SettingsFile, ALineBreakInATextCannotInjectAKey)
{
    TSettings settings;
    settings.PaintSoft = "paint\r\n[Control]\nZoom=1";
    const std::string path = test::MakeTempDir() + "/k.ini";
    SaveSettingsFile(settings, path);
    const TSettings read = LoadSettingsFile(path);
    EXPECT_EQ(read.Zoom, 0);
    EXPECT_EQ(read.PaintSoft, "paint[Control]Zoom=1");
}

TEST(SettingsFile, FailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string folder = test::MakeTempDir();
    // The target is a folder: the new text can be written but not renamed over it.
    const std::string path = folder + "/k.ini";
    std::filesystem::create_directory(path);
    WriteFileBytes(path + "/inside", "old");
    EXPECT_THROW(SaveSettingsFile(TSettings(), path), TWriteError);
    EXPECT_EQ(ReadFileBytes(path + "/inside"), "old");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFile, SavingCreatesTheFolderAndReplacesTheFile)
{
    const std::string folder = test::MakeTempDir() + "/config/kalvo3d";
    const std::string path = folder + "/kalvo3d.ini";
    TSettings settings;
    settings.Zoom = 1;
    SaveSettingsFile(settings, path);
    settings.Zoom = 0;
    SaveSettingsFile(settings, path);
    EXPECT_EQ(LoadSettingsFile(path).Zoom, 0);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFile, SavingThroughALinkReplacesTheFileBehindIt)
{
    const std::string folder = test::MakeTempDir();
    std::filesystem::create_directory(folder + "/dotfiles");
    WriteFileBytes(folder + "/dotfiles/kalvo3d.ini", "[Control]\r\nZoom=1\r\n");
    std::filesystem::create_symlink(folder + "/dotfiles/kalvo3d.ini", folder + "/kalvo3d.ini");
    TSettings settings = LoadSettingsFile(folder + "/kalvo3d.ini");
    EXPECT_EQ(settings.Zoom, 1);
    settings.View = 1;
    SaveSettingsFile(settings, folder + "/kalvo3d.ini");
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/kalvo3d.ini"));
    EXPECT_EQ(LoadSettingsFile(folder + "/dotfiles/kalvo3d.ini").View, 1);
}

TEST(SettingsFile, UnreadableFileThrowsReadError)
{
    const std::string path = test::MakeTempDir();
    EXPECT_THROW(LoadSettingsFile(path), TReadError); // a folder cannot be read as a file
}

struct IntCase
{
    const char* text;
    bool ok;
    int value;
};

TEST(SettingInt, ReadsDecimalIntegersOnly)
{
    const IntCase cases[] = {
        {"640", true, 640},
        {" 12 ", true, 12},
        {"+5", true, 5},
        {"-3", true, -3},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"12a", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"+-1", false, 0},
        {"--1", false, 0},
        {"1.5", false, 0},
        {"0x10", false, 0},
        {"$10", false, 0},
        {"1 2", false, 0},
    };
    for (const IntCase& c : cases) {
        int value = 0;
        EXPECT_EQ(TemplateSize(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

// Restores an environment variable when the test ends.
class TEnvironment
{
public:
    explicit TEnvironment(const char* name) : name_(name)
    {
        if (const char* value = std::getenv(name))
            old_ = value;
    }
    ~TEnvironment()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsPath, BesideAWritableExecutableNamedLikeIt)
{
    const std::string folder = test::MakeTempDir();
    EXPECT_EQ(SettingsPath(folder + "/kalvo3d"), std::filesystem::path(folder + "/kalvo3d.ini"));
    EXPECT_EQ(SettingsPath(folder + "/Kalvo3D.exe"),
              std::filesystem::path(folder + "/Kalvo3D.ini"));
}

TEST(SettingsPath, UnwritableFolderUsesTheUserConfigFolder)
{
    // A folder that does not exist cannot be written either, whoever runs the test.
    const std::string executable = test::MakeTempDir() + "/missing/bin/kalvo3d";
    TEnvironment xdg("XDG_CONFIG_HOME");
    TEnvironment home("HOME");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsPath(executable), std::filesystem::path("/cfg/kalvo3d/kalvo3d.ini"));
    setenv("HOME", "/home/u", 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsPath(executable),
              std::filesystem::path("/home/u/.config/kalvo3d/kalvo3d.ini"));
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(SettingsPath(executable),
              std::filesystem::path("/home/u/.config/kalvo3d/kalvo3d.ini"));
}

TEST(SettingsPath, InstalledProgramUsesTheUserConfigFolderEvenWhenItsFolderIsWritable)
{
    // Run by root, /usr/bin can be written: the settings must not land there.
    const std::filesystem::path prefix = test::MakeTempDir();
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share" / "kalvo3d");
    TEnvironment xdg("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsPath(prefix / "bin" / "kalvo3d"),
              std::filesystem::path("/cfg/kalvo3d/kalvo3d.ini"));

    // A file kept beside it is still the one used.
    std::ofstream(prefix / "bin" / "kalvo3d.ini") << "[Template]\r\n";
    EXPECT_EQ(SettingsPath(prefix / "bin" / "kalvo3d"), prefix / "bin" / "kalvo3d.ini");
}

} // namespace
} // namespace kalvo
