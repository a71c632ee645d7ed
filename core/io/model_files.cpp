#include "core/io/model_files.h"

#include "core/base/cp932.h"
#include "core/base/message_sink.h"
#include "core/base/text.h"
#include "core/io/assimp_reader.h"
#include "core/io/rds_browser.h"
#include "core/io/rok_reader.h"
#include "core/model/preview_obj.h"

#include <cassert>

namespace kalvo {

namespace {

bool ReadDxfFile(const std::string& path, const TModelReadContext& context)
{
    TpreviewObj& model = context.CreateModel(ModelNameOfPath(path));
    TDXFobject reader(*context.Sink, context.MessageList);
    reader.ReadInto(path, model);
    return !reader.ReportedError();
}

bool ReadRokFile(const std::string& path, const TModelReadContext& context)
{
    TpreviewObj& model = context.CreateModel(ModelNameOfPath(path));
    TROKobject reader(*context.Sink);
    if (!reader.ReadPalette(path))
        return false;
    reader.ReadGeometry(model);
    if (context.ObjectLoaded)
        context.ObjectLoaded(model);
    return !reader.ReportedError();
}

bool ReadLibraryFile(const std::string& path, const TModelReadContext& context)
{
    TpreviewObj& model = context.CreateModel(ModelNameOfPath(path));
    return ReadAssimpFile(path, model, *context.Sink);
}

// One model per named mesh object of the file, named as in the file (quotes included).
bool ReadRdsFile(const std::string& path, const TModelReadContext& context)
{
    TRDSbrowser browser(context.Sink);
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
    try {
        switch (format) {
        case TModelFormat::Dxf:
            return ReadDxfFile(path, context);
        case TModelFormat::Rok:
            return ReadRokFile(path, context);
        case TModelFormat::Rds:
            return ReadRdsFile(path, context);
        case TModelFormat::Assimp:
            return ReadLibraryFile(path, context);
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
