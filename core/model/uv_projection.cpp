#include "core/model/uv_projection.h"

#include "core/model/preview_obj.h"

#include <array>
#include <cmath>
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
// (zero extent) maps everything to 0.
struct TAxis
{
    double Min = 0.0;
    double Extent = 0.0;

    TAxis(double min, double max) : Min(min), Extent(max - min) {}
    double Unit(double value) const { return Extent > 0.0 ? (value - Min) / Extent : 0.0; }
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

// For each vertex, 0, 1 or 2: the axis along which its polygons' normals, summed with their
// areas (Newell's method), are longest. A vertex of no polygon goes with Z; ties go Z, then
// Y, then X, so a model's top is laid out as the top view shows it.
std::vector<unsigned char> DominantAxes(const TpreviewObj& model)
{
    std::vector<std::array<double, 3>> normals(model.Vertices.size(), {0.0, 0.0, 0.0});
    std::vector<int> corners;
    for (const PolygonRec& polygon : model.Polygons) {
        const int n = polygon.count();
        bool valid = n >= 3;
        for (int i = 0; valid && i < n; ++i)
            valid = ValidSide(model, polygon.sides[i]);
        if (!valid)
            continue;
        corners.clear();
        for (int i = 0; i < n; ++i)
            corners.push_back(SharedEnd(model, polygon.sides[(i + n - 1) % n], polygon.sides[i]));
        double normal[3] = {0.0, 0.0, 0.0};
        for (int i = 0; i < n; ++i) {
            const TVecPointC& a = model.Vertices[corners[i]];
            const TVecPointC& b = model.Vertices[corners[(i + 1) % n]];
            normal[0] += (a.y - b.y) * (a.z + b.z);
            normal[1] += (a.z - b.z) * (a.x + b.x);
            normal[2] += (a.x - b.x) * (a.y + b.y);
        }
        for (const int corner : corners) {
            for (int k = 0; k < 3; ++k)
                normals[corner][k] += normal[k];
        }
    }
    std::vector<unsigned char> axes(model.Vertices.size(), 2);
    for (std::size_t i = 0; i < normals.size(); ++i) {
        const double x = std::fabs(normals[i][0]), y = std::fabs(normals[i][1]),
                     z = std::fabs(normals[i][2]);
        axes[i] = z >= x && z >= y ? 2 : y >= x ? 1 : 0;
    }
    return axes;
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
    std::vector<unsigned char> axes;
    if (projection == TUvProjection::Box)
        axes = DominantAxes(model);
    for (std::size_t i = 0; i < model.Vertices.size(); ++i) {
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
            Planar(axes[i], box, p);
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
