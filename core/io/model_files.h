#pragma once

#include "core/io/dxf_reader.h"
#include "core/io/rds_reader.h"
#include "core/io/read_watch.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvo {

class TMessageSink;
class TpreviewObj;

// The kinds of model file the program reads, told by the file name's extension. Assimp stands
// for the formats read through that library (OBJ, STL, PLY, glTF, 3DS, LWO, COLLADA, FBX).
enum class TModelFormat { Dxf, Rok, Rds, Assimp, Unknown };

// ".dxf", ".rok", ".rds", or one of ".obj", ".stl", ".ply", ".gltf", ".glb", ".3ds", ".lwo",
// ".dae", ".fbx", in any case; anything else is Unknown.
TModelFormat FormatOfPath(const std::string& path);
// The name a model read from path gets: the file name without its folder, in code page 932
// ("?" for characters it lacks). path is UTF-8, as file names from the system are.
std::string ModelNameOfPath(const std::string& path);

// Creates an empty model named name (code page 932), registers it wherever the caller keeps
// models and returns it. The desktop program binds it to a preview window; the command line
// collects the models in a list.
using TCreateModel = std::function<TpreviewObj&(const std::string& name)>;

// What a read needs from its caller.
struct TModelReadContext
{
    TMessageSink* Sink = nullptr; // messages for the user; required
    TCreateModel CreateModel;     // required
    TMessageList MessageList;     // progress lines; optional
    // Run after each model of a ROK file or RDS object has been read, its groups known (the
    // desktop program lists them in its tree); optional.
    std::function<void(TpreviewObj& model)> ObjectLoaded;
    TReadProgress Progress; // the status text and progress sign of RDS reads; optional
    // Told the fraction of the file read (0 to 1) every so often, by every reader; returning
    // false stops the read (see ReadModelFile). Optional.
    TReadWatch::TCallback Watch;
};

// What the user is told when a file holds more faces than one model takes (kMaxModelPolygons).
inline constexpr const char* kModelTooLargeMessage =
    "モデルの面が 5000 万を超えます。読み込みをここで止めます。";

// Reads the file at path, in the format given, into models made through context.CreateModel:
// one model for a DXF, ROK or Assimp file (made even when the reader reports a format error), one
// per mesh object for an RDS file. Returns false when the reader showed the user a message (a
// format error, or more faces than a model takes: the faces before stay), true otherwise. Throws
// TReadError when the file cannot be read. Throws TReadCancelled when context.Watch asked to
// stop; the models made by then are incomplete and the caller drops them. Precondition: format
// is not Unknown.
bool ReadModelFile(const std::string& path, TModelFormat format, const TModelReadContext& context);

// The same into a list of fresh models, for callers without windows (command line, tests).
bool ReadModelFile(const std::string& path, TModelFormat format, TMessageSink& sink,
                   std::vector<std::unique_ptr<TpreviewObj>>& models);

} // namespace kalvo
