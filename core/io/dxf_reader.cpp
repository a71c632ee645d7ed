#include "core/io/dxf_reader.h"

#include "core/base/errors.h"
#include "core/base/message_sink.h"
#include "core/base/numbers.h"
#include "core/base/text.h"
#include "core/io/dxf_blocks.h"
#include "core/io/line_reader.h"
#include "core/model/preview_obj.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace kalvo {

namespace {

constexpr const char* kNotDxf = "DXF fileではありません";
constexpr const char* kLineTooLong =
    "DXFファイルに 1 MiB を超える行があります。超えた部分は読み飛ばしました。";

// Colour numbers index this table; colours are 0x00BBGGRR.
constexpr TColour kColourTable[16] = {
    0x000000, 0x808080, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xFF8000, 0xFFFFFF,
};

bool SamePosition(const TDxfPoint& a, const TDxfPoint& b)
{
    // == rather than bytes, so that -0.0 and 0.0 are one position, as in the model.
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Group codes are short digit strings in almost every line pair; read those directly and leave
// blanks, signs and the rest to ParseInt.
bool ParseCode(std::string_view line, int& code)
{
    if (!line.empty() && line.size() <= 4) {
        int value = 0;
        bool digits = true;
        for (const char c : line) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            value = value * 10 + (c - '0');
        }
        if (digits) {
            code = value;
            return true;
        }
    }
    return ParseInt(line, code);
}

// Coordinates are mostly plain decimals such as "-12.345678". With at most 15 significant
// digits and 22 decimals, digits / 10^decimals is one correctly rounded division of two exact
// doubles, so the result is the same as a full conversion. Everything else (blanks, '+',
// exponents, long digit strings) goes to ParseDouble.
bool ParseCoordinate(std::string_view text, double& value)
{
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = at != end && *at == '-';
    if (negative)
        ++at;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    bool any = false;
    for (; at != end; ++at) {
        const char c = *at;
        if (c >= '0' && c <= '9') {
            any = true;
            if (digits == 0 && c == '0') {
                // leading zeros carry no precision
            } else if (++count > 15) {
                return ParseDouble(text, value);
            }
            digits = digits * 10 + static_cast<unsigned>(c - '0');
            decimals += point;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return ParseDouble(text, value);
        }
    }
    if (!any || decimals > 22)
        return ParseDouble(text, value);
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

struct TFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

// Walks the group-code/value pairs of one file and collects its faces: 3DFACE entities,
// polyface and polygon-mesh POLYLINEs, and the blocks INSERT entities place.
class TDXFobject::TParser
{
public:
    TParser(TDXFobject& owner, TLineReader& lines, const TAddPolygonByCorners* handOver)
        : owner_(owner), lines_(lines), handOver_(handOver)
    {
    }

    void Run()
    {
        if (!FindFirstSection()) {
            owner_.ReportFormatError();
            return;
        }
        std::string_view line;
        while (lines_.Next(line)) {
            int code = 0;
            const bool isCode = ParseCode(line, code);
            std::string_view value;
            const bool hasValue = lines_.Next(value);
            if (!isCode) {
                // The value line of a broken pair goes with it; the next line is taken as a code.
                owner_.ReportFormatError();
                continue;
            }
            if (!hasValue)
                break;
            TakePair(code, value);
        }
        // A file may end inside an entity (no ENDSEC or EOF after it): what was read counts.
        EndEntity();
        EndPolyline();
        store_.Finish(
            [this](int colourNumber, int layer, const TDxfPoint(&corners)[4]) {
                Emit(colourNumber, layer < 0 ? std::string_view() : store_.Layers()[layer],
                     corners);
            },
            [this](const std::string& text) { owner_.ReportStop(text); });
    }

private:
    enum class TEntity { None, Face, Vertex, Polyline, Block, Insert };

    // A VERTEX of a POLYLINE: a position, or (in a polyface mesh) a face record.
    struct TPolyFace
    {
        int Index[4];
        int ColourNumber;
    };

    // The first "0" / "SECTION" pair, looked for line by line as any line "0" may start one.
    bool FindFirstSection()
    {
        std::string_view line;
        while (lines_.Next(line)) {
            if (TrimBlanks(line) != "0")
                continue;
            if (!lines_.Next(line))
                return false;
            if (TrimBlanks(line) == "SECTION")
                return true;
        }
        return false;
    }

    void TakePair(int code, std::string_view value)
    {
        if (code == 0) {
            StartEntity(TrimBlanks(value));
            return;
        }
        switch (entity_) {
        case TEntity::Face:
            TakeFacePair(code, value);
            break;
        case TEntity::Vertex:
            TakeVertexPair(code, value);
            break;
        case TEntity::Polyline:
            TakePolylinePair(code, value);
            break;
        case TEntity::Block:
            TakeBlockPair(code, value);
            break;
        case TEntity::Insert:
            TakeInsertPair(code, value);
            break;
        case TEntity::None:
            break;
        }
    }

    void StartEntity(std::string_view name)
    {
        EndEntity();
        if (name == "VERTEX" && polylineOpen_) {
            entity_ = TEntity::Vertex;
            vertex_ = TDxfPoint{};
            vertexFlags_ = 0;
            vertexColour_ = -1;
            for (int& index : vertexIndex_)
                index = 0;
            return;
        }
        // SEQEND, or any other entity, ends the vertices of a polyline.
        EndPolyline();
        if (name == "3DFACE") {
            entity_ = TEntity::Face;
            patch_ = TPatch{};
            fourthGiven_ = false;
        } else if (name == "POLYLINE") {
            entity_ = TEntity::Polyline;
            polylineOpen_ = true;
            polyFlags_ = 0;
            polyColour_ = 0;
            polyLayer_.clear();
            meshSize_[0] = meshSize_[1] = meshSize_[2] = meshSize_[3] = 0;
        } else if (name == "BLOCK") {
            entity_ = TEntity::Block;
            blockName_.clear();
            blockBase_ = TDxfPoint{};
        } else if (name == "ENDBLK" || name == "ENDSEC") {
            store_.EndBlock();
        } else if (name == "INSERT") {
            entity_ = TEntity::Insert;
            insert_ = TDxfInsert{};
        }
    }

    void EndEntity()
    {
        switch (entity_) {
        case TEntity::Face:
            EndFace();
            break;
        case TEntity::Vertex:
            EndVertex();
            break;
        case TEntity::Block:
            store_.BeginBlock(blockName_, blockBase_);
            break;
        case TEntity::Insert:
            insert_.Columns = std::max(insert_.Columns, 1);
            insert_.Rows = std::max(insert_.Rows, 1);
            store_.AddInsert(std::move(insert_));
            break;
        case TEntity::Polyline:
        case TEntity::None:
            break;
        }
        entity_ = TEntity::None;
    }

    bool TakeCoordinate(std::string_view value, double& coordinate)
    {
        if (ParseCoordinate(value, coordinate))
            return true;
        owner_.ReportFormatError();
        return false;
    }

    void TakeInt(std::string_view value, int& target)
    {
        if (!ParseInt(value, target))
            owner_.ReportFormatError();
    }

    void TakeFacePair(int code, std::string_view value)
    {
        switch (code) {
        case 8:
            patch_.Layer.assign(value);
            break;
        case 62:
            TakeInt(value, patch_.ColourNumber);
            break;
        case 10:
        case 11:
        case 12:
        case 13:
        case 20:
        case 21:
        case 22:
        case 23:
        case 30:
        case 31:
        case 32:
        case 33: {
            const int corner = code % 10;
            TDxfPoint& point = patch_.Corners[corner];
            TakeCoordinate(value, code < 20 ? point.x : code < 30 ? point.y : point.z);
            if (corner == 3)
                fourthGiven_ = true;
            break;
        }
        default:
            break;
        }
    }

    void TakePolylinePair(int code, std::string_view value)
    {
        switch (code) {
        case 8:
            polyLayer_.assign(value);
            break;
        case 62:
            TakeInt(value, polyColour_);
            break;
        case 70:
            TakeInt(value, polyFlags_);
            break;
        case 71:
        case 72:
        case 73:
        case 74:
            TakeInt(value, meshSize_[code - 71]);
            break;
        default:
            break;
        }
    }

    void TakeVertexPair(int code, std::string_view value)
    {
        switch (code) {
        case 10:
            TakeCoordinate(value, vertex_.x);
            break;
        case 20:
            TakeCoordinate(value, vertex_.y);
            break;
        case 30:
            TakeCoordinate(value, vertex_.z);
            break;
        case 62:
            TakeInt(value, vertexColour_);
            break;
        case 70:
            TakeInt(value, vertexFlags_);
            break;
        case 71:
        case 72:
        case 73:
        case 74:
            TakeInt(value, vertexIndex_[code - 71]);
            break;
        default:
            break;
        }
    }

    void TakeBlockPair(int code, std::string_view value)
    {
        switch (code) {
        case 2:
            blockName_.assign(TrimBlanks(value));
            break;
        case 10:
            TakeCoordinate(value, blockBase_.x);
            break;
        case 20:
            TakeCoordinate(value, blockBase_.y);
            break;
        case 30:
            TakeCoordinate(value, blockBase_.z);
            break;
        default:
            break;
        }
    }

    void TakeInsertPair(int code, std::string_view value)
    {
        TDxfInsert& in = insert_;
        switch (code) {
        case 2:
            in.Block.assign(TrimBlanks(value));
            break;
        case 10:
            TakeCoordinate(value, in.Point.x);
            break;
        case 20:
            TakeCoordinate(value, in.Point.y);
            break;
        case 30:
            TakeCoordinate(value, in.Point.z);
            break;
        case 41:
            TakeCoordinate(value, in.ScaleX);
            break;
        case 42:
            TakeCoordinate(value, in.ScaleY);
            break;
        case 43:
            TakeCoordinate(value, in.ScaleZ);
            break;
        case 44:
            TakeCoordinate(value, in.ColumnSpacing);
            break;
        case 45:
            TakeCoordinate(value, in.RowSpacing);
            break;
        case 50:
            TakeCoordinate(value, in.RotationDegrees);
            break;
        case 70:
            TakeInt(value, in.Columns);
            break;
        case 71:
            TakeInt(value, in.Rows);
            break;
        case 210:
            TakeCoordinate(value, in.Extrusion.x);
            break;
        case 220:
            TakeCoordinate(value, in.Extrusion.y);
            break;
        case 230:
            TakeCoordinate(value, in.Extrusion.z);
            break;
        default:
            break;
        }
    }

    void EndFace()
    {
        if (!fourthGiven_)
            patch_.Corners[3] = patch_.Corners[2];
        if (Keeping()) {
            const int first = store_.AddPoints(patch_.Corners, 4);
            const int corners[4] = {first, first + 1, first + 2, first + 3};
            store_.AddFace(corners, patch_.ColourNumber, LayerIndex(patch_.Layer));
            return;
        }
        ++owner_.patchCount_;
        if (handOver_)
            HandOverPatch(patch_, *handOver_);
        else
            owner_.patches_.push_back(std::move(patch_));
    }

    // Faces wait in the store inside a block definition, and everywhere once a block face or
    // an INSERT has been met, so that they keep their order around the inserts.
    bool Keeping() const { return store_.InBlock() || store_.Keeping(); }

    int LayerIndex(const std::string& layer)
    {
        // Layers matter only to the patch list; a hand-over skips the look-up.
        return handOver_ ? -1 : store_.InternLayer(layer);
    }

    void EndVertex()
    {
        // In a polyface mesh a vertex flagged 128 without 64 is a face record; every other
        // vertex is a position. In a polygon mesh, spline frame control points (16) are not
        // part of the surface.
        if ((polyFlags_ & 64) != 0 && (vertexFlags_ & 128) != 0 && (vertexFlags_ & 64) == 0) {
            polyFaces_.push_back(
                {{vertexIndex_[0], vertexIndex_[1], vertexIndex_[2], vertexIndex_[3]},
                 vertexColour_ >= 0 ? vertexColour_ : -1});
            return;
        }
        if ((polyFlags_ & 64) == 0 && (vertexFlags_ & 16) != 0)
            return;
        polyPoints_.push_back(vertex_);
    }

    void EndPolyline()
    {
        if (!polylineOpen_)
            return;
        polylineOpen_ = false;
        if ((polyFlags_ & 64) != 0)
            PolyfaceFaces();
        else if ((polyFlags_ & 16) != 0)
            MeshFaces();
        // Plain 2D and 3D polylines have no faces.
        polyPoints_.clear();
        polyFaces_.clear();
    }

    void PolyfaceFaces()
    {
        const std::int64_t count = static_cast<std::int64_t>(polyPoints_.size());
        const bool keeping = Keeping();
        const int first =
            keeping ? store_.AddPoints(polyPoints_.data(), static_cast<int>(count)) : 0;
        const int layer = keeping ? LayerIndex(polyLayer_) : -1;
        for (const TPolyFace& face : polyFaces_) {
            // A negative index hides the edge that starts at it; the edge still belongs to the
            // face. Missing corners repeat the last one given, as in a 3DFACE.
            int corners[4];
            int given = 0;
            bool broken = false;
            for (const int index : face.Index) {
                const std::int64_t at = index < 0 ? -static_cast<std::int64_t>(index) : index;
                if (at == 0)
                    continue;
                if (at > count) {
                    broken = true;
                    break;
                }
                corners[given++] = static_cast<int>(at - 1);
            }
            if (broken || given == 0) {
                owner_.ReportFormatError();
                continue;
            }
            for (int i = given; i < 4; ++i)
                corners[i] = corners[given - 1];
            const int colour = face.ColourNumber >= 0 ? face.ColourNumber : polyColour_;
            if (keeping) {
                for (int& corner : corners)
                    corner += first;
                store_.AddFace(corners, colour, layer);
            } else {
                const TDxfPoint points[4] = {polyPoints_[corners[0]], polyPoints_[corners[1]],
                                             polyPoints_[corners[2]], polyPoints_[corners[3]]};
                Emit(colour, polyLayer_, points);
            }
        }
    }

    void MeshFaces()
    {
        // M rows of N vertices; a smoothed mesh lists its surface vertices in the smoothed
        // counts instead.
        std::int64_t rows = meshSize_[0], columns = meshSize_[1];
        const std::int64_t count = static_cast<std::int64_t>(polyPoints_.size());
        if (rows * columns != count && std::int64_t(meshSize_[2]) * meshSize_[3] == count &&
            count > 0) {
            rows = meshSize_[2];
            columns = meshSize_[3];
        }
        if (rows < 2 || columns < 2)
            return;
        if (rows * columns > count) {
            owner_.ReportFormatError();
            rows = count / columns;
            if (rows < 2)
                return;
        }
        // Closing a direction of two vertices would lay every face twice.
        const bool closedRows = (polyFlags_ & 1) != 0 && rows > 2;
        const bool closedColumns = (polyFlags_ & 32) != 0 && columns > 2;
        const bool keeping = Keeping();
        const int first =
            keeping ? store_.AddPoints(polyPoints_.data(), static_cast<int>(rows * columns)) : 0;
        const int layer = keeping ? LayerIndex(polyLayer_) : -1;
        const auto at = [columns](std::int64_t m, std::int64_t n) {
            return static_cast<int>(m * columns + n);
        };
        for (std::int64_t m = 0; m < (closedRows ? rows : rows - 1); ++m) {
            const std::int64_t m1 = (m + 1) % rows;
            for (std::int64_t n = 0; n < (closedColumns ? columns : columns - 1); ++n) {
                const std::int64_t n1 = (n + 1) % columns;
                int corners[4] = {at(m, n), at(m1, n), at(m1, n1), at(m, n1)};
                if (keeping) {
                    for (int& corner : corners)
                        corner += first;
                    store_.AddFace(corners, polyColour_, layer);
                } else {
                    const TDxfPoint points[4] = {polyPoints_[corners[0]], polyPoints_[corners[1]],
                                                 polyPoints_[corners[2]], polyPoints_[corners[3]]};
                    Emit(polyColour_, polyLayer_, points);
                }
            }
        }
    }

    // One face to the model (or the patch list), in its final coordinates.
    void Emit(int colourNumber, std::string_view layer, const TDxfPoint (&corners)[4])
    {
        ++owner_.patchCount_;
        TPatch patch;
        patch.ColourNumber = colourNumber;
        for (int i = 0; i < 4; ++i)
            patch.Corners[i] = corners[i];
        if (handOver_) {
            HandOverPatch(patch, *handOver_);
            return;
        }
        patch.Layer.assign(layer);
        owner_.patches_.push_back(std::move(patch));
    }

    TDXFobject& owner_;
    TLineReader& lines_;
    const TAddPolygonByCorners* handOver_; // none: keep the patches
    TDxfBlockStore store_;
    TEntity entity_ = TEntity::None;

    TPatch patch_;
    bool fourthGiven_ = false;

    bool polylineOpen_ = false;
    int polyFlags_ = 0;
    int polyColour_ = 0;
    int meshSize_[4] = {0, 0, 0, 0}; // M, N, smoothed M, smoothed N
    std::string polyLayer_;
    std::vector<TDxfPoint> polyPoints_;
    std::vector<TPolyFace> polyFaces_;
    TDxfPoint vertex_;
    int vertexFlags_ = 0;
    int vertexColour_ = -1;
    int vertexIndex_[4] = {0, 0, 0, 0};

    std::string blockName_;
    TDxfPoint blockBase_;
    TDxfInsert insert_;
};

TDXFobject::TDXFobject(TMessageSink& sink, TMessageList messageList)
    : sink_(sink), messageList_(std::move(messageList))
{
}

void TDXFobject::Read(const std::string& path) { ReadFile(path, nullptr); }

void TDXFobject::ReadInto(const std::string& path, const TAddPolygonByCorners& addPolygonByCorners)
{
    ReadFile(path, &addPolygonByCorners);
}

void TDXFobject::ReadInto(const std::string& path, TpreviewObj& model)
{
    ReadInto(path, [&model](TColour colour, const VertexInput* corners, int count) {
        return model.AddPolygonByCorners(colour, corners, count);
    });
}

void TDXFobject::ReadFile(const std::string& path, const TAddPolygonByCorners* handOver)
{
    patches_.clear();
    patchCount_ = 0;
    reportedError_ = false;
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR)
            return; // no file there: an empty model, as if the file were empty
        throw TReadError(SystemErrorText(path, errno));
    }
    // The line reader has its own large buffer.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    TLineReader lines = TLineReader::FromFile(file.get(), path, watch_);
    ReadLines(lines, path, handOver);
}

