#include "core/io/rok_reader.h"

#include "core/base/errors.h"
#include "core/base/message_sink.h"
#include "core/base/numbers.h"
#include "core/base/text.h"
#include "core/io/rds_strings.h"
#include "core/io/read_watch.h"
#include "core/model/preview_obj.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <unordered_map>

namespace kalvo {

namespace {

constexpr const char* kNotRokMessage = "ファイル形式の認識ができません。";
constexpr TColour kDefaultColour = 0x8080FF;
constexpr double kInchToCm = 2.54;
constexpr int kPointFlag = 25;

// Thrown inside a pass when the file cannot be read further; the text tells the user why.
struct TStopReading
{
    std::string Text;
};

std::string LineText(std::int64_t number) { return std::to_string(number) + " 行目"; }

} // namespace

// The lines of the file, trimmed, with their numbers. CR LF, LF and CR all end a line.
class TROKobject::TLines
{
public:
    // watch, when given, hears how far the lines have come.
    explicit TLines(std::string_view text, TReadWatch* watch = nullptr) : text_(text), watch_(watch)
    {
    }

    bool Next(std::string_view& line)
    {
        if (position_ >= text_.size())
            return false;
        std::size_t end = position_;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r')
            ++end;
        line = TrimBlanks(text_.substr(position_, end - position_));
        if (end < text_.size() && text_[end] == '\r' && end + 1 < text_.size() &&
            text_[end + 1] == '\n')
            ++end;
        position_ = end + 1;
        ++number_;
        if (watch_)
            watch_->Reached(static_cast<std::int64_t>(position_));
        return true;
    }

    // The next line, which a record needs: its absence means the file was cut short.
    std::string_view Required()
    {
        std::string_view line;
        if (!Next(line))
            throw TStopReading{"ROKファイルが途中で終わっています。"};
        return line;
    }

    void Skip(int count)
    {
        for (int i = 0; i < count; ++i)
            Required();
    }

    int ToInt(std::string_view line) const
    {
        int value = 0;
        if (!ParseInt(line, value))
            throw TStopReading{"ROKファイルの" + LineText(number_) + "が数値として読めません。"};
        return value;
    }

    int NextInt() { return ToInt(Required()); }

    std::int64_t Number() const { return number_; }

private:
    std::string_view text_;
    TReadWatch* watch_;
    std::size_t position_ = 0;
    std::int64_t number_ = 0;
};

TROKobject::TROKobject(TMessageSink& sink) : sink_(sink) {}

void TROKobject::Report(const std::string& text)
{
    reportedError_ = true;
    sink_.Show(TMsgKind::Error, text, TButtons::Ok);
}

void TROKobject::SetWatch(TReadWatch* watch)
{
    watch_ = watch;
    if (watch_)
        watch_->SetPasses(2);
}

bool TROKobject::ReadPalette(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file)
        throw TReadError(SystemErrorText(path, errno));
    std::string bytes;
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.append(chunk, count);
        if (watch_)
            watch_->Reached(static_cast<std::int64_t>(bytes.size()));
    }
    if (std::ferror(file.get()))
        throw TReadError(SystemErrorText(path, errno ? errno : EIO));
    // The geometry pass goes through the text a second time.
    if (watch_)
        watch_->NextPass();
    return ReadPaletteFromBytes(std::move(bytes));
}

bool TROKobject::ReadPaletteFromBytes(std::string bytes)
{
    text_ = std::move(bytes);
    palette_.clear();
    reportedError_ = false;

    TLines lines(text_);
    std::string_view line;
    if (!lines.Next(line) || line.substr(0, 4) != "ROKU") {
        Report(kNotRokMessage);
        return false;
    }

    enum class TState { None, Count, Entries };
    TState state = TState::None;
    int count = 0;
    try {
        while (lines.Next(line)) {
            const int keyword = KeywordIndex({"PALC0", "ENDP0"}, line);
            if (keyword == 2)
                break;
            if (keyword == 1) {
                line = lines.Required();
                state = TState::Count;
            }
            if (state == TState::Count) {
                count = lines.ToInt(line);
                if (count < 0)
                    throw TStopReading{"ROKファイルのパレットの色数 (" + std::to_string(count) +
                                       ") が正しくありません。"};
                palette_.clear();
                lines.Skip(1);
                state = TState::Entries;
            } else if (state == TState::Entries && PaletteCount() < count) {
                // Entries are stored as they come, so a huge count costs nothing until the
                // file actually holds that many.
                const auto channel = [&](std::string_view text) {
                    const int value = lines.ToInt(text);
                    return static_cast<TColour>(value < 0 ? 0 : value > 255 ? 255 : value);
                };
                const TColour red = channel(line);
                const TColour green = channel(lines.Required());
                const TColour blue = channel(lines.Required());
                lines.Skip(4);
                palette_.push_back(red + green * 256 + blue * 65536);
            }
        }
        if (state == TState::Entries && PaletteCount() < count)
            throw TStopReading{"ROKファイルのパレットが途中で終わっています。"};
    } catch (const TStopReading& stop) {
        Report(stop.Text + "読み込みを中止しました。");
        return false;
    }

    if (palette_.empty())
        palette_.push_back(kDefaultColour);
    return true;
}

