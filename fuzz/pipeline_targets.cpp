// The whole-pipeline targets: any bytes as a model file, then everything the program does with
// a model after reading it, with sizes, camera and points taken from the input.

#include "core/base/errors.h"
#include "core/base/numbers.h"
#include "core/io/export_check.h"
#include "core/io/model_files.h"
#include "core/io/rds_writer.h"
#include "core/model/model_list.h"
#include "core/model/uv_projection.h"
#include "core/preview/preview_scene.h"
#include "core/template/map_template.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace kalvo::fuzz {

namespace {

using TModels = std::vector<std::unique_ptr<TpreviewObj>>;

// Reads the header bytes one value at a time; past its end every byte is 0.
class TParameters
{
public:
    explicit TParameters(std::string_view header) : header_(header) {}

    int Byte() { return next_ < header_.size() ? static_cast<unsigned char>(header_[next_++]) : 0; }
    bool Bit() { return (Byte() & 1) != 0; }
    int Word() { return Byte() | Byte() << 8; }
    // lowest .. highest, both included.
    int Range(int lowest, int highest) { return lowest + Word() % (highest - lowest + 1); }
    // A finite number from tiny to huge, either sign, zero included.
    double Number()
    {
        const int mantissa = static_cast<std::int16_t>(Word());
        return std::ldexp(mantissa / 256.0, Byte() % 160 - 80);
    }
    double Positive()
    {
        const double value = std::fabs(Number());
        return value > 0.0 ? value : 1.0;
    }
    VertexInput Point()
    {
        VertexInput point{};
        point.x = Number();
        point.y = Number();
        point.z = Number();
        return point;
    }

private:
    std::string_view header_;
    std::size_t next_ = 0;
};

struct TInput
{
    TParameters Parameters;
    TModelFormat Format;
    std::string_view File;
};

TInput SplitInput(std::string_view bytes)
{
    const std::string_view header = bytes.substr(0, std::min(bytes.size(), kParameterBytes));
    const TModelFormat formats[3] = {TModelFormat::Dxf, TModelFormat::Rok, TModelFormat::Rds};
    const int selector = header.empty() ? 0 : static_cast<unsigned char>(header[0]) % 3;
    return TInput{TParameters(header.substr(std::min<std::size_t>(1, header.size()))),
                  formats[selector], bytes.substr(header.size())};
}

// The models the Open command would get from the file.
TModels ReadModels(TModelFormat format, std::string_view bytes, TQuietSink& sink)
{
    const char* const extensions[] = {".dxf", ".rok", ".rds"};
    const TScratchFile file(bytes, extensions[static_cast<int>(format)]);
    TModels models;
    try {
        ReadModelFile(file.Path(), format, sink, models);
    } catch (const TReadError&) {
        // the models read before the failure stay, as in the program
    }
    for (auto& model : models)
        CheckModel(*model);
    return models;
}

// The document the Open command makes of the file.
void ReadDocument(TModelFormat format, std::string_view bytes, TQuietSink& sink,
                  TModelList& document)
{
    for (auto& model : ReadModels(format, bytes, sink))
        document.Add(std::move(model));
}

void FillScene(TPreviewScene& scene, TParameters& parameters, TModelList& document)
{
    const int flags = parameters.Word();
    for (int i = 0; i < document.Count(); ++i) {
        const int bits = flags >> (2 * (i % 8));
        document[i].Shown = (bits & 1) == 0;
        document[i].Selected = (bits & 2) != 0;
    }
    scene.Models = &document;
    scene.View.ViewAngleH = static_cast<std::int16_t>(parameters.Word());
    scene.View.ViewAngleV = static_cast<std::int16_t>(parameters.Word());
    scene.View.ViewDistance = parameters.Positive();
    scene.View.ViewTarget = parameters.Point();
    scene.View.OrthoZoom = parameters.Positive();
    scene.View.OrthoCentre = parameters.Point();
    scene.View.CursorPoint = parameters.Point();
    scene.Settings.TextureShade = parameters.Bit();
    scene.Settings.BoundingBox = parameters.Bit();
    scene.TexturePreview = parameters.Bit();
    ApplyView(scene.View, scene.Camera);
}

// Every display mode, buffered and direct, then the orthographic panes and the cross-hair.
// A direct fill is interrupted by a resize half-way, as a window resized during the fill is.
void DrawEverything(TPreviewScene& scene, int width, int height, int otherWidth, int otherHeight)
{
    scene.Layout(width, height);
    for (int buffered = 0; buffered < 2; ++buffered) {
        scene.Settings.FrameMode = buffered;
        scene.Settings.FlatFrameMode = buffered;
        scene.Settings.FlatMode = buffered;
        for (int mode = 0; mode < 4; ++mode) {
            scene.DisplayMode = mode;
            scene.PrepareBuffer(mode);
            scene.RepaintAll();
            scene.FillStep();
            if (mode == 2) {
                scene.Layout(otherWidth, otherHeight);
                scene.RepaintAll();
                scene.FinishFill();
                scene.Layout(width, height);
                scene.RepaintAll();
            }
            scene.FinishFill();
        }
    }
    for (int view = 1; view <= 3; ++view) {
        scene.SelectView(view);
        scene.RedrawView(view, 0);
        scene.DrawCrossHair(view, scene.View.CursorPoint);
    }
    scene.SetCursorPoint(scene.View.CursorPoint);
    scene.SelectView(0);
}

} // namespace

