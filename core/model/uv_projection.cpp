#include "core/model/uv_projection.h"

#include "core/model/preview_obj.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kalvo {

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr std::array<TUvProjectionName, 8> kNames{{
    {TUvProjection::PlanarX, "planar-x"},
    {TUvProjection::PlanarY, "planar-y"},
    {TUvProjection::PlanarZ, "planar-z"},
    {TUvProjection::Box, "box"},
    {TUvProjection::CylinderX, "cylinder-x"},
    {TUvProjection::CylinderY, "cylinder-y"},
    {TUvProjection::CylinderZ, "cylinder-z"},
    {TUvProjection::Sphere, "sphere"},
}};

// One axis of the model's box: value -> 0..1, and -> -1..1 about the centre. A flat axis
// (zero extent) maps everything to 0. Halves are subtracted, which is exact in binary and
// keeps a box wider than the largest double from giving an infinite extent (and NaN).
struct TAxis
{
    double Min = 0.0;
    double Extent = 0.0; // half the extent

    TAxis(double min, double max) : Min(min), Extent(max / 2 - min / 2) {}
    double Unit(double value) const { return Extent > 0.0 ? (value / 2 - Min / 2) / Extent : 0.0; }
    double Reversed(double value) const { return Extent > 0.0 ? 1.0 - Unit(value) : 0.0; }
    double Centred(double value) const { return Extent > 0.0 ? 2.0 * Unit(value) - 1.0 : 0.0; }
};

struct TBoxAxes
{
    TAxis X, Y, Z;
};

// The planar layouts follow the flat panes, so a texture painted on the template lies as the
// model looks there: side view (+Y right, +Z up), face view (+X left, +Z up), top view
// (+Y right, +X down). Template v grows upward.
void Planar(int axis, const TBoxAxes& box, TVecPointC& p)
{
    switch (axis) {
    case 0:
        p.u = box.Y.Unit(p.y);
        p.v = box.Z.Unit(p.z);
        break;
    case 1:
        p.u = box.X.Reversed(p.x);
        p.v = box.Z.Unit(p.z);
        break;
    default:
        p.u = box.Y.Unit(p.y);
        p.v = box.X.Reversed(p.x);
        break;
    }
}

// The angle about an axis as 0..1, counter-clockwise seen from the axis's positive end (so a
// texture reads left to right from outside), starting at the -b side: for the Z axis the seam
// lies at the back (-Y) and the front that the face view shows (+Y) is in the middle.
double Turn(double a, double b)
{
    double turn = (std::atan2(b, a) + kPi / 2) / (2 * kPi);
    if (turn < 0.0)
        turn += 1.0;
    return turn >= 1.0 ? 0.0 : turn;
}

void Cylinder(int axis, const TBoxAxes& box, TVecPointC& p)
{
    const double x = box.X.Centred(p.x), y = box.Y.Centred(p.y), z = box.Z.Centred(p.z);
    switch (axis) {
    case 0:
        p.u = Turn(y, z);
        p.v = box.X.Unit(p.x);
        break;
    case 1:
        p.u = Turn(z, x);
        p.v = box.Y.Unit(p.y);
        break;
    default:
        p.u = Turn(x, y);
        p.v = box.Z.Unit(p.z);
        break;
    }
}

void Sphere(const TBoxAxes& box, TVecPointC& p)
{
    const double x = box.X.Centred(p.x), y = box.Y.Centred(p.y), z = box.Z.Centred(p.z);
    p.u = Turn(x, y);
    const double length = std::sqrt(x * x + y * y + z * z);
    p.v = length > 0.0 ? 0.5 + std::asin(std::fmax(-1.0, std::fmin(1.0, z / length))) / kPi : 0.5;
}

// The vertex a polygon's sides i and i + 1 share (its corner i + 1).
int SharedEnd(const TpreviewObj& model, int sideA, int sideB)
{
    const TEdgeC& a = model.Edges[sideA];
    const TEdgeC& b = model.Edges[sideB];
    return a.EndVertex == b.StartVertex || a.EndVertex == b.EndVertex ? a.EndVertex : a.StartVertex;
}

bool ValidSide(const TpreviewObj& model, int side)
{
    if (side < 0 || side >= model.EdgeCount())
        return false;
    const TEdgeC& edge = model.Edges[side];
    return edge.StartVertex >= 0 && edge.StartVertex < model.VertexCount() && edge.EndVertex >= 0 &&
           edge.EndVertex < model.VertexCount();
}

