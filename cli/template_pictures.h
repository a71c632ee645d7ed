#pragma once

#include "cli/cli_common.h"
#include "core/model/model_list.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {
class TCanvas;
class TMapTemplate;
struct TSettings;
} // namespace kalvo

namespace kalvo::cli {

// --- The start of the commands that write one picture (render, template) ------------------------

// Parses the arguments, prints `usage` for --help and takes -o OUT, a PNG or BMP name. Returns
// the exit status to end the command with, or nothing when it goes on.
std::optional<int> StartPictureCommand(const std::string& command, const TArguments& arguments,
                                       const std::vector<TOptionDef>& options, const char* usage,
                                       TParsedArguments& parsed, std::string& output,
                                       const char*& format);
// The settings of --settings FILE, or the defaults without it; false after printing why the
// file could not be read.
bool LoadSettingsOption(const TParsedArguments& parsed, TSettings& settings);

// "WxH" with both sides accepted by the template; false otherwise.
bool ParseTemplateSize(const std::string& text, int& width, int& height);
// The template size the size dialog starts with: the settings' Xsize and Ysize (640 x 480
// when they are not usable).
void DefaultTemplateSize(const TSettings& settings, int& width, int& height);
// A template for model set up as the object window's command does, with the template colours
// of settings, then turned `orientation` quarter turns.
std::unique_ptr<TMapTemplate> MakeTemplate(TpreviewObj& model, const TSettings& settings, int width,
                                           int height, int orientation);

// Whether the pictures a command holds at once, needing `needed` bytes, fit in the machine's
// memory; prints why not when they do not, naming the pictures ("a render of 640 x 480") and
// the memory.
bool FitsInMachineMemory(const std::string& pictures, std::uint64_t needed);
// "a render of 640 x 480", "a template of 64 x 64".
std::string PictureText(const std::string& kind, int width, int height);

// --- The texture options of 'render' ----------------------------------------------------------

// --texture, --transparent, --template-size, --orientation, --texture-object.
std::vector<TOptionDef> TextureOptionDefs();

// Gives the models named by the texture options a map template holding the picture of
// --texture, stretched as the template window's open command does, with the transparency of
// --transparent. Without --texture nothing is done. Returns kExitOk, or kExitUsage or
// kExitFailed after printing why (templates that would not fit in memory beside the render of
// renderWidth x renderHeight among them). templates must be destroyed before the models.
int SetUpTextures(const TParsedArguments& parsed, const TSettings& settings,
                  const TModelList& models, int renderWidth, int renderHeight,
                  std::vector<std::unique_ptr<TMapTemplate>>& templates);

} // namespace kalvo::cli