void RunScene(std::string_view bytes)
{
    TInput input = SplitInput(bytes);
    TQuietSink sink;
    TModelList document;
    ReadDocument(input.Format, input.File, sink, document);
    TParameters& parameters = input.Parameters;

    TPreviewScene scene;
    // A clock that moves on by a fixed step at every look makes the fill run in slices.
    std::int64_t now = 0;
    const int tick = parameters.Range(0, 150);
    scene.Clock = [&now, tick]() { return now += tick; };
    FillScene(scene, parameters, document);
    const int width = parameters.Range(0, 48);
    const int height = parameters.Range(0, 48);
    const int otherWidth = parameters.Range(0, 48);
    const int otherHeight = parameters.Range(0, 48);
    scene.ThreeView = parameters.Bit();
    scene.View.ActiveView = parameters.Range(0, 3);
    for (int split = 0; split < 2; ++split) {
        scene.SplitView = split;
        DrawEverything(scene, width, height, otherWidth, otherHeight);
    }
    scene.Closing = true;
    scene.Layout(width, height);
    scene.RepaintAll();
}

void RunTemplate(std::string_view bytes)
{
    TInput input = SplitInput(bytes);
    TQuietSink sink;
    TModelList document;
    ReadDocument(input.Format, input.File, sink, document);
    TParameters& parameters = input.Parameters;
    if (document.Empty())
        document.Add(std::make_unique<TpreviewObj>());
    TpreviewObj& model = *document[0].Model;

    auto mapTemplate = std::make_unique<TMapTemplate>();
    mapTemplate->SetModel(&model);
    const int width = parameters.Range(1, 128);
    const int height = parameters.Range(1, 128);
    Expect(mapTemplate->SetupTemplate(width, height), "a valid template size was refused");
    if (parameters.Bit()) {
        const bool matched = mapTemplate->MatchRatio();
        const TTemplateMapping& mapping = mapTemplate->Mapping();
        Expect(!matched || IsValidTemplateSize(mapping.TemplateWidth, mapping.TemplateHeight),
               "the ratio gave a size the template does not accept");
        Expect(mapTemplate->Bitmap().Width() == mapping.TemplateWidth &&
                   mapTemplate->Bitmap().Height() == mapping.TemplateHeight,
               "the bitmap is not the template's size");
        // A matched side may reach the largest template; what follows draws the same paths
        // at a small size, many times faster.
        if (mapping.TemplateWidth > 2 * width || mapping.TemplateHeight > 2 * height)
            Expect(mapTemplate->ChangeSize(width, height), "a valid template size was refused");
    }

    // The screen the template window draws on; smaller than the template at times.
    TCanvas screen(parameters.Range(0, 80), parameters.Range(0, 80));
    const int vertexCount = model.VertexCount();
    const int edgeCount = model.EdgeCount();
    for (int orientation = 0; orientation < 4; ++orientation) {
        const double x = parameters.Range(0, 700) - 30;
        const double y = parameters.Range(0, 700) - 30;
        const int vertex = mapTemplate->VertexAtPixel(x, y);
        const int edge = mapTemplate->EdgeAtPixel(x, y);
        Expect(vertex >= -1 && vertex < vertexCount, "picked a vertex the model lacks");
        Expect(edge >= -1 && edge < edgeCount, "picked an edge the model lacks");
        if (vertex >= 0)
            model.Vertices[static_cast<std::size_t>(vertex)].Mark = true;
        if (edge >= 0)
            model.Edges[static_cast<std::size_t>(edge)].Mark = true;
        const TUVPoint delta = mapTemplate->PixelDeltaToUV(parameters.Range(0, 200) - 100,
                                                           parameters.Range(0, 200) - 100);
        mapTemplate->MoveMarked(delta.u, delta.v);
        mapTemplate->RedrawBitmap();
        mapTemplate->DrawTemplateMesh(screen, false, mapTemplate->Mapping().Zoom);
        mapTemplate->Rotate();
    }
    Expect(mapTemplate->Mapping().Orientation == 0, "four quarter turns are not a whole one");
    mapTemplate->ClearMarks();

    // Sizes outside the rule are refused and change nothing.
    const int bad[] = {0, -1, kMaxTemplateSide + 1, INT_MAX, INT_MIN};
    const int badSide = bad[parameters.Range(0, 4)];
    const TTemplateMapping before = mapTemplate->Mapping();
    Expect(!mapTemplate->ChangeSize(badSide, height) && !mapTemplate->ChangeSize(width, badSide),
           "a template size outside the rule was accepted");
    Expect(mapTemplate->Mapping().TemplateWidth == before.TemplateWidth &&
               mapTemplate->Mapping().TemplateHeight == before.TemplateHeight,
           "a refused size changed the template");
    Expect(mapTemplate->ChangeSize(parameters.Range(1, 96), parameters.Range(1, 96)),
           "a valid template size was refused");

    // A small picture on the template, painted on, then the texture looked up and drawn.
    TCanvas picture(parameters.Range(1, 4), parameters.Range(1, 4));
    for (int py = 0; py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px)
            picture.SetPixel(px, py, static_cast<TColour>(parameters.Word()) * 0x101u);
    mapTemplate->LoadPicture(picture);
    mapTemplate->SetPenWidth(1 << parameters.Range(0, 4));
    mapTemplate->PenStroke(parameters.Range(0, 140) - 20, parameters.Range(0, 140) - 20,
                           parameters.Range(0, 140) - 20, parameters.Range(0, 140) - 20);
    mapTemplate->Transparency = parameters.Bit();
    mapTemplate->TransparentColour = mapTemplate->BitmapPixel(0, 0);
    for (int i = 0; i < 4; ++i) {
        const TColour texel = mapTemplate->SampleTexture(parameters.Number(), parameters.Number());
        Expect(texel <= 0xFFFFFF, "a texel outside the colour range");
    }
    for (const TVecPointC& vertex : model.Vertices)
        mapTemplate->SampleTexture(vertex.u, vertex.v);

    TPreviewScene scene;
    scene.Clock = []() { return std::int64_t{0}; };
    FillScene(scene, parameters, document);
    document[0].Shown = true;
    const int paneWidth = parameters.Range(0, 40);
    const int paneHeight = parameters.Range(0, 40);
    scene.Layout(paneWidth, paneHeight);
    for (int buffered = 0; buffered < 2; ++buffered) {
        scene.Settings.FlatFrameMode = buffered;
        scene.Settings.FlatMode = buffered;
        for (int mode = 2; mode <= 3; ++mode) {
            scene.DisplayMode = mode;
            scene.PrepareBuffer(mode);
            scene.RedrawView(0, mode);
            scene.FinishFill();
        }
    }
    // The template goes first, as the object window closes it before deleting its model.
    mapTemplate.reset();
    Expect(model.TemplateWindow == nullptr, "the model still refers to its closed template");
    scene.RedrawView(0, 3);
    scene.FinishFill();
}