void TDXFobject::ReadBytes(std::string_view bytes, const std::string& name)
{
    patches_.clear();
    patchCount_ = 0;
    reportedError_ = false;
    TLineReader lines = TLineReader::FromBytes(bytes);
    ReadLines(lines, name, nullptr);
}

void TDXFobject::ReadLines(TLineReader& lines, const std::string& name,
                           const TAddPolygonByCorners* handOver)
{
    Message(name + " open.");
    TParser(*this, lines, handOver).Run();
    // No DXF value comes near the line limit; a file that has such a line is damaged, and what
    // was read of it may be wrong. Said once, unless the damage was reported already.
    if (lines.CutLines() > 0 && !reportedError_)
        ReportStop(kLineTooLong);
    Message(std::to_string(patchCount_) + " Patchies read.");
    Message(name + " close.");
}

void TDXFobject::Message(const std::string& line) const
{
    if (messageList_)
        messageList_(line);
}

void TDXFobject::ReportStop(const std::string& text)
{
    reportedError_ = true;
    sink_.Show(TMsgKind::Error, text, TButtons::Ok);
}

void TDXFobject::ReportFormatError()
{
    // Once per file: a damaged file would otherwise ask for one OK per broken line.
    if (reportedError_)
        return;
    reportedError_ = true;
    sink_.Show(TMsgKind::Information, kNotDxf, TButtons::Ok);
}

