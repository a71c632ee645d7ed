#pragma once

// Helpers shared by the RDS reader tests: RDS text put together from lines, and a scan and
// load of such text into a list of models.

#include "core/io/rds_browser.h"
#include "core/model/preview_obj.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_paths.h"

#include <memory>
#include <string>
#include <vector>

namespace kalvo::test {

inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// The lines around the "vmda" blocks of a scene.
inline std::vector<std::string> RdsScene(const std::vector<std::string>& objects)
{
    std::vector<std::string> lines = {"3DC {", "  asci 1", "}", "sc {", "  ob {"};
    lines.insert(lines.end(), objects.begin(), objects.end());
    lines.insert(lines.end(), {"  }", "  tr {", "  }", "}"});
    return lines;
}

// One "vmda" block with one mesh made of the given lines (vertices, polygons, values).
inline std::vector<std::string> RdsObject(const std::string& name,
                                          const std::vector<std::string>& meshLines)
{
    std::vector<std::string> lines = {"vmda {",   "  nm " + name, "  hjmp 0",
                                      "  xprm {", "    PmSt {",   "Pmsh {"};
    lines.insert(lines.end(), meshLines.begin(), meshLines.end());
    lines.insert(lines.end(), {"}", "    }", "  }", "}"});
    return lines;
}

inline std::vector<std::string> Concat(std::vector<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct TRdsRead
{
    bool Found = false;
    std::vector<std::unique_ptr<TpreviewObj>> Models;
    std::vector<std::string> Names;
    TRecordingSink Sink;
    int LoadedCalls = 0;
    int Steps = 0;
    int Begins = 0;
    int Ends = 0;
};

// Scans and loads the bytes as an RDS file. A TReadError from the load propagates after the
// models created so far have been kept in read.
inline void ReadRdsBytes(const std::string& bytes, TRdsRead& read)
{
    const std::string path = MakeTempDir() + "/scene.rds";
    WriteFileBytes(path, bytes);
    TRDSbrowser browser(&read.Sink);
    read.Found = browser.ScanFile(path);
    if (!read.Found)
        return;
    TRDSloadCallbacks callbacks;
    callbacks.CreateModelEntry = [&read](const std::string& name) -> TpreviewObj& {
        read.Models.push_back(std::make_unique<TpreviewObj>());
        read.Models.back()->Name = name;
        read.Names.push_back(name);
        return *read.Models.back();
    };
    callbacks.ObjectLoaded = [&read](TpreviewObj&) { ++read.LoadedCalls; };
    callbacks.Progress.Begin = [&read](const std::string&) { ++read.Begins; };
    callbacks.Progress.Step = [&read]() { ++read.Steps; };
    callbacks.Progress.End = [&read]() { ++read.Ends; };
    browser.LoadObjects(callbacks);
}

// The corners of a polygon in boundary order, starting at the corner shared by its last and
// first sides.
inline std::vector<int> PolygonCorners(const TpreviewObj& model, const PolygonRec& polygon)
{
    std::vector<int> corners;
    const int count = polygon.count();
    for (int k = 0; k < count; ++k) {
        const TEdgeC& side = model.Edges[polygon.sides[k]];
        const TEdgeC& previous = model.Edges[polygon.sides[(k + count - 1) % count]];
        const bool startShared =
            side.StartVertex == previous.StartVertex || side.StartVertex == previous.EndVertex;
        corners.push_back(startShared ? side.StartVertex : side.EndVertex);
    }
    return corners;
}

} // namespace kalvo::test
