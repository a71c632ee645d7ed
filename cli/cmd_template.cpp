// kalvo3d-cli template: the map template of one model, as the template window's copy command
// puts it on the clipboard, written as a BMP or PNG picture.

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/pictures.h"
#include "cli/template_pictures.h"
#include "core/base/numbers.h"
#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "core/template/map_template.h"
#include "core/template/template_mapping.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace kalvo::cli {

namespace {

constexpr const char* kTemplateUsage =
    "Usage: kalvo3d-cli template IN -o OUT.bmp|OUT.png [options]\n"
    "\n"
    "Reads the model file IN as 'convert' does and writes the map template of one of its\n"
    "models: every edge drawn at the (u, v) of its ends in the settings' MeshColor on\n"
    "TempColor, edges across the u or v seam drawn from both sides, exactly the picture the\n"
    "template window's copy command puts on the clipboard.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT      the picture to write; .bmp or .png (required)\n"
    "  --object N            the model, by position from 0 (default 0)\n"
    "  --size WxH            template size, each side from 1 to 16384 (default: the\n"
    "                        settings' Xsize x Ysize, 640x480 unless changed); a size\n"
    "                        needing more memory than the machine has is refused\n"
    "  --orientation 0..3    quarter turns clockwise of the layout (default 0)\n"
    "  --match-ratio         make u and v units equally long, growing the side of the\n"
    "                        smaller scale (after the turns)\n"
    "  --settings FILE.ini   settings file (default: the built-in defaults)\n" KALVO_UV_OPTION_HELP
    "  -h, --help            show this text\n"
    "\n"
    "Exit status: 0 when the input was read without a message and the picture was written;\n"
    "1 when the input is missing or unreadable, its reader reported a problem, the ratio\n"
    "cannot be matched (a model whose u or v values are all 0) or the picture could not be\n"
    "written; 2 for usage errors.\n";

} // namespace

int RunTemplate(const TArguments& arguments)
{
    const std::vector<TOptionDef> options{
        kUvOption,
        {{"-o", "--output"}, "output", true},
        {{"--object"}, "object", true},
        {{"--size"}, "size", true},
        {{"--orientation"}, "orientation", true},
        {{"--match-ratio"}, "match-ratio", false},
        {{"--settings"}, "settings", true},
    };
    TParsedArguments parsed;
    std::string output;
    const char* format = nullptr;
    if (const std::optional<int> status = StartPictureCommand(
            "template", arguments, options, kTemplateUsage, parsed, output, format))
        return *status;
    if (parsed.Positional.size() != 1)
        return UsageError("template",
                          parsed.Positional.empty() ? "no input file" : "one input file only");
    if (const int status = CheckInputFormats("template", parsed.Positional); status != kExitOk)
        return status;

    int object = 0;
    if (parsed.Has("object") && (!ParseInt(parsed.Value("object"), object) || object < 0))
        return UsageError("template",
                          "--object takes a position from 0, not '" + parsed.Value("object") + "'");
    int orientation = 0;
    if (parsed.Has("orientation") &&
        (!ParseInt(parsed.Value("orientation"), orientation) || orientation < 0 || orientation > 3))
        return UsageError("template", "--orientation takes 0, 1, 2 or 3, not '" +
                                          parsed.Value("orientation") + "'");

    TSettings settings;
    if (!LoadSettingsOption(parsed, settings))
        return kExitFailed;
    int width = 0, height = 0;
    DefaultTemplateSize(settings, width, height);
    if (parsed.Has("size") && !ParseTemplateSize(parsed.Value("size"), width, height))
        return UsageError("template", "--size takes WxH with both from 1 to " +
                                          std::to_string(kMaxTemplateSide) + ", not '" +
                                          parsed.Value("size") + "'");
    if (!FitsInMachineMemory(PictureText("template", width, height),
                             TemplateBytesEstimate(width, height)))
        return kExitFailed;

    std::optional<TUvProjection> uv;
    if (const int status = ReadUvOption("template", parsed, uv); status != kExitOk)
        return status;
    TStderrSink sink;
    std::vector<TInputModel> models;
    const bool clean = LoadInputs(parsed.Positional, sink, models);
    ApplyUv(models, uv);
    if (models.empty()) {
        PrintError("no model in " + parsed.Positional[0]);
        return kExitFailed;
    }
    if (object >= static_cast<int>(models.size()))
        return UsageError("template", "--object: there is no model " + std::to_string(object) +
                                          " (" + std::to_string(models.size()) + " read)");

    std::unique_ptr<TMapTemplate> map =
        MakeTemplate(*models[object].Model, settings, width, height, orientation);
    if (!map) {
        PrintError("cannot set up a template of " + std::to_string(width) + " x " +
                   std::to_string(height));
        return kExitFailed;
    }
    if (parsed.Has("match-ratio") && !map->MatchRatio()) {
        PrintError("cannot match the ratio of " + NameForDisplay(*models[object].Model) +
                   ": its template would have a side outside 1 .. " +
                   std::to_string(kMaxTemplateSide) + " pixels");
        return kExitFailed;
    }
    if (!WritePicture(map->Bitmap(), output, format)) {
        PrintError("cannot write " + output);
        return kExitFailed;
    }
    return clean ? kExitOk : kExitFailed;
}

} // namespace kalvo::cli
