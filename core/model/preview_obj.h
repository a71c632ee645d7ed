#pragma once

#include "core/model/index_table.h"
#include "core/model/records.h"

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvo {

class TTemplateLink; // the map template of a model, seen from the renderer (template_link.h)

// The most polygons one model takes. A file claiming more would need gigabytes before the user
// saw a single face; the reader stops there instead.
inline constexpr int kMaxModelPolygons = 50'000'000;

// Thrown by the building operations when a polygon would go past the model's PolygonLimit. The
// model keeps what it had.
class TModelTooLarge : public std::length_error
{
public:
    TModelTooLarge() : std::length_error("model polygon limit reached") {}
};

// The indexed polygon model of one object: a whole DXF or ROK file, or one mesh object of an
// RDS file. A reader fills it once through the building operations, which merge coincident
// corners and repeated sides; the renderer, the map template and the writer read it. The
// object window owns it. What a drawing works out (projected corners, spans) lives beside it in
// the drawer's TDrawScratch; the one change a drawing makes to the model is the depth sort's
// reordering of Polygons, which a later export writes.
//
// Vertex and edge lookups go through hash indexes that give the same index the first-match
// scan over the lists would give, so building costs time linear in the number of requests.
class TpreviewObj
{
public:
    TpreviewObj();

    // Name as it goes into files: code page 932 bytes.
    std::string Name;

    int GroupCount = 0;
    std::vector<TGroupC> Groups;
    std::vector<TVecPointC> Vertices;
    std::vector<TEdgeC> Edges;
    std::vector<PolygonRec> Polygons;

    // AddPolygon and AddPolygonByCorners throw TModelTooLarge beyond this many polygons.
    int PolygonLimit = kMaxModelPolygons;

    // Spatial box, set by the first vertex and widened by every later request.
    double MinX = 0.0, MaxX = 0.0, MinY = 0.0, MaxY = 0.0, MinZ = 0.0, MaxZ = 0.0;
    bool BoxSet = false;
    // Texture coordinate range. It starts at 0..0 and takes in every vertex request after the
    // first, so it always contains 0; the RDS reader replaces it with the file's values.
    double MinU = 0.0, MaxU = 0.0, MinV = 0.0, MaxV = 0.0;
    // Whether u (v) is periodic with period MaxU (MaxV), so that a side longer than half the
    // period crosses the seam the short way in the template and the texture preview. Models
    // read from files keep both; a projection keeps only the seams it made (a cylinder's u),
    // since a planar layout has long sides that cross nothing.
    bool SeamU = true;
    bool SeamV = true;
    double SeamPeriodU() const { return SeamU ? MaxU : std::numeric_limits<double>::infinity(); }
    double SeamPeriodV() const { return SeamV ? MaxV : std::numeric_limits<double>::infinity(); }

    // Mesh parameters that RDS files carry and the writer writes back.
    double CAng = 30.0;
    int UVMo = 4;
    int ABoo = 0;
    int UPSA[2] = {0, 1};

    // The map template open on the model, which the renderer textures it from; not owned.
    TTemplateLink* TemplateWindow = nullptr;

    // --- Building operations -------------------------------------------------------------
    // Returns the index of the vertex at in's position, appending one if there is none, and
    // sets its u, v, group and flag from in. A NaN coordinate never matches.
    int AddVertex(const VertexInput& in);
    // Returns the index of the edge joining a and b in either orientation, appending (a, b)
    // if there is none. Indices are not checked; a == b is accepted.
    int AddEdge(int a, int b);
    int AddEdgeByInputs(const VertexInput& a, const VertexInput& b);
    int AddPolygon(TColour colour, const std::vector<int>& sides);
    int AddPolygon(TColour colour, const int* sides, int count);
    int AddPolygonByCorners(TColour colour, const std::vector<VertexInput>& corners);
    int AddPolygonByCorners(TColour colour, const VertexInput* corners, int count);

    // --- UV seams --------------------------------------------------------------------------
    // A seam in the UV layout needs two vertices at one position, each with its own (u, v),
    // which AddVertex never makes. These operations make them; AddVertex still finds the
    // first vertex at a position, so readers that merge by position behave as before.
    //
    // Like AddVertex, except that a vertex at in's position is taken only when its u and v
    // equal in's too; otherwise in becomes one more vertex at that position. For readers of
    // files that store a seam as two vertices at one place (a request whose u or v is NaN
    // merges by position alone). (u, v) changed outside the building operations since the
    // last request are not seen.
    int AddVertexWithUv(const VertexInput& in);
    // Appends a copy of the vertex (position, u, v, group and flag, no mark); returns its
    // index. The UV range is left as it is.
    int CopyVertex(int vertex);
    // Points an edge at other vertices. The caller keeps every pair of vertices to one edge.
    void SetEdgeEnds(int edge, int start, int end);

    // The group sort a reader runs after its last building call:
    // NumberVertices(); SortVerticesByGroup(0, vertex count - 1); RemapAfterSort().
    void NumberVertices();
    void SortVerticesByGroup(int first, int last);
    void RemapAfterSort();

    // --- Export validation -----------------------------------------------------------------
    // Counts the polygon sides using each edge into UseCount. Returns the largest count when it
    // exceeds 2 (the model cannot be written), -1 when some edge is used by no polygon (a loose
    // line), otherwise the largest count (0, 1 or 2).
    int CountEdgeUse();
    void SetEdgeUse(int value);

    void SetTemplateWindow(TTemplateLink* window) { TemplateWindow = window; }

    int VertexCount() const { return static_cast<int>(Vertices.size()); }
    int EdgeCount() const { return static_cast<int>(Edges.size()); }
    int PolygonCount() const { return static_cast<int>(Polygons.size()); }

    // Reserves room for a model of the given size; readers call it when they know the size.
    void Reserve(std::size_t vertices, std::size_t edges, std::size_t polygons);

private:
    std::uint64_t VertexHash(int index) const;
    std::uint64_t CopyHash(int index) const;
    std::uint64_t EdgeHash(int index) const;
    void IndexAllVertices();
    void IndexAllEdges();
    void WidenBoxes(const TVecPointC& vertex);
    bool IsRepeatNoOp(const VertexInput& in) const;
    bool SamePosition(int index, const VertexInput& in) const;
    int FinishVertexRequest(int index, const VertexInput& in);

    TIndexTable vertexIndex_; // the first vertex at each position
    TIndexTable copyIndex_;   // every further vertex at a position, by position and (u, v)
    TIndexTable edgeIndex_;
    // Set when the lists were reordered behind the indexes' back (the group sort); the indexes
    // are rebuilt at the next lookup.
    bool vertexIndexStale_ = false;
    bool edgeIndexStale_ = false;
    std::vector<int> sideEnds_; // scratch of AddPolygonByCorners: both ends of every side
};

} // namespace kalvo
