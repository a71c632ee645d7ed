// kalvo3d-cli render: one pane of a preview window holding the given models, drawn as the
// desktop program draws it, written as a PNG or BMP picture.

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/pictures.h"
#include "cli/template_pictures.h"
#include "core/base/errors.h"
#include "core/base/numbers.h"
#include "core/model/preview_obj.h"
#include "core/preview/draw_settings.h"
#include "core/preview/preview_scene.h"
#include "core/settings/settings.h"
#include "core/template/map_template.h"
#include "core/template/template_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <tuple>
#include <vector>

namespace kalvo::cli {

namespace {

constexpr const char* kRenderUsage =
    "Usage: kalvo3d-cli render IN... -o OUT.png|OUT.bmp [options]\n"
    "\n"
    "Reads the model files IN as 'convert' does, shows every model they give in one preview\n"
    "window (all shown, none selected unless told) and writes one pane as a picture, drawn as\n"
    "the window draws it: background, axes, bounding boxes, cross-hair, colours and settings.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT           the picture to write; .png or .bmp (required)\n"
    "  --view persp|top|side|face the pane (default persp)\n"
    "  --mode 0|1|2|3             display mode of the perspective pane: 0 wireframe, 1 shaded\n"
    "                             wireframe, 2 hidden surface with edges, 3 hidden surface\n"
    "                             (default 0)\n"
    "  --size WxH                 the pane's drawing area in pixels, each side from 1 to\n"
    "                             16384 (default 640x480); the largest take gigabytes\n"
    "                             (24 bytes a pixel), and a size needing more memory than\n"
    "                             the machine has is refused\n"
    "  --angles H,V               horizontal and vertical view angles, whole degrees (0,0)\n"
    "  --distance D               eye distance (50)\n"
    "  --target X,Y,Z             the point looked at (0,0,0)\n"
    "  --ortho-zoom Z             model units across an orthographic pane (10)\n"
    "  --ortho-centre X,Y,Z       centre of the orthographic panes (0,0,0)\n"
    "  --cursor X,Y,Z             the cross-hair point (0,0,0)\n"
    "  --select I,J...            select models by position in the list, from 0\n"
    "  --hide I,J...              hide models by position in the list, from 0\n"
    "  --texture-preview on|off   the texture button (default on: without a map template,\n"
    "                             hidden-surface faces are shades of red)\n"
    "  --texture PICTURE          give the models a map template holding PICTURE (BMP, PNG),\n"
    "                             stretched over the whole template as the template window's\n"
    "                             open command does; faces in modes 2 and 3 are textured,\n"
    "                             shaded when the settings' TextureShade is on\n"
    "  --transparent RRGGBB       texels of this colour are not drawn (with --texture)\n"
    "  --template-size WxH        size of the template, each side from 1 to 16384 (default:\n"
    "                             the settings' Xsize x Ysize)\n"
    "  --orientation 0..3         quarter turns of the template's layout (default 0)\n"
    "  --texture-object N         only model N (from 0) gets the texture (default: every one)\n"
    "  --settings FILE.ini        settings file (default: the built-in "
    "defaults)\n" KALVO_UV_OPTION_HELP "  -h, --help                 show this text\n"
    "\n"
    "Exit status: 0 when every input was read without a message and the picture was written;\n"
    "1 when an input is missing or unreadable, a reader reported a problem or the picture\n"
    "could not be written; 2 for usage errors.\n";

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

bool ParseDoubles(const std::string& text, std::size_t count, std::vector<double>& values)
{
    const std::vector<std::string> parts = SplitList(text, ',');
    if (parts.size() != count)
        return false;
    values.clear();
    for (const std::string& part : parts) {
        double value = 0.0;
        if (!ParseDouble(part, value) || !std::isfinite(value))
            return false;
        values.push_back(value);
    }
    return true;
}

bool ParsePoint(const std::string& text, VertexInput& point)
{
    std::vector<double> values;
    if (!ParseDoubles(text, 3, values))
        return false;
    point.x = values[0];
    point.y = values[1];
    point.z = values[2];
    return true;
}

bool ParseIndices(const std::string& text, std::vector<int>& indices)
{
    for (const std::string& part : SplitList(text, ',')) {
        int index = 0;
        if (!ParseInt(part, index) || index < 0)
            return false;
        indices.push_back(index);
    }
    return true;
}

// Every option that names a value, checked and applied to the scene; "" when all is well,
// else the usage message.
std::string ApplyOptions(const TParsedArguments& parsed, TPreviewScene& scene, int& view,
                         int& width, int& height)
{
    const std::string viewName = parsed.Value("view", "persp");
    // Named in TViewId order.
    const char* const views[kViewCount] = {"persp", "top", "side", "face"};
    view = static_cast<int>(std::find(views, views + kViewCount, viewName) - views);
    if (view == kViewCount)
        return "--view takes persp, top, side or face, not '" + viewName + "'";

    if (parsed.Has("mode")) {
        int mode = 0;
        if (!ParseInt(parsed.Value("mode"), mode) || mode < 0 || mode >= kDisplayModeCount)
            return "--mode takes 0, 1, 2 or 3, not '" + parsed.Value("mode") + "'";
        scene.DisplayMode = mode;
    }
    if (parsed.Has("size")) {
        const std::vector<std::string> parts = SplitList(parsed.Value("size"), 'x');
        // A picture is held whole in memory like a template, so it takes the same bounds.
        if (parts.size() != 2 || !ParseInt(parts[0], width) || !ParseInt(parts[1], height) ||
            !IsValidTemplateSize(width, height))
            return "--size takes WxH with both from " + std::to_string(kMinTemplateSide) + " to " +
                   std::to_string(kMaxTemplateSide) + ", not '" + parsed.Value("size") + "'";
    }
    if (parsed.Has("angles")) {
        const std::vector<std::string> parts = SplitList(parsed.Value("angles"), ',');
        if (parts.size() != 2 || !ParseInt(parts[0], scene.View.ViewAngleH) ||
            !ParseInt(parts[1], scene.View.ViewAngleV))
            return "--angles takes H,V in whole degrees, not '" + parsed.Value("angles") + "'";
    }
    if (parsed.Has("distance")) {
        std::vector<double> values;
        if (!ParseDoubles(parsed.Value("distance"), 1, values) || !(values[0] > 0.0))
            return "--distance takes a number above 0, not '" + parsed.Value("distance") + "'";
        scene.View.ViewDistance = values[0];
    }
    if (parsed.Has("target") && !ParsePoint(parsed.Value("target"), scene.View.ViewTarget))
        return "--target takes X,Y,Z, not '" + parsed.Value("target") + "'";
    if (parsed.Has("ortho-zoom")) {
        std::vector<double> values;
        if (!ParseDoubles(parsed.Value("ortho-zoom"), 1, values) || !(values[0] > 0.0))
            return "--ortho-zoom takes a number above 0, not '" + parsed.Value("ortho-zoom") + "'";
        scene.View.OrthoZoom = values[0];
    }
    if (parsed.Has("ortho-centre") &&
        !ParsePoint(parsed.Value("ortho-centre"), scene.View.OrthoCentre))
        return "--ortho-centre takes X,Y,Z, not '" + parsed.Value("ortho-centre") + "'";
    if (parsed.Has("cursor") && !ParsePoint(parsed.Value("cursor"), scene.View.CursorPoint))
        return "--cursor takes X,Y,Z, not '" + parsed.Value("cursor") + "'";
    if (parsed.Has("texture-preview")) {
        const std::string state = parsed.Value("texture-preview");
        if (state != "on" && state != "off")
            return "--texture-preview takes on or off, not '" + state + "'";
        scene.TexturePreview = state == "on";
    }
    return "";
}

// Marks the entries named by option key; "" when every position exists.
std::string MarkEntries(const TParsedArguments& parsed, const std::string& key, TModelList& entries,
                        bool TModelEntry::*flag, bool value)
{
    if (!parsed.Has(key))
        return "";
    std::vector<int> indices;
    if (!ParseIndices(parsed.Value(key), indices))
        return "--" + key + " takes positions I,J... counted from 0, not '" + parsed.Value(key) +
               "'";
    for (const int index : indices) {
        if (index >= entries.Count())
            return "--" + key + ": there is no model " + std::to_string(index) + " (" +
                   std::to_string(entries.Count()) + " read)";
        entries[index].*flag = value;
    }
    return "";
}

} // namespace

int RunRender(const TArguments& arguments)
{
    std::vector<TOptionDef> options{
        kUvOption,
        {{"-o", "--output"}, "output", true},
        {{"--view"}, "view", true},
        {{"--mode"}, "mode", true},
        {{"--size"}, "size", true},
        {{"--angles"}, "angles", true},
        {{"--distance"}, "distance", true},
        {{"--target"}, "target", true},
        {{"--ortho-zoom"}, "ortho-zoom", true},
        {{"--ortho-centre"}, "ortho-centre", true},
        {{"--cursor"}, "cursor", true},
        {{"--select"}, "select", true},
        {{"--hide"}, "hide", true},
        {{"--texture-preview"}, "texture-preview", true},
        {{"--settings"}, "settings", true},
    };
    for (const TOptionDef& option : TextureOptionDefs())
        options.push_back(option);
    TParsedArguments parsed;
    std::string output;
    const char* format = nullptr;
    if (const std::optional<int> status =
            StartPictureCommand("render", arguments, options, kRenderUsage, parsed, output, format))
        return *status;
    if (parsed.Positional.empty())
        return UsageError("render", "no input files");
    if (const int status = CheckInputFormats("render", parsed.Positional); status != kExitOk)
        return status;

    TPreviewScene scene;
    int view = kPerspectiveView;
    int width = 640;
    int height = 480;
    if (const std::string message = ApplyOptions(parsed, scene, view, width, height);
        !message.empty())
        return UsageError("render", message);
    if (!FitsInMachineMemory(PictureText("render", width, height),
                             RenderBytesEstimate(width, height)))
        return kExitFailed;

    TSettings settings;
    if (!LoadSettingsOption(parsed, settings))
        return kExitFailed;
    scene.Settings = DrawSettingsFrom(settings);

    std::optional<TUvProjection> uv;
    if (const int status = ReadUvOption("render", parsed, uv); status != kExitOk)
        return status;
    TStderrSink sink;
    std::vector<TInputModel> models;
    const bool clean = LoadInputs(parsed.Positional, sink, models);
    ApplyUv(models, uv);
    // The scene draws from a model list, as in a preview window; the inputs keep their files.
    TModelList entries;
    for (TInputModel& input : models)
        entries.Add(std::move(input.Model));
    scene.Models = &entries;
    for (const auto& [key, flag, value] : {std::tuple{"select", &TModelEntry::Selected, true},
                                           std::tuple{"hide", &TModelEntry::Shown, false}}) {
        if (const std::string message = MarkEntries(parsed, key, entries, flag, value);
            !message.empty())
            return UsageError("render", message);
    }
    // Destroyed before the models, which they are attached to.
    std::vector<std::unique_ptr<TMapTemplate>> templates;
    if (const int status = SetUpTextures(parsed, settings, entries, width, height, templates);
        status != kExitOk)
        return status;

    // One pane over the whole window, its drawing area the size asked for.
    scene.SplitView = 0;
    scene.ThreeView = false;
    scene.View.ActiveView = view;
    ApplyView(scene.View, scene.Camera);
    scene.Layout(width + 8, height + 8);
    scene.RedrawView(view, view == kPerspectiveView ? scene.DisplayMode : kWireframeMode);
    scene.FinishFill();

    if (!WritePicture(scene.Pane(view), output, format)) {
        PrintError("cannot write " + output);
        return kExitFailed;
    }
    return clean ? kExitOk : kExitFailed;
}

} // namespace kalvo::cli
