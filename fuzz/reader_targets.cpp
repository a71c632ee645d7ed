// The readers' targets: any bytes as one model file, read as the Open command reads it.

#include "core/base/errors.h"
#include "core/io/dxf_reader.h"
#include "core/io/rds_browser.h"
#include "core/io/rds_writer.h"
#include "core/io/rok_reader.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace kalvo::fuzz {

void Expect(bool condition, const char* what)
{
    if (!condition)
        throw TFuzzFault(what);
}

TScratchFile::TScratchFile(std::string_view bytes, const char* extension)
{
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    path_ = std::string(folder) + "/kalvo-fuzz-" + std::to_string(getpid()) + extension;
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    Expect(file != nullptr, "cannot create the scratch file");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    Expect(std::fclose(file) == 0 && written, "cannot write the scratch file");
}

TScratchFile::~TScratchFile() { std::remove(path_.c_str()); }

void CheckModel(TpreviewObj& model)
{
    for (const TEdgeC& edge : model.Edges)
        Expect(edge.StartVertex >= 0 && edge.StartVertex < model.VertexCount() &&
                   edge.EndVertex >= 0 && edge.EndVertex < model.VertexCount(),
               "an edge names a vertex the model lacks");
    for (const PolygonRec& polygon : model.Polygons)
        for (int side : polygon.sides)
            Expect(side >= 0 && side < model.EdgeCount(),
                   "a polygon names an edge the model lacks");
    Expect(static_cast<int>(model.Groups.size()) == model.GroupCount, "group count differs");
    if (model.CountEdgeUse() > 2)
        return; // the export command refuses such a model
    TRDSwriter writer;
    writer.AddObject(model);
    writer.WriteToString();
}

void RunDxf(std::string_view bytes)
{
    // Read both ways the program reads one (patches then hand-over, and straight into a
    // model), which must agree.
    TQuietSink sink;
    TDXFobject reader(sink);
    reader.ReadBytes(bytes);
    // A damaged file is reported once, however many of its lines are broken; inserts that
    // stop the reading add their one reason.
    Expect(sink.Count <= 2, "more than two messages for one DXF file");
    TpreviewObj model;
    reader.HandOver(model);
    Expect(model.PolygonCount() == static_cast<int>(reader.Patches().size()),
           "a patch did not become one polygon");
    for (const PolygonRec& polygon : model.Polygons)
        Expect(polygon.count() == 3 || polygon.count() == 4, "a face with other than 3 or 4 sides");
    CheckModel(model);
}

void RunRok(std::string_view bytes)
{
    TQuietSink sink;
    TpreviewObj model;
    TROKobject reader(sink);
    if (reader.ReadPaletteFromBytes(std::string(bytes)))
        reader.ReadGeometry(model);
    // A signature or palette problem, a stop, and the dropped records: never more.
    Expect(sink.Count <= 2, "more than two messages for one ROK file");
    CheckModel(model);
}

void RunRds(std::string_view bytes)
{
    const TScratchFile file(bytes, ".rds");
    TQuietSink sink;
    std::vector<std::unique_ptr<TpreviewObj>> models;
    {
        TRDSbrowser browser(&sink);
        try {
            if (browser.ScanFile(file.Path())) {
                TRDSloadCallbacks callbacks;
                callbacks.CreateModelEntry = [&models](const std::string& name) -> TpreviewObj& {
                    models.push_back(std::make_unique<TpreviewObj>());
                    models.back()->Name = name;
                    return *models.back();
                };
                browser.LoadObjects(callbacks);
            }
        } catch (const TReadError&) {
            // a value that does not convert ends the load; the models so far stay
        }
    }
    Expect(sink.Count <= 1, "more than one message for one RDS file");
    for (auto& model : models)
        CheckModel(*model);
}

std::span<const TFuzzTarget> FuzzTargets()
{
    static const TFuzzTarget targets[] = {
        {"dxf", RunDxf},           {"rok", RunRok},       {"rds", RunRds}, {"scene", RunScene},
        {"template", RunTemplate}, {"export", RunExport}, {"obj", RunObj}, {"stl", RunStl},
    };
    return targets;
}

} // namespace kalvo::fuzz
