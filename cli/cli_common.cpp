#include "cli/cli_common.h"

#include "core/base/cp932.h"
#include "core/base/errors.h"
#include "core/io/model_files.h"
#include "core/model/preview_obj.h"

#include <QString>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kalvo::cli {

std::string TParsedArguments::Value(const std::string& key, const std::string& fallback) const
{
    const auto found = Options.find(key);
    return found == Options.end() ? fallback : found->second;
}

namespace {

const TOptionDef* FindOption(const std::vector<TOptionDef>& options, const std::string& name)
{
    for (const TOptionDef& option : options) {
        for (const std::string& spelling : option.Names) {
            if (spelling == name)
                return &option;
        }
    }
    return nullptr;
}

} // namespace

bool ParseArguments(const TArguments& arguments, const std::vector<TOptionDef>& options,
                    TParsedArguments& parsed, std::string& error)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.Positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            parsed.Help = true;
            continue;
        }
        std::string name = argument;
        std::string value;
        bool hasInlineValue = false;
        const std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasInlineValue = true;
        }
        const TOptionDef* option = FindOption(options, name);
        if (!option) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (option->TakesValue && !hasInlineValue) {
            if (i + 1 >= arguments.size()) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            value = arguments[++i];
        } else if (!option->TakesValue && hasInlineValue) {
            error = "option '" + name + "' takes no value";
            return false;
        }
        parsed.Options[option->Key] = value;
    }
    return true;
}

int UsageError(const std::string& command, const std::string& message)
{
    std::fprintf(stderr, "kalvo3d-cli %s: %s\nTry 'kalvo3d-cli %s --help'.\n", command.c_str(),
                 message.c_str(), command.c_str());
    return kExitUsage;
}

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "kalvo3d-cli: %s\n", message.c_str());
}

TAnswer TStderrSink::Show(TMsgKind kind, const std::string& text, TButtons buttons)
{
    ++count_;
    const char* label = kind == TMsgKind::Error ? "error: " : "";
    if (context_.empty())
        std::fprintf(stderr, "kalvo3d-cli: %s%s\n", label, text.c_str());
    else
        std::fprintf(stderr, "kalvo3d-cli: %s: %s%s\n", context_.c_str(), label, text.c_str());
    switch (buttons) {
    case TButtons::Ok:
    case TButtons::OkCancel:
        return TAnswer::Ok;
    case TButtons::YesNo:
    case TButtons::YesNoCancel:
        break;
    }
    return answer_;
}

int CheckInputFormats(const std::string& command, const std::vector<std::string>& inputs)
{
    for (const std::string& input : inputs) {
        if (FormatOfPath(input) == TModelFormat::Unknown)
            return UsageError(command, "'" + input +
                                           "': unknown file type (the extension must be .dxf, "
                                           ".rok, .rds, .obj, .stl, .ply, .gltf, .glb, .3ds, "
                                           ".lwo, .dae or .fbx)");
    }
    return kExitOk;
}

bool LoadInputs(const std::vector<std::string>& inputs, TStderrSink& sink,
                std::vector<TInputModel>& models)
{
    bool clean = true;
    for (const std::string& input : inputs) {
        std::error_code error;
        const auto status = std::filesystem::status(input, error);
        if (!std::filesystem::exists(status)) {
            PrintError(input + ": no such file");
            clean = false;
            continue;
        }
        if (std::filesystem::is_directory(status)) {
            PrintError(input + ": is a folder, not a file");
            clean = false;
            continue;
        }
        sink.SetContext(input);
        const int messagesBefore = sink.Count();
        std::vector<std::unique_ptr<TpreviewObj>> read;
        try {
            ReadModelFile(input, FormatOfPath(input), sink, read);
        } catch (const TReadError& failure) {
            // What was read before the failure stays (the objects of an RDS file already
            // loaded), as in the desktop program; a model left empty is dropped, so a file that
            // could not be opened adds no empty object. The command still ends with status 1.
            PrintError(failure.what());
            clean = false;
            std::erase_if(read, [](const auto& model) { return model->VertexCount() == 0; });
        }
        sink.SetContext("");
        if (sink.Count() != messagesBefore)
            clean = false;
        for (auto& model : read)
            models.push_back(TInputModel{input, std::move(model)});
    }
    return clean;
}

const TOptionDef kUvOption{{"--uv"}, "uv", true};
int ReadUvOption(const std::string& command, const TParsedArguments& parsed,
                 std::optional<TUvProjection>& projection)
{
    projection.reset();
    if (!parsed.Has("uv"))
        return kExitOk;
    const std::string name = parsed.Value("uv");
    projection = UvProjectionOfName(name);
    if (projection)
        return kExitOk;
    std::string names;
    for (const TUvProjectionName& entry : UvProjectionNames())
        names += std::string(names.empty() ? "" : ", ") + entry.Name;
    return UsageError(command, "--uv takes one of " + names + ", not '" + name + "'");
}

void ApplyUv(std::vector<TInputModel>& models, const std::optional<TUvProjection>& projection)
{
    if (!projection)
        return;
    for (TInputModel& input : models)
        ProjectUv(*input.Model, *projection);
}

std::string NameForDisplay(const TpreviewObj& model) { return Cp932ToUtf8(model.Name); }

std::string PathForDisplay(const std::string& path)
{
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())).toStdString();
}

} // namespace kalvo::cli
