#include "core/io/dxf_reader.h"

#include "core/base/errors.h"
#include "core/base/message_sink.h"
#include "core/base/numbers.h"
#include "core/base/text.h"
#include "core/io/line_reader.h"
#include "core/model/preview_obj.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace kalvo {

namespace {

constexpr const char* kNotDxf = "DXF fileではありません";

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

// Walks the group-code/value pairs of one file and collects its faces.
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
        // A file may end inside a face (no ENDSEC or EOF after it): the face read so far counts.
        EndFace();
    }

private:
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
            EndFace();
            if (TrimBlanks(value) == "3DFACE") {
                inFace_ = true;
                patch_ = TPatch{};
                fourthGiven_ = false;
            }
            return;
        }
        if (!inFace_)
            return;
        switch (code) {
        case 8:
            patch_.Layer.assign(value);
            break;
        case 62:
            if (!ParseInt(value, patch_.ColourNumber))
                owner_.ReportFormatError();
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
            double& coordinate = code < 20 ? point.x : code < 30 ? point.y : point.z;
            if (!ParseCoordinate(value, coordinate))
                owner_.ReportFormatError();
            if (corner == 3)
                fourthGiven_ = true;
            break;
        }
        default:
            break;
        }
    }

    void EndFace()
    {
        if (!inFace_)
            return;
        if (!fourthGiven_)
            patch_.Corners[3] = patch_.Corners[2];
        ++owner_.patchCount_;
        if (handOver_)
            HandOverPatch(patch_, *handOver_);
        else
            owner_.patches_.push_back(std::move(patch_));
        inFace_ = false;
    }

    TDXFobject& owner_;
    TLineReader& lines_;
    const TAddPolygonByCorners* handOver_; // none: keep the patches
    TPatch patch_;
    bool inFace_ = false;
    bool fourthGiven_ = false;
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
    TLineReader lines = TLineReader::FromFile(file.get(), path);
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
    Message(std::to_string(patchCount_) + " Patchies read.");
    Message(name + " close.");
}

void TDXFobject::Message(const std::string& line) const
{
    if (messageList_)
        messageList_(line);
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