TColour TDXFobject::ColourOfNumber(int number)
{
    return number >= 0 && number < 16 ? kColourTable[number] : kColourTable[0];
}

int TDXFobject::PolygonCorners(const TPatch& patch, TDxfPoint (&corners)[4])
{
    // Writers store triangles as faces with a repeated corner (the fourth equal to the third,
    // or the first equal to the second); drop the repeats so the face keeps its true shape.
    int kept = 0;
    for (const TDxfPoint& corner : patch.Corners) {
        if (kept == 0 || !SamePosition(corner, corners[kept - 1]))
            corners[kept++] = corner;
    }
    while (kept > 1 && SamePosition(corners[kept - 1], corners[0]))
        --kept;
    if (kept >= 3)
        return kept;
    // Fewer than three distinct corners: the plain triangle of the first three.
    for (int i = 0; i < 3; ++i)
        corners[i] = patch.Corners[i];
    return 3;
}

void TDXFobject::HandOverPatch(const TPatch& patch, const TAddPolygonByCorners& add)
{
    TDxfPoint points[4];
    const int count = PolygonCorners(patch, points);
    VertexInput corners[4];
    for (int i = 0; i < count; ++i)
        corners[i] = FillVertexInput(points[i].x, points[i].y, points[i].z, 0.0, 0.0, 0, 0, false);
    add(ColourOfNumber(patch.ColourNumber), corners, count);
}

void TDXFobject::HandOver(const TAddPolygonByCorners& addPolygonByCorners) const
{
    for (const TPatch& patch : patches_)
        HandOverPatch(patch, addPolygonByCorners);
}

void TDXFobject::HandOver(TpreviewObj& model) const
{
    HandOver([&model](TColour colour, const VertexInput* corners, int count) {
        return model.AddPolygonByCorners(colour, corners, count);
    });
}

} // namespace kalvo