// The six sides of the box layout: the axis (0 X, 1 Y, 2 Z) twice, plus one for the side that
// faces the negative way.
constexpr int kBoxSides = 6;

// The side a polygon faces: the axis along which its normal (Newell's method, so any polygon
// that is not quite flat counts as a whole) is longest, and the way it points along it. Ties go
// Z, then Y, then X, and a polygon without a normal faces +Z, so a model's top is laid out as
// the top view shows it. -1 for a polygon that names a side the model does not have.
int FacingSide(const TpreviewObj& model, const PolygonRec& polygon, std::vector<int>& corners)
{
    const int n = polygon.count();
    if (n == 0)
        return -1;
    for (int i = 0; i < n; ++i) {
        if (!ValidSide(model, polygon.sides[i]))
            return -1;
    }
    double normal[3] = {0.0, 0.0, 0.0};
    if (n >= 3) {
        corners.clear();
        for (int i = 0; i < n; ++i)
            corners.push_back(SharedEnd(model, polygon.sides[(i + n - 1) % n], polygon.sides[i]));
        for (int i = 0; i < n; ++i) {
            const TVecPointC& a = model.Vertices[corners[i]];
            const TVecPointC& b = model.Vertices[corners[(i + 1) % n]];
            normal[0] += (a.y - b.y) * (a.z + b.z);
            normal[1] += (a.z - b.z) * (a.x + b.x);
            normal[2] += (a.x - b.x) * (a.y + b.y);
        }
    }
    const double x = std::fabs(normal[0]), y = std::fabs(normal[1]), z = std::fabs(normal[2]);
    const int axis = z >= x && z >= y ? 2 : y >= x ? 1 : 0;
    return 2 * axis + (normal[axis] < 0.0 ? 1 : 0);
}

// Margin around each side in its cell, as a share of the cell: lines of neighbouring sides
// stay apart on the template, and paint at a side's outline does not run into the next.
constexpr double kCellMargin = 1.0 / 20;

// The box layout of one side: the planar layout along its axis, mirrored in u for the side
// facing the negative way so that it reads as seen from outside, placed in a 3 x 2 grid of
// cells: X, Y, Z from left to right, the sides facing the positive way in the upper row.
void BoxSide(int side, const TBoxAxes& box, TVecPointC& p)
{
    const int axis = side / 2;
    const bool negative = side % 2 != 0;
    Planar(axis, box, p);
    if (negative)
        p.u = 1.0 - p.u;
    const double inner = 1.0 - 2 * kCellMargin;
    p.u = (axis + kCellMargin + inner * p.u) / 3;
    p.v = ((negative ? 0 : 1) + kCellMargin + inner * p.v) / 2;
}

