// kalvo3d-cli info: what the program makes of model files, per model.

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/base/numbers.h"
#include "core/model/preview_obj.h"

#include <cstdio>
#include <string>

namespace kalvo::cli {

namespace {

constexpr const char* kInfoUsage =
    "Usage: kalvo3d-cli info [--json] [--uv PROJECTION] IN...\n"
    "\n"
    "Reads each model file (.dxf, .rok, .rds, .obj, .stl, .ply, .gltf, .glb, .3ds, .lwo, .dae,\n"
    ".fbx) as the desktop program's Open command does and\n"
    "prints, for every model it gives: the file, the model's name, its vertex, edge, polygon\n"
    "and group counts, its spatial box, its texture coordinate range and the edge-use verdict\n"
    "of the RDS export check (greater than 2: an edge is shared by three or more faces and the\n"
    "model cannot be exported; -1: some edges belong to no face; otherwise the largest number\n"
    "of faces sharing an edge).\n"
    "\n"
    "Options:\n"
    "  --json      print one JSON array of objects with the keys file, name, vertices, edges,\n"
    "              polygons, groups, box [MinX, MaxX, MinY, MaxY, MinZ, MaxZ],\n"
    "              uv [MinU, MaxU, MinV, MaxV] and edge_use\n" KALVO_UV_OPTION_HELP
    "  -h, --help  show this text\n"
    "\n"
    "Exit status: 0 when every file was read without a message, 1 otherwise, 2 for usage "
    "errors.\n";

void AppendJsonString(std::string& out, const std::string& text)
{
    out += '"';
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                static const char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendNumberList(std::string& out, std::initializer_list<double> values)
{
    out += '[';
    bool first = true;
    for (const double value : values) {
        if (!first)
            out += ", ";
        first = false;
        out += FormatShortest(value);
    }
    out += ']';
}

std::string Verdict(int edgeUse)
{
    if (edgeUse > 2)
        return "an edge is shared by three or more polygons; RDS export refuses the model";
    if (edgeUse < 0)
        return "some edges belong to no polygon (loose lines)";
    if (edgeUse == 0)
        return "no polygons";
    return "every edge is shared by at most two polygons";
}

std::string Range(const char* axis, double low, double high)
{
    return std::string(axis) + " " + FormatShortest(low) + " .. " + FormatShortest(high);
}

void PrintText(const TInputModel& input, int edgeUse)
{
    const TpreviewObj& model = *input.Model;
    std::string out;
    out += PathForDisplay(input.File) + "\n";
    out += "  name      " + NameForDisplay(model) + "\n";
    out += "  vertices  " + std::to_string(model.VertexCount()) + "\n";
    out += "  edges     " + std::to_string(model.EdgeCount()) + "\n";
    out += "  polygons  " + std::to_string(model.PolygonCount()) + "\n";
    out += "  groups    " + std::to_string(model.GroupCount) + "\n";
    out += "  box       " + Range("x", model.MinX, model.MaxX) + ", " +
           Range("y", model.MinY, model.MaxY) + ", " + Range("z", model.MinZ, model.MaxZ) + "\n";
    out += "  uv        " + Range("u", model.MinU, model.MaxU) + ", " +
           Range("v", model.MinV, model.MaxV) + "\n";
    out += "  edge use  " + std::to_string(edgeUse) + " (" + Verdict(edgeUse) + ")\n";
    std::fputs(out.c_str(), stdout);
}

void AppendJson(std::string& out, const TInputModel& input, int edgeUse)
{
    const TpreviewObj& model = *input.Model;
    out += "  {\"file\": ";
    AppendJsonString(out, PathForDisplay(input.File));
    out += ", \"name\": ";
    AppendJsonString(out, NameForDisplay(model));
    out += ", \"vertices\": " + std::to_string(model.VertexCount());
    out += ", \"edges\": " + std::to_string(model.EdgeCount());
    out += ", \"polygons\": " + std::to_string(model.PolygonCount());
    out += ", \"groups\": " + std::to_string(model.GroupCount);
    out += ", \"box\": ";
    AppendNumberList(out, {model.MinX, model.MaxX, model.MinY, model.MaxY, model.MinZ, model.MaxZ});
    out += ", \"uv\": ";
    AppendNumberList(out, {model.MinU, model.MaxU, model.MinV, model.MaxV});
    out += ", \"edge_use\": " + std::to_string(edgeUse) + "}";
}

} // namespace

int RunInfo(const TArguments& arguments)
{
    const std::vector<TOptionDef> options{kUvOption, {{"--json"}, "json", false}};
    TParsedArguments parsed;
    std::string error;
    if (!ParseArguments(arguments, options, parsed, error))
        return UsageError("info", error);
    if (parsed.Help) {
        std::fputs(kInfoUsage, stdout);
        return kExitOk;
    }
    if (parsed.Positional.empty())
        return UsageError("info", "no input files");
    if (const int status = CheckInputFormats("info", parsed.Positional); status != kExitOk)
        return status;

    std::optional<TUvProjection> uv;
    if (const int status = ReadUvOption("info", parsed, uv); status != kExitOk)
        return status;
    TStderrSink sink;
    std::vector<TInputModel> models;
    const bool clean = LoadInputs(parsed.Positional, sink, models);
    ApplyUv(models, uv);

    const bool json = parsed.Has("json");
    std::string out = json ? "[\n" : "";
    for (std::size_t i = 0; i < models.size(); ++i) {
        const int edgeUse = models[i].Model->CountEdgeUse();
        if (json) {
            AppendJson(out, models[i], edgeUse);
            out += i + 1 < models.size() ? ",\n" : "\n";
        } else {
            PrintText(models[i], edgeUse);
        }
    }
    if (json) {
        out += "]\n";
        std::fputs(out.c_str(), stdout);
    }
    return clean ? kExitOk : kExitFailed;
}

} // namespace kalvo::cli