namespace {

// A value as it comes back from an RDS file, which holds eight decimals.
double AsWritten(double value)
{
    double read = 0.0;
    Expect(ParseDouble(FormatFixed(value, 8), read), "a written number does not read back");
    return read;
}

using TPosition = std::tuple<double, double, double>;

TPosition WrittenPosition(const TVecPointC& vertex)
{
    return {AsWritten(vertex.x), AsWritten(vertex.y), AsWritten(vertex.z)};
}

// A polygon's sides as unordered pairs of positions, sorted: what must survive the file
// whatever order the corners are listed in.
std::vector<std::pair<TPosition, TPosition>> SideSet(const TpreviewObj& model,
                                                     const PolygonRec& polygon, bool written)
{
    std::vector<std::pair<TPosition, TPosition>> sides;
    for (int side : polygon.sides) {
        const TEdgeC& edge = model.Edges[static_cast<std::size_t>(side)];
        const TVecPointC& a = model.Vertices[static_cast<std::size_t>(edge.StartVertex)];
        const TVecPointC& b = model.Vertices[static_cast<std::size_t>(edge.EndVertex)];
        TPosition first = written ? WrittenPosition(a) : TPosition{a.x, a.y, a.z};
        TPosition second = written ? WrittenPosition(b) : TPosition{b.x, b.y, b.z};
        if (second < first)
            std::swap(first, second);
        sides.emplace_back(first, second);
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

// Whether the polygon's sides run around it end to end, back to where they began: only such a
// polygon has the corner list an RDS file stores. A ROK face may name lines that do not join
// up; what comes back of those is the writer's best effort, not the same polygon.
bool IsClosedLoop(const TpreviewObj& model, const PolygonRec& polygon)
{
    if (polygon.count() < 2)
        return false;
    const auto edge = [&](int k) -> const TEdgeC& {
        return model.Edges[static_cast<std::size_t>(polygon.sides[static_cast<std::size_t>(k)])];
    };
    for (const bool reversed : {false, true}) {
        const int start = reversed ? edge(0).EndVertex : edge(0).StartVertex;
        int at = reversed ? edge(0).StartVertex : edge(0).EndVertex;
        bool joined = true;
        for (int k = 1; k < polygon.count() && joined; ++k) {
            const TEdgeC& side = edge(k);
            joined = side.StartVertex == at || side.EndVertex == at;
            at = side.StartVertex == at ? side.EndVertex : side.StartVertex;
        }
        if (joined && at == start)
            return true;
    }
    return false;
}

void ExpectSameModel(const TpreviewObj& original, const TpreviewObj& read)
{
    const std::string quoted = !original.Name.empty() && original.Name.front() == '"'
                                   ? original.Name
                                   : '"' + original.Name + '"';
    // The file format has no escape for a quote inside a name: a name holding one other than
    // its own enclosing pair does not come back whole.
    if (quoted.find('"', 1) == quoted.size() - 1)
        Expect(read.Name == quoted, "the name changed on the way through the file");

    // Every position the file holds with each of its mapping coordinates: vertices at one
    // position with different (u, v) stay apart, and those that only the eighth decimal told
    // apart become one.
    std::set<std::tuple<TPosition, double, double>> written;
    for (const TVecPointC& vertex : original.Vertices)
        written.insert({WrittenPosition(vertex), AsWritten(vertex.u), AsWritten(vertex.v)});
    Expect(static_cast<std::size_t>(read.VertexCount()) == written.size(),
           "the vertices read back differ in number");
    for (const TVecPointC& vertex : read.Vertices)
        Expect(written.count({TPosition{vertex.x, vertex.y, vertex.z}, vertex.u, vertex.v}) == 1,
               "a vertex read back at a position or with a u, v never written");

    // A polygon needs two corners in the file; one of fewer sides does not come back.
    std::size_t next = 0;
    for (const PolygonRec& polygon : original.Polygons) {
        if (polygon.count() < 2)
            continue;
        Expect(next < read.Polygons.size(), "a polygon did not come back");
        const PolygonRec& back = read.Polygons[next++];
        if (IsClosedLoop(original, polygon))
            Expect(SideSet(original, polygon, true) == SideSet(read, back, false),
                   "a polygon read back has other sides");
    }
    Expect(next == read.Polygons.size(), "more polygons came back than were written");
}

} // namespace

void RunExport(std::string_view bytes)
{
    TInput input = SplitInput(bytes);
    TQuietSink sink;
    TModels models = ReadModels(input.Format, input.File, sink);
    const bool keepLooseLines = input.Parameters.Bit();

    // Half the inputs get new (u, v) by a projection first. The box projection's seams must keep
    // every polygon where it was, and leave no edge unused or shared by more polygons.
    const auto projections = UvProjectionNames();
    const std::size_t projection = static_cast<std::size_t>(input.Parameters.Byte() % 16);
    for (auto& model : models) {
        if (projection >= projections.size())
            break;
        const int useBefore = model->CountEdgeUse();
        std::vector<std::vector<std::pair<TPosition, TPosition>>> sidesBefore;
        for (const PolygonRec& polygon : model->Polygons)
            sidesBefore.push_back(SideSet(*model, polygon, false));
        ProjectUv(*model, projections[projection].Projection);
        CheckModel(*model);
        const int useAfter = model->CountEdgeUse();
        Expect(useBefore < 0 || useBefore > 2 || (useAfter >= 0 && useAfter <= useBefore),
               "the projection left an edge unused or shared by more polygons");
        for (std::size_t i = 0; i < sidesBefore.size(); ++i)
            Expect(SideSet(*model, model->Polygons[i], false) == sidesBefore[i],
                   "the projection moved a polygon");
    }

    // The export check the Export command makes.
    TRDSwriter writer;
    std::vector<const TpreviewObj*> accepted;
    for (auto& model : models) {
        std::string refusal;
        if (!AcceptForExport(
                *model, [keepLooseLines](const std::string&) { return keepLooseLines; }, refusal))
            continue;
        writer.AddObject(*model);
        accepted.push_back(model.get());
    }
    if (accepted.empty())
        return;
    const std::string text = writer.WriteToString();

    TQuietSink readSink;
    TModels read;
    const TScratchFile file(text, ".rds");
    try {
        ReadModelFile(file.Path(), TModelFormat::Rds, readSink, read);
    } catch (const TReadError& failure) {
        throw TFuzzFault(std::string("a written file does not read: ") + failure.what());
    }
    Expect(readSink.Count == 0, "reading a written file gave a message");
    Expect(read.size() == accepted.size(), "the objects read back differ in number");
    for (std::size_t i = 0; i < accepted.size(); ++i)
        ExpectSameModel(*accepted[i], *read[i]);
}

} // namespace kalvo::fuzz