// Box projection: every polygon is laid out with the side it faces, and a vertex whose
// polygons face different sides gets one vertex per side (the first keeps the original), so
// each side is a piece of its own on the template, joined to the others by seams. The sides of
// a polygon are pointed at the vertices of its side: an edge keeps serving the side whose
// vertices it already joins, else the first side that uses it, and the other sides get edges
// of their own. So every edge stays in use and no two edges join the same vertices.
void ProjectBox(TpreviewObj& model, const TBoxAxes& box)
{
    const int originals = model.VertexCount();
    const int edgeCount = model.EdgeCount();
    std::vector<int> corners;
    std::vector<signed char> facing(model.Polygons.size());
    for (std::size_t i = 0; i < model.Polygons.size(); ++i)
        facing[i] = static_cast<signed char>(FacingSide(model, model.Polygons[i], corners));

    // The side each vertex serves; the copies that serve further sides, by original vertex
    // and side (few: only where sides meet).
    std::vector<signed char> sideOf(static_cast<std::size_t>(originals), -1);
    std::unordered_map<std::uint64_t, int> copies;
    const auto key = [](int vertex, int side) {
        return static_cast<std::uint64_t>(vertex) * kBoxSides + static_cast<std::uint64_t>(side);
    };
    const auto claim = [&](int vertex, int side) {
        if (sideOf[vertex] == side)
            return;
        if (sideOf[vertex] < 0) {
            sideOf[vertex] = static_cast<signed char>(side);
        } else if (copies.find(key(vertex, side)) == copies.end()) {
            copies.emplace(key(vertex, side), model.CopyVertex(vertex));
            sideOf.push_back(static_cast<signed char>(side));
        }
    };
    // The vertex that stands for an original vertex on a side it has claimed.
    const auto vertexOn = [&](int vertex, int side) {
        return sideOf[vertex] == side ? vertex : copies.find(key(vertex, side))->second;
    };
    for (std::size_t i = 0; i < model.Polygons.size(); ++i) {
        if (facing[i] < 0)
            continue;
        for (const int edge : model.Polygons[i].sides) {
            claim(model.Edges[edge].StartVertex, facing[i]);
            claim(model.Edges[edge].EndVertex, facing[i]);
        }
    }

    if (model.VertexCount() > originals) {
        // The edges' ends before any is moved, and the side each edge now serves.
        std::vector<std::array<int, 2>> ends(static_cast<std::size_t>(edgeCount));
        for (int e = 0; e < edgeCount; ++e)
            ends[e] = {model.Edges[e].StartVertex, model.Edges[e].EndVertex};
        std::vector<signed char> servedSide(static_cast<std::size_t>(edgeCount), -1);
        const auto target = [&](int edge, int side) {
            return std::array<int, 2>{vertexOn(ends[edge][0], side), vertexOn(ends[edge][1], side)};
        };
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t i = 0; i < model.Polygons.size(); ++i) {
                if (facing[i] < 0)
                    continue;
                for (const int edge : model.Polygons[i].sides) {
                    if (servedSide[edge] >= 0)
                        continue;
                    const std::array<int, 2> to = target(edge, facing[i]);
                    if (pass == 0 && to != ends[edge])
                        continue;
                    servedSide[edge] = facing[i];
                    if (to != ends[edge])
                        model.SetEdgeEnds(edge, to[0], to[1]);
                }
            }
        }
        // New edges only after every move, so that the edge lookup is rebuilt once.
        for (std::size_t i = 0; i < model.Polygons.size(); ++i) {
            if (facing[i] < 0)
                continue;
            for (int& edge : model.Polygons[i].sides) {
                if (edge < edgeCount && servedSide[edge] != facing[i]) {
                    const std::array<int, 2> to = target(edge, facing[i]);
                    edge = model.AddEdge(to[0], to[1]);
                }
            }
        }
    }

    for (int i = 0; i < model.VertexCount(); ++i) {
        // A vertex of no polygon goes with the top.
        const int side = sideOf[i] < 0 ? 4 : sideOf[i];
        BoxSide(side, box, model.Vertices[i]);
    }
}

} // namespace

std::span<const TUvProjectionName> UvProjectionNames() { return kNames; }

std::optional<TUvProjection> UvProjectionOfName(std::string_view name)
{
    for (const TUvProjectionName& entry : kNames) {
        if (name == entry.Name)
            return entry.Projection;
    }
    return std::nullopt;
}

void ProjectUv(TpreviewObj& model, TUvProjection projection)
{
    const TBoxAxes box{
        {model.MinX, model.MaxX}, {model.MinY, model.MaxY}, {model.MinZ, model.MaxZ}};
    if (projection == TUvProjection::Box)
        ProjectBox(model, box);
    for (std::size_t i = 0; projection != TUvProjection::Box && i < model.Vertices.size(); ++i) {
        TVecPointC& p = model.Vertices[i];
        switch (projection) {
        case TUvProjection::PlanarX:
            Planar(0, box, p);
            break;
        case TUvProjection::PlanarY:
            Planar(1, box, p);
            break;
        case TUvProjection::PlanarZ:
            Planar(2, box, p);
            break;
        case TUvProjection::Box:
            break;
        case TUvProjection::CylinderX:
            Cylinder(0, box, p);
            break;
        case TUvProjection::CylinderY:
            Cylinder(1, box, p);
            break;
        case TUvProjection::CylinderZ:
            Cylinder(2, box, p);
            break;
        case TUvProjection::Sphere:
            Sphere(box, p);
            break;
        }
    }
    // The full unit square, also where the values stop short of 1: the cylinders and the
    // sphere wrap with the period MaxU, which must be exactly one turn.
    model.MinU = model.MinV = 0.0;
    model.MaxU = model.MaxV = 1.0;
    model.SeamU = projection == TUvProjection::CylinderX ||
                  projection == TUvProjection::CylinderY ||
                  projection == TUvProjection::CylinderZ || projection == TUvProjection::Sphere;
    model.SeamV = false;
}

bool HasUv(const TpreviewObj& model)
{
    for (const TVecPointC& p : model.Vertices) {
        if (p.u != 0.0 || p.v != 0.0)
            return true;
    }
    return false;
}

} // namespace kalvo
