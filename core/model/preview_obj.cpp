#include "core/model/preview_obj.h"

#include <bit>
#include <cassert>
#include <cmath>

namespace kalvo {

namespace {

// Adding 0.0 turns -0.0 into 0.0, so the two equal positions hash alike.
std::uint64_t CoordinateBits(double value) { return std::bit_cast<std::uint64_t>(value + 0.0); }

bool HasNaN(const VertexInput& in)
{
    return std::isnan(in.x) || std::isnan(in.y) || std::isnan(in.z);
}

std::uint64_t PositionHash(double x, double y, double z)
{
    std::uint64_t hash = MixHash(CoordinateBits(x));
    hash = MixHash(hash ^ CoordinateBits(y));
    return MixHash(hash ^ CoordinateBits(z));
}

std::uint64_t PositionUvHash(double x, double y, double z, double u, double v)
{
    std::uint64_t hash = MixHash(PositionHash(x, y, z) ^ CoordinateBits(u));
    return MixHash(hash ^ CoordinateBits(v));
}

bool HasNaNUv(const VertexInput& in) { return std::isnan(in.u) || std::isnan(in.v); }

std::uint64_t PairHash(int a, int b)
{
    // Either orientation names the same edge.
    const auto low = static_cast<std::uint32_t>(a < b ? a : b);
    const auto high = static_cast<std::uint32_t>(a < b ? b : a);
    return MixHash((static_cast<std::uint64_t>(high) << 32) | low);
}

} // namespace

TpreviewObj::TpreviewObj() = default;

std::uint64_t TpreviewObj::VertexHash(int index) const
{
    const TVecPointC& vertex = Vertices[index];
    return PositionHash(vertex.x, vertex.y, vertex.z);
}

std::uint64_t TpreviewObj::CopyHash(int index) const
{
    const TVecPointC& vertex = Vertices[index];
    return PositionUvHash(vertex.x, vertex.y, vertex.z, vertex.u, vertex.v);
}

std::uint64_t TpreviewObj::EdgeHash(int index) const
{
    return PairHash(Edges[index].StartVertex, Edges[index].EndVertex);
}

void TpreviewObj::IndexAllVertices()
{
    vertexIndex_.Clear();
    copyIndex_.Clear();
    const auto hashOf = [this](int index) { return VertexHash(index); };
    for (int index = 0; index < VertexCount(); ++index) {
        const TVecPointC& vertex = Vertices[index];
        if (std::isnan(vertex.x) || std::isnan(vertex.y) || std::isnan(vertex.z))
            continue;
        // Keep the first of equal positions, as a scan from the front would find it; the
        // others are the copies of a seam.
        const std::uint64_t hash = VertexHash(index);
        const auto same = [&](int other) {
            const TVecPointC& candidate = Vertices[other];
            return candidate.x == vertex.x && candidate.y == vertex.y && candidate.z == vertex.z;
        };
        if (vertexIndex_.Find(hash, same) < 0)
            vertexIndex_.Insert(hash, index, hashOf);
        else if (!std::isnan(vertex.u) && !std::isnan(vertex.v))
            copyIndex_.Insert(CopyHash(index), index, [this](int i) { return CopyHash(i); });
    }
    vertexIndexStale_ = false;
}

void TpreviewObj::IndexAllEdges()
{
    edgeIndex_.Clear();
    const auto hashOf = [this](int index) { return EdgeHash(index); };
    for (int index = 0; index < EdgeCount(); ++index) {
        const int a = Edges[index].StartVertex;
        const int b = Edges[index].EndVertex;
        const std::uint64_t hash = PairHash(a, b);
        const auto same = [&](int other) {
            const TEdgeC& edge = Edges[other];
            return (edge.StartVertex == a && edge.EndVertex == b) ||
                   (edge.StartVertex == b && edge.EndVertex == a);
        };
        if (edgeIndex_.Find(hash, same) < 0)
            edgeIndex_.Insert(hash, index, hashOf);
    }
    edgeIndexStale_ = false;
}

void TpreviewObj::Reserve(std::size_t vertices, std::size_t edges, std::size_t polygons)
{
    Vertices.reserve(vertices);
    Edges.reserve(edges);
    Polygons.reserve(polygons);
}

bool TpreviewObj::SamePosition(int index, const VertexInput& in) const
{
    const TVecPointC& candidate = Vertices[index];
    return candidate.x == in.x && candidate.y == in.y && candidate.z == in.z;
}

int TpreviewObj::AddVertex(const VertexInput& in)
{
    if (vertexIndexStale_)
        IndexAllVertices();

    int index = -1;
    if (!HasNaN(in)) {
        const std::uint64_t hash = PositionHash(in.x, in.y, in.z);
        index = vertexIndex_.Find(hash, [&](int other) { return SamePosition(other, in); });
        if (index < 0) {
            index = VertexCount();
            Vertices.push_back(TVecPointC{in.x, in.y, in.z});
            vertexIndex_.Insert(hash, index, [this](int i) { return VertexHash(i); });
        }
    } else {
        index = VertexCount();
        Vertices.push_back(TVecPointC{in.x, in.y, in.z});
    }
    return FinishVertexRequest(index, in);
}

int TpreviewObj::AddVertexWithUv(const VertexInput& in)
{
    // A NaN never matches, so (u, v) with one would make a new vertex at every request: such
    // requests merge by position alone.
    if (HasNaN(in) || HasNaNUv(in))
        return AddVertex(in);
    if (vertexIndexStale_)
        IndexAllVertices();

    const int first = vertexIndex_.Find(PositionHash(in.x, in.y, in.z),
                                        [&](int other) { return SamePosition(other, in); });
    if (first < 0)
        return AddVertex(in);
    const auto sameUv = [&](int other) {
        return SamePosition(other, in) && Vertices[other].u == in.u && Vertices[other].v == in.v;
    };
    // The copies are found by position and (u, v) together: a file may hold any number of
    // them at one position.
    const std::uint64_t hash = PositionUvHash(in.x, in.y, in.z, in.u, in.v);
    int index = sameUv(first) ? first : copyIndex_.Find(hash, sameUv);
    if (index < 0) {
        index = VertexCount();
        Vertices.push_back(TVecPointC{in.x, in.y, in.z, in.u, in.v});
        copyIndex_.Insert(hash, index, [this](int i) { return CopyHash(i); });
    }
    return FinishVertexRequest(index, in);
}

int TpreviewObj::CopyVertex(int vertex)
{
    TVecPointC copy = Vertices[vertex];
    copy.Mark = false;
    Vertices.push_back(copy);
    // Its (u, v) is about to change: the copies are indexed again at the next lookup.
    vertexIndexStale_ = true;
    return VertexCount() - 1;
}

void TpreviewObj::SetEdgeEnds(int edge, int start, int end)
{
    Edges[edge].StartVertex = start;
    Edges[edge].EndVertex = end;
    edgeIndexStale_ = true;
}

int TpreviewObj::FinishVertexRequest(int index, const VertexInput& in)
{
    TVecPointC& vertex = Vertices[index];
    vertex.u = in.u;
    vertex.v = in.v;
    vertex.group = in.group;

    // A new group index adds one group record, however far it jumps.
    if (in.group >= GroupCount) {
        ++GroupCount;
        Groups.push_back(TGroupC{true, index});
    }

    WidenBoxes(vertex);
    vertex.flag = in.flag;
    return index;
}

void TpreviewObj::WidenBoxes(const TVecPointC& vertex)
{
    if (!BoxSet) {
        // The first vertex sets the spatial box only; the UV range stays at 0..0.
        BoxSet = true;
        MinX = MaxX = vertex.x;
        MinY = MaxY = vertex.y;
        MinZ = MaxZ = vertex.z;
        return;
    }
    const auto widen = [](double value, double& low, double& high) {
        if (value < low)
            low = value;
        if (value > high)
            high = value;
    };
    widen(vertex.u, MinU, MaxU);
    widen(vertex.v, MinV, MaxV);
    widen(vertex.x, MinX, MaxX);
    widen(vertex.y, MinY, MaxY);
    widen(vertex.z, MinZ, MaxZ);
}

int TpreviewObj::AddEdge(int a, int b)
{
    if (edgeIndexStale_)
        IndexAllEdges();

    const std::uint64_t hash = PairHash(a, b);
    const int found = edgeIndex_.Find(hash, [&](int other) {
        const TEdgeC& edge = Edges[other];
        return (edge.StartVertex == a && edge.EndVertex == b) ||
               (edge.StartVertex == b && edge.EndVertex == a);
    });
    if (found >= 0)
        return found;

    const int index = EdgeCount();
    TEdgeC edge;
    edge.StartVertex = a;
    edge.EndVertex = b;
    Edges.push_back(edge);
    edgeIndex_.Insert(hash, index, [this](int i) { return EdgeHash(i); });
    return index;
}

bool TpreviewObj::IsRepeatNoOp(const VertexInput& in) const
{
    // A request made again at once, after another request of the model, finds the same vertex,
    // sets the same values and widens the boxes by values already taken in. It could only add a
    // group (a group index that jumped by more than one) or a vertex (NaN never matches).
    return in.group < GroupCount && !HasNaN(in);
}

int TpreviewObj::AddEdgeByInputs(const VertexInput& a, const VertexInput& b)
{
    const int first = AddVertex(a);
    const int second = AddVertex(b);
    return AddEdge(first, second);
}

int TpreviewObj::AddPolygon(TColour colour, const int* sides, int count)
{
    if (PolygonCount() >= PolygonLimit)
        throw TModelTooLarge();
    PolygonRec polygon;
    polygon.colour = colour;
    polygon.sides.assign(sides, sides + count);
    Polygons.push_back(std::move(polygon));
    return PolygonCount() - 1;
}

int TpreviewObj::AddPolygon(TColour colour, const std::vector<int>& sides)
{
    return AddPolygon(colour, sides.data(), static_cast<int>(sides.size()));
}

int TpreviewObj::AddPolygonByCorners(TColour colour, const VertexInput* corners, int count)
{
    if (PolygonCount() >= PolygonLimit)
        throw TModelTooLarge();
    // Vertex lookups never depend on edge lookups, so all the corners are looked up first, in
    // the order the sides take them (c0, c1, c1, c2, ..., cn, cn, c0), and the sides after
    // them. Each table's slots are fetched ahead of its lookups, so that their cache misses on
    // big models overlap instead of coming one after another.
    if (!vertexIndexStale_)
        for (int i = 0; i < count; ++i)
            if (!HasNaN(corners[i]))
                vertexIndex_.Prefetch(PositionHash(corners[i].x, corners[i].y, corners[i].z));

    sideEnds_.resize(2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // The second of a corner's two passes in a row is skipped when it cannot change anything.
        const VertexInput& start = corners[i];
        sideEnds_[2 * i] = (i > 0 && IsRepeatNoOp(start)) ? sideEnds_[2 * i - 1] : AddVertex(start);
        sideEnds_[2 * i + 1] = AddVertex(corners[(i + 1) % count]);
    }

    if (!edgeIndexStale_)
        for (int i = 0; i < count; ++i)
            edgeIndex_.Prefetch(PairHash(sideEnds_[2 * i], sideEnds_[2 * i + 1]));
    PolygonRec polygon;
    polygon.colour = colour;
    polygon.sides.resize(count);
    for (int i = 0; i < count; ++i)
        polygon.sides[i] = AddEdge(sideEnds_[2 * i], sideEnds_[2 * i + 1]);
    Polygons.push_back(std::move(polygon));
    return PolygonCount() - 1;
}

int TpreviewObj::AddPolygonByCorners(TColour colour, const std::vector<VertexInput>& corners)
{
    return AddPolygonByCorners(colour, corners.data(), static_cast<int>(corners.size()));
}

int TpreviewObj::CountEdgeUse()
{
    for (TEdgeC& edge : Edges)
        edge.UseCount = 0;
    int largest = 0;
    for (const PolygonRec& polygon : Polygons) {
        for (const int side : polygon.sides) {
            assert(side >= 0 && side < EdgeCount());
            if (side < 0 || side >= EdgeCount())
                continue;
            const int uses = ++Edges[side].UseCount;
            if (uses > largest)
                largest = uses;
        }
    }
    if (largest > 2)
        return largest;
    for (const TEdgeC& edge : Edges)
        if (edge.UseCount == 0)
            return -1;
    return largest;
}

void TpreviewObj::SetEdgeUse(int value)
{
    for (TEdgeC& edge : Edges)
        edge.UseCount = value;
}

} // namespace kalvo
