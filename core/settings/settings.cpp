#include "core/settings/settings.h"

#include "core/base/errors.h"
#include "core/base/message_sink.h"
#include "core/base/numbers.h"
#include "core/base/text.h"
#include "core/settings/ini_file.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <variant>

namespace kalvo {

namespace {

struct TRadio
{
    int TSettings::*Member;
    int Items;
};

using TMember =
    std::variant<TColour TSettings::*, bool TSettings::*, std::string TSettings::*, TRadio>;

struct TKeyDef
{
    const char* Section;
    const char* Key;
    TMember Member; // its type says how the value is stored; TSettings{} holds the default
};

// The file's keys in the order they are read and written.
const TKeyDef kKeys[] = {
    {"Display", "BackColor", &TSettings::BackColor},
    {"Display", "AxisXColor", &TSettings::AxisXColor},
    {"Display", "AxisYColor", &TSettings::AxisYColor},
    {"Display", "AxisZColor", &TSettings::AxisZColor},
    {"Display", "ObjectColor", &TSettings::ObjectColor},
    {"Display", "SelectColor", &TSettings::SelectColor},
    {"Display", "TextureShade", &TSettings::TextureShade},
    {"Display", "TempColor", &TSettings::TempColor},
    {"Display", "MeshColor", &TSettings::MeshColor},
    {"Display", "EditMeshColor", &TSettings::EditMeshColor},
    {"Display", "TempSelColor", &TSettings::TempSelColor},
    {"Display", "UnEditableEdge", &TSettings::UnEditableEdge},
    {"Display", "EditableEdge", &TSettings::EditableEdge},
    {"Display", "SelectEdge", &TSettings::SelectEdge},
    {"Template", "PaintSoft", &TSettings::PaintSoft},
    {"Template", "Xsize", &TSettings::Xsize},
    {"Template", "Ysize", &TSettings::Ysize},
    {"Projection", "TopView", &TSettings::TopView},
    {"Projection", "SideView", &TSettings::SideView},
    {"Projection", "FaceView", &TSettings::FaceView},
    {"Projection", "PersView", &TSettings::PersView},
    {"Projection", "Change", &TSettings::Change},
    {"Performance", "UsePreview", &TSettings::UsePreview},
    {"Performance", "UseTexturePreview", &TSettings::UseTexturePreview},
    {"Performance", "FrameMode", TRadio{&TSettings::FrameMode, kFrameModeItems}},
    {"Performance", "FlatFrameMode", TRadio{&TSettings::FlatFrameMode, kFrameModeItems}},
    {"Performance", "FlatMode", TRadio{&TSettings::FlatMode, kFrameModeItems}},
    {"Performance", "ViewMoveMode", TRadio{&TSettings::ViewMoveMode, kViewMoveModeItems}},
    {"Performance", "TexStock", TRadio{&TSettings::TexStock, kTexStockItems}},
    {"Other", "OpenDir", &TSettings::OpenDir},
    {"Other", "LockDir", &TSettings::LockDir},
    {"Other", "LockOrUnLock", TRadio{&TSettings::LockOrUnLock, kLockOrUnLockItems}},
    {"Other", "NewWindowMaxim", &TSettings::NewWindowMaxim},
    {"Other", "AutoMenu", &TSettings::AutoMenu},
    {"Other", "BoundingBox", &TSettings::BoundingBox},
    {"Control", "Zoom", TRadio{&TSettings::Zoom, kZoomItems}},
    {"Control", "View", TRadio{&TSettings::View, kViewItems}},
    {"Interface", "Language", TRadio{&TSettings::Language, kLanguageItems}},
};
static_assert(std::size(kKeys) == kSettingsKeyCount);

// A radio group shows an index past its last item as the last item, and a negative one as no
// item at all.
int ClampRadio(int index, int items)
{
    if (index >= items)
        return items - 1;
    if (index < 0)
        return -1;
    return index;
}

void CheckTemplateSize(std::string& text, TMessageSink* sink)
{
    int value = 0;
    if (text.empty() || TemplateSize(text, value))
        return;
    if (sink != nullptr)
        sink->Show(TMsgKind::Error, text + std::string(kNotANumber), TButtons::Ok);
    text = "640";
}

} // namespace

bool TemplateSize(const std::string& text, int& value) { return ParseInt(text, value); }

char32_t ShortcutKey(const std::string& setting)
{
    if (setting.empty())
        return 0;
    char32_t code = 0;
    std::size_t length = 0;
    // A setting that is not UTF-8 (a file damaged by hand) still has its first byte as a key.
    if (!DecodeUtf8(setting, code, length))
        return static_cast<unsigned char>(setting[0]);
    return code;
}

void LoadSettings(const TIniFile& ini, TSettings& settings, TMessageSink* sink)
{
    const TSettings defaults;
    for (const TKeyDef& def : kKeys) {
        std::visit(
            [&](const auto& member) {
                using T = std::decay_t<decltype(member)>;
                if constexpr (std::is_same_v<T, TRadio>) {
                    const int index =
                        ini.ReadInteger(def.Section, def.Key, defaults.*(member.Member));
                    settings.*(member.Member) = ClampRadio(index, member.Items);
                } else if constexpr (std::is_same_v<T, bool TSettings::*>) {
                    settings.*member = ini.ReadBool(def.Section, def.Key, defaults.*member);
                } else if constexpr (std::is_same_v<T, TColour TSettings::*>) {
                    // Colours are stored as signed 32-bit integers.
                    const int value =
                        ini.ReadInteger(def.Section, def.Key, static_cast<int>(defaults.*member));
                    settings.*member = static_cast<TColour>(value);
                } else if (member == &TSettings::LockDir) {
                    settings.LockDir = ini.ReadString(def.Section, def.Key, settings.OpenDir);
                } else {
                    settings.*member = ini.ReadString(def.Section, def.Key, defaults.*member);
                }
            },
            def.Member);
        if (std::holds_alternative<std::string TSettings::*>(def.Member)) {
            auto member = std::get<std::string TSettings::*>(def.Member);
            if (member == &TSettings::Xsize || member == &TSettings::Ysize)
                CheckTemplateSize(settings.*member, sink);
        }
    }
    if (settings.LockOrUnLock == 1)
        settings.OpenDir = settings.LockDir;
}

void SaveSettings(const TSettings& settings, TIniFile& ini)
{
    for (const TKeyDef& def : kKeys) {
        std::visit(
            [&](const auto& member) {
                using T = std::decay_t<decltype(member)>;
                if constexpr (std::is_same_v<T, TRadio>)
                    ini.WriteInteger(def.Section, def.Key, settings.*(member.Member));
                else if constexpr (std::is_same_v<T, bool TSettings::*>)
                    ini.WriteBool(def.Section, def.Key, settings.*member);
                else if constexpr (std::is_same_v<T, TColour TSettings::*>)
                    ini.WriteInteger(def.Section, def.Key, static_cast<int>(settings.*member));
                else
                    ini.WriteString(def.Section, def.Key, settings.*member);
            },
            def.Member);
    }
}

TSettings LoadSettingsFile(const std::filesystem::path& path, TMessageSink* sink)
{
    TSettings settings;
    LoadSettings(TIniFile::LoadFromFile(path), settings, sink);
    return settings;
}

void SaveSettingsFile(const TSettings& settings, const std::filesystem::path& path)
{
    TIniFile ini;
    try {
        ini = TIniFile::LoadFromFile(path);
    } catch (const TReadError& error) {
        throw TWriteError(error.what());
    }
    SaveSettings(settings, ini);
    ini.SaveToFile(path);
}

std::filesystem::path SettingsPath(const std::filesystem::path& executable)
{
    std::filesystem::path beside = executable;
    beside.replace_extension(".ini");
    const std::filesystem::path folder = beside.parent_path();
    const bool writable = access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
    // An installed program keeps its settings per user even where its folder can be written
    // (run by root, or installed under a home folder): a file beside it would belong to no
    // package, outlive the program's removal and be shared by every user. A file already there
    // is still used, as it was kept there on purpose or by an earlier version.
    std::error_code error;
    const bool installed = std::filesystem::is_directory(
        (folder.empty() ? std::filesystem::path(".") : folder) / ".." / "share" / "kalvo3d", error);
    if (writable && (!installed || std::filesystem::exists(beside, error)))
        return beside;

    std::filesystem::path config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // Only an absolute XDG_CONFIG_HOME counts; a relative one would move with the current folder.
    if (xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        config = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    return config / "kalvo3d" / "kalvo3d.ini";
}

} // namespace kalvo
