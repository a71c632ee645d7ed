#include "core/io/model_files.h"

#include "core/base/cp932.h"
#include "core/base/message_sink.h"
#include "core/base/text.h"
#include "core/io/assimp_reader.h"
#include "core/io/rds_browser.h"
#include "core/io/rok_reader.h"
#include "core/model/preview_obj.h"

#include <cassert>
#include <optional>
#include <sys/stat.h>

namespace kalvo {

namespace {

// The size of the file at path in bytes; 0 when it cannot be told (the reader then reports the
// reason, or reads a stream of unknown length).
std::int64_t FileSizeOf(const std::string& path)
{
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
    return static_cast<std::int64_t>(info.st_size);
}

bool ReadDxfFile(const std::string& path, const TModelReadContext& context, TReadWatch* watch)
{
    TpreviewObj& model = context.CreateModel(ModelNameOfPath(path));
    TDXFobject reader(*context.Sink, context.MessageList);
    reader.SetWatch(watch);
    reader.ReadInto(path, model);
    return !reader.ReportedError();
}

bool ReadRokFile(const std::string& path, const TModelReadContext& context, TReadWatch* watch)
{
    TpreviewObj& model = context.CreateModel(ModelNameOfPath(path));
    TROKobject reader(*context.Sink);
    reader.SetWatch(watch);
    if (!reader.ReadPalette(path))
        return false;
    reader.ReadGeometry(model);
    if (context.ObjectLoaded)
        context.ObjectLoaded(model);
    return !reader.ReportedError();
}

bool ReadLibraryFile(const std::string& path, const TModelReadContext& context, TReadWatch* watch)
{
    TpreviewObj& model = context.CreateModel(ModelNameOfPath(path));
    return ReadAssimpFile(path, model, *context.Sink, watch);
}

// One model per named mesh object of the file, named as in the file (quotes included).
bool ReadRdsFile(const std::string& path, const TModelReadContext& context, TReadWatch* watch)
{
    TRDSbrowser browser(context.Sink);
    browser.SetWatch(watch);
    if (!browser.ScanFile(path)) {
        context.Sink->Show(TMsgKind::Information, kRdsNoMeshMessage, TButtons::Ok);
        return false;
    }
    TRDSloadCallbacks callbacks;
    callbacks.CreateModelEntry = context.CreateModel;
    callbacks.ObjectLoaded = context.ObjectLoaded;
    callbacks.Progress = context.Progress;
    browser.LoadObjects(callbacks);
    return true;
}

} // namespace

TModelFormat FormatOfPath(const std::string& path)
{
    if (EndsWithNoCase(path, ".dxf"))
        return TModelFormat::Dxf;
    if (EndsWithNoCase(path, ".rok"))
        return TModelFormat::Rok;
    if (EndsWithNoCase(path, ".rds"))
        return TModelFormat::Rds;
    if (IsAssimpPath(path))
        return TModelFormat::Assimp;
    return TModelFormat::Unknown;
}

std::string ModelNameOfPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    return Utf8ToCp932(fileName);
}

bool ReadModelFile(const std::string& path, TModelFormat format, const TModelReadContext& context)
{
    assert(context.Sink && context.CreateModel);
    std::optional<TReadWatch> watch;
    if (context.Watch)
        watch.emplace(context.Watch, FileSizeOf(path));
    TReadWatch* watching = watch ? &*watch : nullptr;
    try {
        switch (format) {
        case TModelFormat::Dxf:
            return ReadDxfFile(path, context, watching);
        case TModelFormat::Rok:
            return ReadRokFile(path, context, watching);
        case TModelFormat::Rds:
            return ReadRdsFile(path, context, watching);
        case TModelFormat::Assimp:
            return ReadLibraryFile(path, context, watching);
        case TModelFormat::Unknown:
            break;
        }
    } catch (const TModelTooLarge&) {
        // The faces read so far stay, as after any other reason to stop.
        context.Sink->Show(TMsgKind::Information, kModelTooLargeMessage, TButtons::Ok);
        return false;
    }
    assert(false && "no reader for this format");
    return false;
}

bool ReadModelFile(const std::string& path, TModelFormat format, TMessageSink& sink,
                   std::vector<std::unique_ptr<TpreviewObj>>& models)
{
    TModelReadContext context;
    context.Sink = &sink;
    context.CreateModel = [&models](const std::string& name) -> TpreviewObj& {
        models.push_back(std::make_unique<TpreviewObj>());
        models.back()->Name = name;
        return *models.back();
    };
    return ReadModelFile(path, format, context);
}

} // namespace kalvo
