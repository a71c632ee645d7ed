// kalvo3d-cli convert: model files to one RDS ASCII scene, as the desktop program's Open and
// Export commands would make it.

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "core/base/errors.h"
#include "core/io/export_check.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"

#include <cstdio>
#include <string>

namespace kalvo::cli {

namespace {

constexpr const char* kConvertUsage =
    "Usage: kalvo3d-cli convert [--loose-lines keep|drop] [--uv PROJECTION] -o OUT.rds IN...\n"
    "\n"
    "Reads the model files IN (.dxf, .rok, .rds, and through Assimp .obj, .stl, .ply, .gltf,\n"
    ".glb, .3ds, .lwo, .dae, .fbx; the extension picks the reader, in any case) in order and\n"
    "writes every model they give into one Ray Dream Studio 5 ASCII file. An RDS file gives\n"
    "one model per mesh object, any other file one model named after the file.\n"
    "A model with an edge shared by three or more polygons cannot be written: it is left out\n"
    "with a message. When no model can be written, OUT is not created.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT.rds       the file to write (required)\n"
    "  --loose-lines keep|drop    edges that belong to no polygon: written (keep, the\n"
    "                             default) or left out (drop)\n" KALVO_UV_OPTION_HELP
    "  -h, --help                 show this text\n"
    "\n"
    "Exit status: 0 when every input was read without a message and every model was written;\n"
    "1 when an input is missing or unreadable, a reader reported a problem, a model was left\n"
    "out or nothing was written; 2 for usage errors.\n";

} // namespace

int RunConvert(const TArguments& arguments)
{
    const std::vector<TOptionDef> options{
        kUvOption,
        {{"-o", "--output"}, "output", true},
        {{"--loose-lines"}, "loose-lines", true},
    };
    TParsedArguments parsed;
    std::string error;
    if (!ParseArguments(arguments, options, parsed, error))
        return UsageError("convert", error);
    if (parsed.Help) {
        std::fputs(kConvertUsage, stdout);
        return kExitOk;
    }
    const std::string looseLines = parsed.Value("loose-lines", "keep");
    if (looseLines != "keep" && looseLines != "drop")
        return UsageError("convert", "--loose-lines takes keep or drop, not '" + looseLines + "'");
    if (!parsed.Has("output") || parsed.Value("output").empty())
        return UsageError("convert", "missing -o OUT.rds (the file to write)");
    if (parsed.Positional.empty())
        return UsageError("convert", "no input files");
    if (const int status = CheckInputFormats("convert", parsed.Positional); status != kExitOk)
        return status;
    const std::string output = parsed.Value("output");

    std::optional<TUvProjection> uv;
    if (const int status = ReadUvOption("convert", parsed, uv); status != kExitOk)
        return status;
    TStderrSink sink;
    std::vector<TInputModel> models;
    bool clean = LoadInputs(parsed.Positional, sink, models);
    ApplyUv(models, uv);

    // The question about loose lines is answered by the option, without asking.
    const bool keepLooseLines = looseLines == "keep";
    const TKeepLooseLines answer = [keepLooseLines](const std::string&) { return keepLooseLines; };
    TRDSwriter writer;
    for (TInputModel& input : models) {
        std::string refusal;
        if (!AcceptForExport(*input.Model, answer, refusal)) {
            sink.SetContext(input.File);
            sink.Show(TMsgKind::Information, refusal, TButtons::Ok);
            sink.SetContext("");
            clean = false;
            continue;
        }
        writer.AddObject(*input.Model);
    }
    if (writer.Objects().empty()) {
        PrintError("no model could be written; " + output + " was not created");
        return kExitFailed;
    }
    try {
        writer.WriteFile(output);
    } catch (const TWriteError& failure) {
        PrintError(failure.what());
        return kExitFailed;
    }
    return clean ? kExitOk : kExitFailed;
}

} // namespace kalvo::cli
