// Reading one mesh object ("vmda" block) of an RDS file into a model.

#include "core/base/cp932.h"
#include "core/base/errors.h"
#include "core/base/numbers.h"
#include "core/io/rds_reader.h"
#include "core/io/rds_strings.h"
#include "core/model/preview_obj.h"

#include <algorithm>
#include <cstring>

namespace kalvo {

namespace {

constexpr const char* kReadingStatus = "RDSファイル読み込み中...";
constexpr TColour kPolygonColour = 255;

// Where the object reader stands in the nesting vmda > xprm > PmSt > Pmsh > Vrts > VerS and
// Pmsh > Pgns.
enum class TState { Object, Primitive, MeshSet, Mesh, Vertices, Vertex, Polygons };

// Ends the status text and progress sign however the read ends.
class TProgressScope
{
public:
    explicit TProgressScope(const TReadProgress& progress) : progress_(progress)
    {
        if (progress_.Begin)
            progress_.Begin(kReadingStatus);
    }
    ~TProgressScope()
    {
        if (progress_.End)
            progress_.End();
    }
    void Step() const
    {
        if (progress_.Step)
            progress_.Step();
    }

private:
    const TReadProgress& progress_;
};

// Calls take(field) for each non-empty comma-separated field of value, as SplitFields at commas
// gives them, until take returns false; returns the number of fields taken. Values without
// quotes (all numeric ones) are cut with memchr.
template <typename TTake> int ForEachField(std::string_view value, TTake&& take)
{
    int count = 0;
    if (std::memchr(value.data(), '"', value.size())) {
        while (!value.empty()) {
            std::string_view field;
            if (SplitFields(value, ',', &field, 1) == 0)
                break;
            ++count;
            if (!take(field))
                break;
            value.remove_prefix(
                static_cast<std::size_t>(field.data() + field.size() - value.data()));
        }
        return count;
    }
    // Without quotes the value holds no blanks either: it is one blank-free field of its line.
    while (!value.empty()) {
        const char* comma = static_cast<const char*>(std::memchr(value.data(), ',', value.size()));
        const std::size_t length =
            comma ? static_cast<std::size_t>(comma - value.data()) : value.size();
        if (length > 0) {
            ++count;
            if (!take(value.substr(0, length)))
                break;
        }
        value.remove_prefix(comma ? length + 1 : length);
    }
    return count;
}

// Up to max fields into fields; returns how many.
int SplitCommas(std::string_view value, std::string_view* fields, int max)
{
    int count = 0;
    ForEachField(value, [&](std::string_view field) {
        fields[count++] = field;
        return count < max;
    });
    return count;
}

// The upper bound the file gives against the one the vertices produced: a file bound past 1.0
// above the vertices' own is taken as the full texture.
double SettleUpperBound(double own, double file)
{
    if (own < file && file > 1.0)
        return 1.0;
    return std::max(own, file);
}

} // namespace

void TRDSobject::ReadObject(std::int64_t offset, TpreviewObj& model, std::int64_t lineNumber,
                            const TReadProgress& progress)
{
    SeekTo(offset, lineNumber);
    const TProgressScope scope(progress);

    // A vertex takes the previous vertex's values for the lines it lacks.
    double x = 0.0, y = 0.0, z = 0.0, u = 0.0, v = 0.0;
    int flag = 0;
    // The model's index for each vertex of the current mesh, in file order: polygons name
    // vertices by file position, and the model merges vertices that share a position and
    // (u, v). Vertices at one position with different (u, v) are the two sides of a UV seam and
    // stay apart, each polygon keeping the (u, v) the file gave its corner.
    std::vector<int> meshVertices;
    int meshGroup = -1;
    bool haveLower = false, haveUpper = false;
    double lowerU = 0.0, lowerV = 0.0, upperU = 0.0, upperV = 0.0;

    TRDSstatement statement;
    const auto conversionFailed = [&]() {
        throw TReadError(
            fileName_ + ":" + std::to_string(statementLine_) + ": 値を数値に変換できません: " +
            Cp932ToUtf8(std::string(statement.Tag) + " " + std::string(statement.Value)));
    };
    const auto readDouble = [&](std::string_view text) {
        double value = 0.0;
        if (!ParseDouble(text, value))
            conversionFailed();
        return value;
    };
    const auto readInt = [&](std::string_view text) {
        int value = 0;
        if (!ParseInt(text, value))
            conversionFailed();
        return value;
    };
    // A pair with fewer than two values leaves what the object has.
    const auto readPair = [&](auto read, auto& first, auto& second) {
        std::string_view fields[2];
        if (SplitCommas(statement.Value, fields, 2) < 2)
            return false;
        first = read(fields[0]);
        second = read(fields[1]);
        return true;
    };

    const auto addPolygon = [&]() {
        polygonCorners_.clear();
        bool sound = true;
        ForEachField(statement.Value, [&](std::string_view field) {
            int index = 0;
            sound = ParseInt(field, index) && index >= 0 &&
                    index < static_cast<int>(meshVertices.size());
            if (sound)
                polygonCorners_.push_back(meshVertices[static_cast<std::size_t>(index)]);
            return sound;
        });
        if (!sound)
            return; // a corner outside the mesh, or no number: no sound polygon
        const std::size_t count = polygonCorners_.size();
        if (count < 2)
            return;
        polygonSides_.resize(count);
        for (std::size_t k = 0; k < count; ++k)
            polygonSides_[k] = model.AddEdge(polygonCorners_[k], polygonCorners_[(k + 1) % count]);
        model.AddPolygon(kPolygonColour, polygonSides_.data(), static_cast<int>(count));
    };

    TState state = TState::Object;
    bool objectEnded = false;
    while (!AtEnd && !objectEnded) {
        statement = ReadStatement();
        const std::string_view tag = statement.Tag;
        if (tag.empty())
            break;
        const bool opens = statement.Value == "{";
        const bool closes = tag == "}";
        switch (state) {
        case TState::Object:
            if (closes)
                objectEnded = true;
            else if (opens && tag == "xprm")
                state = TState::Primitive;
            else if (opens)
                SkipBlock();
            break;
        case TState::Primitive:
            if (closes)
                state = TState::Object;
            else if (opens && tag == "PmSt")
                state = TState::MeshSet;
            else if (opens)
                SkipBlock();
            break;
        case TState::MeshSet:
            if (closes) {
                state = TState::Primitive;
            } else if (opens && tag == "Pmsh") {
                state = TState::Mesh;
                meshVertices.clear();
                meshGroup = -1;
            } else if (opens) {
                SkipBlock();
            }
            break;
        case TState::Mesh:
            if (closes) {
                state = TState::MeshSet;
            } else if (opens) {
                if (tag == "Vrts")
                    state = TState::Vertices;
                else if (tag == "Pgns")
                    state = TState::Polygons;
                else
                    SkipBlock(); // Edgs (edges follow from the polygons), AVer, others
            } else if (tag == "CAng") {
                model.CAng = readDouble(statement.Value);
            } else if (tag == "UVMo") {
                model.UVMo = readInt(statement.Value);
            } else if (tag == "UPSA") {
                int first = 0, second = 0;
                if (readPair(readInt, first, second)) {
                    model.UPSA[0] = first;
                    model.UPSA[1] = second;
                }
            } else if (tag == "ABoo") {
                model.ABoo = readInt(statement.Value);
            } else if (tag == "USMn") {
                haveLower = readPair(readDouble, lowerU, lowerV) || haveLower;
            } else if (tag == "USMx") {
                haveUpper = readPair(readDouble, upperU, upperV) || haveUpper;
            }
            break;
        case TState::Vertices:
            if (closes)
                state = TState::Mesh;
            else if (opens && (tag == "VerS" || tag == "VerD"))
                state = TState::Vertex;
            else if (opens)
                SkipBlock();
            break;
        case TState::Vertex:
            if (closes) {
                // Groups number the meshes that have vertices, so they rise one at a time.
                if (meshGroup < 0)
                    meshGroup = model.GroupCount;
                meshVertices.push_back(
                    model.AddVertexWithUv(FillVertexInput(x, y, z, u, v, meshGroup, flag, false)));
                scope.Step();
                state = TState::Vertices;
            } else if (opens) {
                SkipBlock();
            } else if (tag == "Posn") {
                std::string_view fields[3];
                const int count = SplitCommas(statement.Value, fields, 3);
                double* targets[3] = {&x, &y, &z};
                for (int i = 0; i < count; ++i)
                    ParseDouble(fields[i], *targets[i]); // a malformed value keeps the last
            } else if (tag == "UV") {
                std::string_view fields[2];
                const int count = SplitCommas(statement.Value, fields, 2);
                double* targets[2] = {&u, &v};
                for (int i = 0; i < count; ++i)
                    ParseDouble(fields[i], *targets[i]);
            } else if (tag == "Flag") {
                ParseInt(statement.Value, flag);
            }
            break;
        case TState::Polygons:
            if (closes) {
                state = TState::Mesh;
            } else if (opens) {
                SkipBlock(); // nothing nests in Pgns; whatever does must not end it early
            } else if (tag == "Pgon") {
                addPolygon();
                scope.Step();
            }
            break;
        }
    }
    if (haveUpper) {
        model.MaxU = SettleUpperBound(model.MaxU, upperU);
        model.MaxV = SettleUpperBound(model.MaxV, upperV);
    }
    if (haveLower) {
        model.MinU = lowerU;
        model.MinV = lowerV;
    }
}

} // namespace kalvo
