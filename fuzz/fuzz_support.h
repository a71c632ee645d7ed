#pragma once

// What every reader's fuzz target shares: a sink that answers nothing, and the check that a
// model read from any input only names vertices and edges it has, and can be written again.

#include "core/base/message_sink.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"

#include <cstdlib>

namespace kalvo::fuzz {

class TQuietSink : public TMessageSink
{
public:
    TAnswer Show(TMsgKind, const std::string&, TButtons buttons) override
    {
        ++Count;
        return buttons == TButtons::YesNo || buttons == TButtons::YesNoCancel ? TAnswer::No
                                                                              : TAnswer::Ok;
    }
    int Count = 0;
};

inline void CheckModel(TpreviewObj& model)
{
    for (const TEdgeC& edge : model.Edges)
        if (edge.StartVertex < 0 || edge.StartVertex >= model.VertexCount() || edge.EndVertex < 0 ||
            edge.EndVertex >= model.VertexCount())
            std::abort();
    for (const PolygonRec& polygon : model.Polygons)
        for (int side : polygon.sides)
            if (side < 0 || side >= model.EdgeCount())
                std::abort();
    if (static_cast<int>(model.Groups.size()) != model.GroupCount)
        std::abort();
    if (model.CountEdgeUse() > 2)
        return; // the export command refuses such a model
    TRDSwriter writer;
    writer.AddObject(model);
    writer.WriteToString();
}

} // namespace kalvo::fuzz
