#pragma once

#include "core/model/records.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

class TMessageSink;
class TReadWatch;
class TpreviewObj;

// Progress lines for an optional message list ("file open.", "n Patchies read."). They are not
// messages to the user: a reader without a list simply drops them.
using TMessageList = std::function<void(const std::string& line)>;

// The model's AddPolygonByCorners, bound to the model that receives the faces.
using TAddPolygonByCorners =
    std::function<int(TColour colour, const VertexInput* corners, int count)>;

struct TDxfPoint
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    // Compares values, so -0.0 and 0.0 are the same position.
    bool operator==(const TDxfPoint&) const = default;
};

// One face as read: a 3DFACE entity, or a face of a mesh. Corners the file does not give stay at
// 0.0, except the fourth, which then equals the third.
struct TPatch
{
    std::string Layer; // code page 932 bytes; kept, not used further
    int ColourNumber = 0;
    TDxfPoint Corners[4];
};

// Reads the faces of a DXF text file into patches, then hands every patch to a model as a
// polygon. The Open command and the command line create one per file, Read it and HandOver
// to the new model.
//
// Faces are 3DFACE entities, and the faces of polyface meshes (POLYLINE flag 64) and polygon
// meshes (flag 16), read after the first section start wherever they stand; other entities are
// passed over. When the file has INSERT entities, the faces of a block definition go to the
// model only through the inserts that place it, moved as each insert says; without any INSERT
// a block's faces are read where they stand. Group-code lines and the entity names may carry
// blanks around them and lines may end in CR LF. Format errors are reported once per file
// through the sink, as information with an OK button, and reading goes on; only inserts that
// nest too deep, insert themselves or expand past 50 million faces stop the faces, with an
// error message, keeping those handed over before.
class TDXFobject
{
public:
    // The sink must outlive the reader.
    explicit TDXFobject(TMessageSink& sink, TMessageList messageList = {});

    // Replaces the patches by those of the file at path. A path where no file exists reads as
    // empty, silently. Throws TReadError when the file exists but cannot be read.
    void Read(const std::string& path);
    // The same for a file's bytes already in memory; name stands for the path in progress lines.
    void ReadBytes(std::string_view bytes, const std::string& name = "");

    // For every patch in order: its colour and its corners as one polygon (four distinct
    // corners, or three), or the triangle of corners 1, 2, 3 when fewer than three differ.
    void HandOver(const TAddPolygonByCorners& addPolygonByCorners) const;
    void HandOver(TpreviewObj& model) const;

    // Read then HandOver in one pass: each face goes to the model as soon as it is read and no
    // patch is kept, so a big file needs no room for its patches. The model gets the same
    // calls in the same order; Patches() stays empty.
    void ReadInto(const std::string& path, const TAddPolygonByCorners& addPolygonByCorners);
    void ReadInto(const std::string& path, TpreviewObj& model);

    // Reading a file tells watch how far it has come, and stops when it says so (throwing
    // TReadCancelled). watch may be null; it must outlive the reads otherwise.
    void SetWatch(TReadWatch* watch) { watch_ = watch; }

    const std::vector<TPatch>& Patches() const { return patches_; }
    // Whether the last Read showed a message to the user (a format error).
    bool ReportedError() const { return reportedError_; }

    // The colour of a colour number; numbers outside the table (0 to 15) get entry 0's black,
    // like a face without a colour number.
    static TColour ColourOfNumber(int number);

    // The corners HandOver gives the model for one patch; returns their count (3 or 4).
    static int PolygonCorners(const TPatch& patch, TDxfPoint (&corners)[4]);

private:
    class TParser;
    void ReadFile(const std::string& path, const TAddPolygonByCorners* handOver);
    void ReadLines(class TLineReader& lines, const std::string& name,
                   const TAddPolygonByCorners* handOver);
    static void HandOverPatch(const TPatch& patch, const TAddPolygonByCorners& add);
    void Message(const std::string& line) const;
    void ReportFormatError();
    // Why the faces of blocks stopped (too deep, self insert, too many faces).
    void ReportStop(const std::string& text);

    TMessageSink& sink_;
    TMessageList messageList_;
    TReadWatch* watch_ = nullptr;
    std::vector<TPatch> patches_;
    std::size_t patchCount_ = 0; // patches read, kept or handed over at once
    bool reportedError_ = false;
};

} // namespace kalvo
