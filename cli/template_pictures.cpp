#include "cli/template_pictures.h"

#include "cli/pictures.h"
#include "core/base/numbers.h"
#include "core/model/preview_obj.h"
#include "core/preview/canvas.h"
#include "core/settings/settings.h"
#include "core/template/map_template.h"
#include "core/template/template_mapping.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <exception>

namespace kalvo::cli {

namespace {

// "RRGGBB" as written on the web, to 0x00BBGGRR.
bool ParseWebColour(const std::string& text, TColour& colour)
{
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(),
                                         [](unsigned char c) { return std::isxdigit(c) != 0; }))
        return false;
    const unsigned long rgb = std::stoul(text, nullptr, 16);
    colour = static_cast<TColour>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    return true;
}

} // namespace

std::optional<int> StartPictureCommand(const std::string& command, const TArguments& arguments,
                                       const std::vector<TOptionDef>& options, const char* usage,
                                       TParsedArguments& parsed, std::string& output,
                                       const char*& format)
{
    std::string error;
    if (!ParseArguments(arguments, options, parsed, error))
        return UsageError(command, error);
    if (parsed.Help) {
        std::fputs(usage, stdout);
        return kExitOk;
    }
    output = parsed.Value("output");
    if (output.empty())
        return UsageError(command, "missing -o OUT.png or OUT.bmp (the picture to write)");
    format = PictureFormatOf(output);
    if (!format)
        return UsageError(command, "the picture's name must end in .png or .bmp: " + output);
    return std::nullopt;
}

bool LoadSettingsOption(const TParsedArguments& parsed, TSettings& settings)
{
    if (!parsed.Has("settings"))
        return true;
    try {
        TStderrSink sink;
        settings = LoadSettingsFile(parsed.Value("settings"), &sink);
        return true;
    } catch (const std::exception& failure) {
        PrintError(failure.what());
        return false;
    }
}

bool ParseTemplateSize(const std::string& text, int& width, int& height)
{
    const auto x = text.find('x');
    if (x == std::string::npos)
        return false;
    return ParseInt(text.substr(0, x), width) && ParseInt(text.substr(x + 1), height) &&
           IsValidTemplateSize(width, height);
}

void DefaultTemplateSize(const TSettings& settings, int& width, int& height)
{
    if (!TemplateSize(settings.Xsize, width) || !TemplateSize(settings.Ysize, height) ||
        !IsValidTemplateSize(width, height)) {
        width = 640;
        height = 480;
    }
}

std::unique_ptr<TMapTemplate> MakeTemplate(TpreviewObj& model, const TSettings& settings, int width,
                                           int height, int orientation)
{
    auto map = std::make_unique<TMapTemplate>();
    map->Colours = {settings.TempColor, settings.MeshColor, settings.EditMeshColor,
                    settings.TempSelColor};
    map->SetModel(&model);
    if (!map->SetupTemplate(width, height))
        return nullptr;
    for (int turn = 0; turn < orientation; ++turn)
        map->Rotate();
    return map;
}

std::vector<TOptionDef> TextureOptionDefs()
{
    return {
        {{"--texture"}, "texture", true},
        {{"--transparent"}, "transparent", true},
        {{"--template-size"}, "template-size", true},
        {{"--orientation"}, "orientation", true},
        {{"--texture-object"}, "texture-object", true},
    };
}

std::string PictureText(const std::string& kind, int width, int height)
{
    return "a " + kind + " of " + std::to_string(width) + " x " + std::to_string(height);
}

bool FitsInMachineMemory(const std::string& pictures, std::uint64_t needed)
{
    const std::uint64_t memory = PhysicalMemoryBytes();
    if (FitsInMemory(needed, memory))
        return true;
    PrintError(pictures + " needs about " + MemoryText(needed) +
               " of memory, more than this machine has (" + MemoryText(memory) + ")");
    return false;
}

int SetUpTextures(const TParsedArguments& parsed, const TSettings& settings,
                  const TModelList& models, int renderWidth, int renderHeight,
                  std::vector<std::unique_ptr<TMapTemplate>>& templates)
{
    if (!parsed.Has("texture")) {
        for (const char* key : {"transparent", "template-size", "orientation", "texture-object"})
            if (parsed.Has(key))
                return UsageError("render", std::string("--") + key + " needs --texture");
        return kExitOk;
    }
    int width = 0, height = 0;
    DefaultTemplateSize(settings, width, height);
    if (parsed.Has("template-size") &&
        !ParseTemplateSize(parsed.Value("template-size"), width, height))
        return UsageError("render", "--template-size takes WxH with both from 1 to " +
                                        std::to_string(kMaxTemplateSide) + ", not '" +
                                        parsed.Value("template-size") + "'");
    int orientation = 0;
    if (parsed.Has("orientation") &&
        (!ParseInt(parsed.Value("orientation"), orientation) || orientation < 0 || orientation > 3))
        return UsageError("render", "--orientation takes 0, 1, 2 or 3, not '" +
                                        parsed.Value("orientation") + "'");
    TColour transparent = 0;
    if (parsed.Has("transparent") && !ParseWebColour(parsed.Value("transparent"), transparent))
        return UsageError("render", "--transparent takes a colour RRGGBB in hexadecimal, not '" +
                                        parsed.Value("transparent") + "'");
    int only = -1;
    if (parsed.Has("texture-object")) {
        if (!ParseInt(parsed.Value("texture-object"), only) || only < 0)
            return UsageError("render", "--texture-object takes a position from 0, not '" +
                                            parsed.Value("texture-object") + "'");
        if (only >= models.Count())
            return UsageError("render", "--texture-object: there is no model " +
                                            std::to_string(only) + " (" +
                                            std::to_string(models.Count()) + " read)");
    }

    // Every textured model holds a template of its own while the render is drawn.
    const std::uint64_t textured = only >= 0 ? 1 : static_cast<std::uint64_t>(models.Count());
    if (!FitsInMachineMemory(PictureText("render", renderWidth, renderHeight) + " with " +
                                 std::to_string(textured) + " " +
                                 PictureText("template", width, height).substr(2) + " each",
                             RenderBytesEstimate(renderWidth, renderHeight) +
                                 textured * TemplateBytesEstimate(width, height)))
        return kExitFailed;

    TCanvas picture;
    std::string error;
    if (!ReadPicture(parsed.Value("texture"), picture, error)) {
        PrintError(error);
        return kExitFailed;
    }
    for (int i = 0; i < models.Count(); ++i) {
        if (only >= 0 && i != only)
            continue;
        std::unique_ptr<TMapTemplate> map =
            MakeTemplate(*models[i].Model, settings, width, height, orientation);
        if (!map) {
            PrintError("cannot set up a template of " + std::to_string(width) + " x " +
                       std::to_string(height));
            return kExitFailed;
        }
        map->LoadPicture(picture);
        map->Transparency = parsed.Has("transparent");
        map->TransparentColour = transparent;
        templates.push_back(std::move(map));
    }
    return kExitOk;
}

} // namespace kalvo::cli
