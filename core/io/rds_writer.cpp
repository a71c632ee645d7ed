#include "core/io/rds_writer.h"

#include "core/base/cp932.h"
#include "core/base/errors.h"
#include "core/base/numbers.h"
#include "core/model/preview_obj.h"

#include <cassert>
#include <charconv>

namespace kalvo {

namespace {

void AppendInt(std::string& out, int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// The mesh parameters with two decimals, positions and mapping coordinates with eight.
void AppendShort(std::string& out, double value) { AppendFixed(out, value, 2); }

void AppendLong(std::string& out, double value) { AppendFixed(out, value, 8); }

const TEdgeC& SideEdge(const TpreviewObj& object, const PolygonRec& polygon, int side)
{
    const int edge = polygon.sides[static_cast<std::size_t>(side)];
    assert(edge >= 0 && edge < object.EdgeCount());
    if (edge < 0 || edge >= object.EdgeCount())
        throw TWriteError("polygon side " + std::to_string(edge) + " names no edge of object " +
                          Cp932ToUtf8(object.Name));
    return object.Edges[static_cast<std::size_t>(edge)];
}

bool Touches(const TEdgeC& edge, int vertex)
{
    return edge.StartVertex == vertex || edge.EndVertex == vertex;
}

// Appends the polygon's corners in boundary order. Each side's edge may run either way, so the
// k-th corner is the end side k shares with side k + 1; the walk starts from the end of side 0
// that side 1 does not touch.
void AppendCorners(std::string& out, const TpreviewObj& object, const PolygonRec& polygon)
{
    const int count = polygon.count();
    if (count == 0)
        return;
    const TEdgeC& first = SideEdge(object, polygon, 0);
    const TEdgeC& second = SideEdge(object, polygon, 1 % count);
    const bool secondTouchesStart = Touches(second, first.StartVertex);
    int previous = secondTouchesStart ? first.EndVertex : first.StartVertex;
    // A polygon that goes out and back along its first side (sides 0 and 1 on one edge) gives
    // that rule nothing to go by, and a wrong guess lists another polygon. The walk then starts
    // where the last side meets the first.
    if (count > 2 && secondTouchesStart && Touches(second, first.EndVertex)) {
        const TEdgeC& last = SideEdge(object, polygon, count - 1);
        if (Touches(last, first.StartVertex) != Touches(last, first.EndVertex))
            previous = Touches(last, first.StartVertex) ? first.StartVertex : first.EndVertex;
    }
    for (int k = 0; k < count; ++k) {
        const TEdgeC& edge = SideEdge(object, polygon, k);
        previous = edge.StartVertex == previous ? edge.EndVertex : edge.StartVertex;
        if (k > 0)
            out.push_back(',');
        AppendInt(out, previous);
    }
}

} // namespace

const std::vector<std::string>& RdsHeaderLines()
{
    static const std::vector<std::string> lines = {
        "3DC {", "  asci 1", "  vs \"0.0\"", "  sf \"Kalvo/3D for Windows\"", "  vers \"0.0.0.0\"",
        "}",     "sc {",     "  ob {",
    };
    return lines;
}

// Names read from RDS files keep their quotes; any other name gets them here.
void TRDSwriter::AppendNameValue(const std::string& name)
{
    std::string& out = Out();
    if (!name.empty() && name.front() == '"') {
        out += name;
        return;
    }
    out.push_back('"');
    out += name;
    out.push_back('"');
}

void TRDSwriter::WriteObjects()
{
    for (const TpreviewObj* object : Objects())
        WriteObject(*object);
}

void TRDSwriter::WriteObject(const TpreviewObj& object)
{
    std::string& out = Out();
    WriteLine("vmda {");
    out += "  nm ";
    AppendNameValue(object.Name);
    EndLine();
    WriteLine("  hjmp 0");
    WriteLine("  fidl 1");
    WriteLine("  xprm {");
    WriteLine("    PmSt {");
    WriteLine("Pmsh {");

    out += "  CAng ";
    AppendShort(out, object.CAng);
    EndLine();
    out += "  UVMo ";
    AppendInt(out, object.UVMo);
    EndLine();
    out += "  UPSA ";
    AppendInt(out, object.UPSA[0]);
    out.push_back(',');
    AppendInt(out, object.UPSA[1]);
    EndLine();
    out += "  ABoo ";
    AppendInt(out, object.ABoo);
    EndLine();
    out += "  USMn ";
    AppendShort(out, object.MinU);
    out.push_back(',');
    AppendShort(out, object.MinV);
    EndLine();
    out += "  USMx ";
    AppendShort(out, object.MaxU);
    out.push_back(',');
    AppendShort(out, object.MaxV);
    EndLine();
    WriteLine("  UAxM 0");
    WriteLine("  UAxs 0,0,0");
    WriteLine("  UMaI 0,0,0");
    WriteLine("  UMaJ 0,0,0");
    WriteLine("  UMaK 0,0,0");

    WriteLine("  Vrts {");
    for (const TVecPointC& vertex : object.Vertices) {
        WriteLine("    VerS {");
        out += "      Posn ";
        AppendLong(out, vertex.x);
        out.push_back(',');
        AppendLong(out, vertex.y);
        out.push_back(',');
        AppendLong(out, vertex.z);
        EndLine();
        out += "      Flag ";
        AppendInt(out, vertex.flag);
        EndLine();
        out += "      UV ";
        AppendLong(out, vertex.u);
        out.push_back(',');
        AppendLong(out, vertex.v);
        EndLine();
        WriteLine("    }");
    }
    WriteLine("  }");

    // Export validation leaves on each edge how many polygon sides use it (or 1 everywhere
    // when the user keeps loose lines); edges it found unused stay out of the file. An edge it
    // has not counted is written, as dropping it would lose part of the model unasked.
    WriteLine("  Edgs {");
    for (const TEdgeC& edge : object.Edges) {
        if (edge.UseCount == 0)
            continue;
        out += "    EdgA ";
        AppendInt(out, edge.StartVertex);
        out.push_back(',');
        AppendInt(out, edge.EndVertex);
        EndLine();
    }
    WriteLine("  }");

    WriteLine("  Pgns {");
    for (const PolygonRec& polygon : object.Polygons) {
        out += "    PgSz ";
        AppendInt(out, polygon.count());
        EndLine();
        out += "    Pgon ";
        AppendCorners(out, object, polygon);
        EndLine();
    }
    WriteLine("  }");
    WriteLine("  AVer {");
    WriteLine("  }");
    WriteLine("}");
    WriteLine("    }");
    WriteLine("  }");
    WriteLine("}");
}

void TRDSwriter::WriteFooter()
{
    WriteLine("}");
    WriteLine("tr {");
    WriteLine("  gr {");
    WriteLine("    nm \"" + Utf8ToCp932("ユニバース") + "\"");
    WriteLine("    MPSt 0");
    for (const TpreviewObj* object : Objects()) {
        WriteLine("    so {");
        WriteLine("      inpr {");
        WriteLine("        AnTr 1");
        WriteLine("        Cloa 1");
        WriteLine("        Cast 1");
        WriteLine("        tran {");
        WriteLine("          po 0,0,0");
        WriteLine("        }");
        Out() += "        ob ";
        AppendNameValue(object->Name);
        EndLine();
        WriteLine("        fleF {");
        WriteLine("          RayT {");
        WriteLine("            maxF 2");
        WriteLine("            isEx 1");
        WriteLine("          }");
        WriteLine("        }");
        WriteLine("      }");
        WriteLine("    }");
    }
    WriteLine("  }");
    WriteLine("}");
    WriteLine("}");
}

void TRDSwriter::WriteFile(const std::string& path)
{
    OpenFile(path);
    WriteLines(RdsHeaderLines());
    WriteObjects();
    WriteFooter();
    CloseFile();
}

std::string TRDSwriter::WriteToString()
{
    TakeText();
    WriteLines(RdsHeaderLines());
    WriteObjects();
    WriteFooter();
    return TakeText();
}

} // namespace kalvo
