#pragma once

#include "core/base/colour.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kalvo {

class TMessageSink;
class TIniFile;

// Every user preference, one member per INI key, holding what the settings dialog's controls
// hold. The desktop program keeps one (the settings dialog owns it); the command line and the
// tests build their own from a file. Members carry the key names so a reader names a setting
// the way the file does.
//
// Radio-group members hold the item index counted from 0; -1 means no item is chosen (a
// negative index in the file). Texts are UTF-8.
struct TSettings
{
    // [Display]
    TColour BackColor = kDefaultBackColour;
    TColour AxisXColor = kDefaultAxisXColour;
    TColour AxisYColor = kDefaultAxisYColour;
    TColour AxisZColor = kDefaultAxisZColour;
    TColour ObjectColor = kDefaultObjectColour;
    TColour SelectColor = kDefaultSelectColour;
    bool TextureShade = false; // shade the texture preview
    TColour TempColor = kDefaultTempColour;
    TColour MeshColor = kDefaultMeshColour;
    TColour EditMeshColor = kDefaultEditMeshColour;
    TColour TempSelColor = kDefaultTempSelColour;
    TColour UnEditableEdge = kDefaultUnEditableEdge; // unselected models in the flat panes
    TColour EditableEdge = kDefaultEditableEdge;     // selected models in the flat panes
    TColour SelectEdge = kDefaultSelectEdge;         // stored only

    // [Template]
    std::string PaintSoft = "pbrush.exe"; // command line of the paint program
    std::string Xsize = "640";            // template width as typed; see TemplateSize
    std::string Ysize = "480";

    // [Projection] shortcut keys; only the first character counts (see ShortcutKey)
    std::string TopView = "E";
    std::string SideView = "D";
    std::string FaceView = "F";
    std::string PersView = "R";
    std::string Change = "W";

    // [Performance]
    bool UsePreview = true;
    bool UseTexturePreview = true;
    int FrameMode = 0;     // shaded wireframe: 0 sequential, 1 batch
    int FlatFrameMode = 0; // hidden surface + edges: 0 sequential, 1 batch
    int FlatMode = 0;      // hidden surface: 0 sequential, 1 batch
    int ViewMoveMode = 0;  // while the view moves: 0 wireframe, 1 shaded wireframe, 2 unchanged
    int TexStock = 0;      // stored only

    // [Other]
    std::string OpenDir;  // initial folder of the open dialogs, with its trailing separator
    std::string LockDir;  // the fixed folder used when LockOrUnLock is 1
    int LockOrUnLock = 0; // 0: remember the last folder opened; 1: always open LockDir
    bool NewWindowMaxim = false;
    bool AutoMenu = false;
    bool BoundingBox = true;

    // [Control]
    int Zoom = 0; // 0: right drag upwards zooms in; 1: downwards
    int View = 0; // 0: left drag moves the viewpoint against the drag; 1: with it

    // [Interface] a section of its own, so files written before it read as they did
    int Language = 0; // texts of the desktop program: 0 Japanese, 1 English, 2 the system's

    bool operator==(const TSettings&) const = default;
};

// The number of items of each radio group (an index read from the file above the last item
// selects the last item).
constexpr int kFrameModeItems = 2;
constexpr int kViewMoveModeItems = 3;
constexpr int kLockOrUnLockItems = 2;
constexpr int kZoomItems = 2;
constexpr int kViewItems = 2;
constexpr int kTexStockItems = 2;
constexpr int kLanguageItems = 3;

// The number of keys a saved file holds.
constexpr int kSettingsKeyCount = 38;

// The suffix of the message shown when a template size is not an integer.
inline constexpr std::string_view kNotANumber = "は数値ではありません";

// Xsize or Ysize as an integer (optional blanks, an optional sign, decimal digits, nothing
// else, within the int range, whatever the locale); false when the text is not one.
bool TemplateSize(const std::string& text, int& value);

// The key code a shortcut setting stands for: its first character (0 for an empty setting), to
// compare with the code of the key pressed, which is an upper-case letter or a digit.
char32_t ShortcutKey(const std::string& setting);

// Copies every key of the table from ini into settings, in table order. A missing key or an
// unreadable number yields the default; a radio index above the last item selects the last
// item, one below 0 no item (-1); LockDir defaults to the OpenDir just read, and with
// LockOrUnLock 1 OpenDir becomes LockDir. An Xsize or Ysize that is not empty and not an integer
// is reported to sink (when given) as the text followed by kNotANumber and becomes "640".
void LoadSettings(const TIniFile& ini, TSettings& settings, TMessageSink* sink = nullptr);

// Writes every key of the table into ini, in table order (colours and radio indices in decimal,
// booleans as 1 and 0).
void SaveSettings(const TSettings& settings, TIniFile& ini);

// Reads the file at path (missing file: all defaults). Throws TReadError when it exists but
// cannot be read.
TSettings LoadSettingsFile(const std::filesystem::path& path, TMessageSink* sink = nullptr);

// Rewrites the file at path with every key, keeping any other sections, keys and comments it
// held. The new text goes to a temporary file that then replaces the old one, so a failed
// write leaves the old file intact. Throws TWriteError.
void SaveSettingsFile(const TSettings& settings, const std::filesystem::path& path);

// Where the desktop program keeps its settings: beside the executable, named like it with
// ".ini"; when that folder cannot be written, or the program is an installed one (share/kalvo3d
// next to its bin folder) without such a file beside it,
// $XDG_CONFIG_HOME/kalvo3d/kalvo3d.ini ($HOME/.config when the variable is unset or empty).
std::filesystem::path SettingsPath(const std::filesystem::path& executable);

} // namespace kalvo
