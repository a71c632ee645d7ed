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

// Reads a ROK file (the modeller's text format) into one model, in two passes: the palette
// pass checks the signature and reads the colour palette, the geometry pass turns points into
// vertices, lines into edges and faces into polygons coloured from the palette, through the
// model's building operations, and then sorts the vertices by group. The Open command and the
// command line create one per file.
//
// File point and line numbers are mapped to the indices the model returned, so points the
// model merges leave later lines and faces pointing at the right vertices and edges. Records
// naming a point or line that does not exist are dropped with one message per file. Anything
// else the reader cannot make sense of ends the reading with a message; the model keeps what
// was read.
class TROKobject
{
public:
    using TAddPolygon = std::function<int(TColour colour, const std::vector<int>& sides)>;
    using TAddEdge = std::function<int(int a, int b)>;
    using TAddVertex = std::function<int(const VertexInput& corner)>;

    // The sink must outlive the reader.
    explicit TROKobject(TMessageSink& sink);

    // Reads the file (a UTF-8 path) and its palette. False, after telling the user, when it is
    // not a ROK file or its palette is damaged; the geometry pass must not run then. Throws
    // TReadError when the file cannot be read.
    bool ReadPalette(const std::string& path);
    // The same for a file's bytes already in memory.
    bool ReadPaletteFromBytes(std::string bytes);

    // The geometry pass, only after ReadPalette returned true. The callbacks are the model's
    // AddPolygon, AddEdge and AddVertex bound to model, which is given for the group sort.
    void ReadGeometry(TpreviewObj& model, const TAddPolygon& addPolygon, const TAddEdge& addEdge,
                      const TAddVertex& addVertex);
    // The geometry pass with the model's own building operations.
    void ReadGeometry(TpreviewObj& model);

    // Reading the file and the geometry pass tell watch how far they have come, and stop when
    // it says so (throwing TReadCancelled): two passes over the file. watch may be null; it
    // must outlive the passes otherwise.
    void SetWatch(TReadWatch* watch);

    int PaletteCount() const { return static_cast<int>(palette_.size()); }
    const std::vector<TColour>& Palette() const { return palette_; }
    // Whether the last pass told the user something.
    bool ReportedError() const { return reportedError_; }

private:
    class TLines;
    void Report(const std::string& text);

    TMessageSink& sink_;
    std::string text_;
    std::vector<TColour> palette_;
    TReadWatch* watch_ = nullptr;
    bool reportedError_ = false;
};

// Both passes into model, with the callbacks bound to it. Returns false when the reader told
// the user about a problem. Throws TReadError when the file cannot be read.
bool ReadROKFile(const std::string& path, TpreviewObj& model, TMessageSink& sink);

} // namespace kalvo