void TROKobject::ReadGeometry(TpreviewObj& model, const TAddPolygon& addPolygon,
                              const TAddEdge& addEdge, const TAddVertex& addVertex)
{
    enum TSection { kNone = 0, kPoint = 1, kLine = 2, kFace = 3, kEnd = 4 };

    // The model's index for each POINT and LINE0 record, in file order: the model merges
    // points at one position and lines joining the same points, so file numbers and model
    // positions part ways after the first merge. A dropped line keeps its number as -1.
    std::vector<int> pointIndex;
    std::vector<int> lineIndex;
    // Group numbers in order of first appearance: the model needs them to start at 0 and rise
    // one at a time, which a well-formed file's numbers already do.
    std::unordered_map<int, int> groupIndex;
    std::vector<int> sides;
    std::int64_t dropped = 0;

    TLines lines(text_, watch_);
    std::string_view line;
    int section = kNone;
    try {
        while (section != kEnd && lines.Next(line)) {
            int keyword = 0;
            while ((keyword = KeywordIndex({"POINT", "LINE0", "FACE0", "END00"}, line)) != 0) {
                section = keyword;
                if (section == kEnd || !lines.Next(line))
                    break;
            }
            if (keyword != 0)
                break;
            switch (section) {
            case kPoint: {
                const int fileGroup = lines.NextInt();
                lines.Skip(3);
                line = lines.Required();
                std::string_view fields[3];
                double position[3] = {0.0, 0.0, 0.0};
                if (SplitFields(line, '\t', fields, 3) < 3 ||
                    !ParseDouble(fields[0], position[0]) || !ParseDouble(fields[1], position[1]) ||
                    !ParseDouble(fields[2], position[2]))
                    throw TStopReading{"ROKファイルの" + LineText(lines.Number()) +
                                       "が座標として読めません。"};
                const auto [entry, added] =
                    groupIndex.try_emplace(fileGroup, static_cast<int>(groupIndex.size()));
                const double x = position[0], y = position[1], z = position[2];
                // The file's Y axis becomes the model's -z and its Z axis the model's y.
                pointIndex.push_back(
                    addVertex(FillVertexInput(kInchToCm * x, kInchToCm * z, -kInchToCm * y, x, z,
                                              entry->second, kPointFlag, false)));
                break;
            }
            case kLine: {
                const int a = lines.ToInt(line);
                const int b = lines.NextInt();
                lines.Skip(2);
                const int points = static_cast<int>(pointIndex.size());
                if (a >= 1 && a <= points && b >= 1 && b <= points) {
                    lineIndex.push_back(addEdge(pointIndex[a - 1], pointIndex[b - 1]));
                } else {
                    lineIndex.push_back(-1);
                    ++dropped;
                }
                break;
            }
            case kFace: {
                const int corners = lines.ToInt(line);
                if (corners < 0)
                    throw TStopReading{"ROKファイルの" + LineText(lines.Number()) +
                                       "の角の数が正しくありません。"};
                int colourIndex = lines.NextInt();
                if (colourIndex < 0 || colourIndex >= PaletteCount())
                    colourIndex = 0;
                lines.Skip(1);
                sides.clear();
                bool sound = true;
                for (int i = 0; i < corners; ++i) {
                    const int number = lines.NextInt();
                    if (number < 1 || number > static_cast<int>(lineIndex.size()) ||
                        lineIndex[number - 1] < 0)
                        sound = false;
                    else if (sound)
                        sides.push_back(lineIndex[number - 1]);
                }
                if (!sound)
                    ++dropped;
                else if (!sides.empty())
                    addPolygon(palette_.empty() ? kDefaultColour : palette_[colourIndex], sides);
                break;
            }
            default:
                break; // lines before the first keyword
            }
        }
    } catch (const TStopReading& stop) {
        Report(stop.Text + "読み込みを中止しました。");
    }

    model.NumberVertices();
    model.SortVerticesByGroup(0, model.VertexCount() - 1);
    model.RemapAfterSort();

    if (dropped > 0) {
        reportedError_ = true;
        sink_.Show(TMsgKind::Information,
                   "ROKファイルの " + std::to_string(dropped) +
                       " 個のレコードは存在しない点または線を指しているため、読み飛ばしました。",
                   TButtons::Ok);
    }
}

void TROKobject::ReadGeometry(TpreviewObj& model)
{
    ReadGeometry(
        model,
        [&model](TColour colour, const std::vector<int>& sides) {
            return model.AddPolygon(colour, sides);
        },
        [&model](int a, int b) { return model.AddEdge(a, b); },
        [&model](const VertexInput& corner) { return model.AddVertex(corner); });
}

bool ReadROKFile(const std::string& path, TpreviewObj& model, TMessageSink& sink)
{
    TROKobject reader(sink);
    if (!reader.ReadPalette(path))
        return false;
    reader.ReadGeometry(model);
    return !reader.ReportedError();
}

} // namespace kalvo
