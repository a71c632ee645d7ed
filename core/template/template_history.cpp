#include "core/template/template_history.h"

#include "core/model/preview_obj.h"
#include "core/template/map_template.h"

#include <algorithm>
#include <utility>

namespace kalvo {

std::size_t TTemplateHistory::TStep::Bytes() const
{
    std::size_t bytes = Vertices.size() * (sizeof(int) + 2 * sizeof(double));
    for (const TTileSave& tile : Tiles)
        bytes += tile.Pixels.size() * sizeof(std::uint32_t);
    if (Whole)
        bytes += static_cast<std::size_t>(Bitmap.Width()) * Bitmap.Height() * 4;
    return bytes;
}

void TTemplateHistory::BeginUVChange()
{
    startU_.clear();
    startV_.clear();
    const TpreviewObj* model = map_.Model();
    if (!model)
        return;
    startU_.reserve(model->Vertices.size());
    startV_.reserve(model->Vertices.size());
    for (const TVecPointC& vertex : model->Vertices) {
        startU_.push_back(vertex.u);
        startV_.push_back(vertex.v);
    }
}

bool TTemplateHistory::EndUVChange()
{
    const TpreviewObj* model = map_.Model();
    if (!model || startU_.size() != model->Vertices.size())
        return false;
    TStep step;
    for (std::size_t i = 0; i < startU_.size(); ++i) {
        const TVecPointC& vertex = model->Vertices[i];
        // Bitwise unequal counts as moved: a move by a tiny du may leave u unchanged, and
        // such a vertex needs no restoring.
        if (vertex.u != startU_[i] || vertex.v != startV_[i]) {
            step.Vertices.push_back(static_cast<int>(i));
            step.U.push_back(startU_[i]);
            step.V.push_back(startV_[i]);
        }
    }
    startU_.clear();
    startV_.clear();
    if (step.Vertices.empty())
        return false;
    Push(std::move(step));
    return true;
}

void TTemplateHistory::BeginBitmapChange()
{
    stroke_ = TStep{};
    stroke_.TextureShown = map_.TextureShown;
    stroke_.KeepsTextureShown = true;
    strokeOpen_ = true;
    const TCanvas& bitmap = map_.Bitmap();
    tileColumns_ = (bitmap.Width() + kTile - 1) / kTile;
    const int rows = (bitmap.Height() + kTile - 1) / kTile;
    tileSaved_.assign(static_cast<std::size_t>(tileColumns_) * rows, false);
}

void TTemplateHistory::BeforeBitmapChange(const TTemplateRect& rect)
{
    if (!strokeOpen_ || rect.Empty())
        return;
    const TCanvas& bitmap = map_.Bitmap();
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const int firstColumn = std::max(rect.Left, 0) / kTile;
    const int lastColumn = (std::min(rect.Right, width) - 1) / kTile;
    const int firstRow = std::max(rect.Top, 0) / kTile;
    const int lastRow = (std::min(rect.Bottom, height) - 1) / kTile;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const std::size_t index = static_cast<std::size_t>(row) * tileColumns_ + column;
            if (index >= tileSaved_.size() || tileSaved_[index])
                continue;
            tileSaved_[index] = true;
            TTileSave tile;
            tile.Rect = {column * kTile, row * kTile, std::min((column + 1) * kTile, width),
                         std::min((row + 1) * kTile, height)};
            const int tileWidth = tile.Rect.Right - tile.Rect.Left;
            tile.Pixels.reserve(static_cast<std::size_t>(tileWidth) *
                                (tile.Rect.Bottom - tile.Rect.Top));
            for (int y = tile.Rect.Top; y < tile.Rect.Bottom; ++y) {
                const std::uint32_t* in =
                    bitmap.Pixels() + static_cast<std::size_t>(y) * width + tile.Rect.Left;
                tile.Pixels.insert(tile.Pixels.end(), in, in + tileWidth);
            }
            stroke_.Tiles.push_back(std::move(tile));
        }
    }
}

void TTemplateHistory::EndBitmapChange()
{
    if (!strokeOpen_)
        return;
    strokeOpen_ = false;
    tileSaved_.clear();
    if (stroke_.Tiles.empty() && stroke_.TextureShown == map_.TextureShown)
        return;
    Push(std::move(stroke_));
    stroke_ = TStep{};
}

void TTemplateHistory::RecordWholeTemplate()
{
    TStep step;
    step.Whole = true;
    step.Bitmap = map_.bitmap_;
    step.Mapping = map_.mapping_;
    step.TextureShown = map_.TextureShown;
    step.KeepsTextureShown = true;
    Push(std::move(step));
}

void TTemplateHistory::Push(TStep step)
{
    for (const TStep& dropped : redo_)
        bytes_ -= dropped.Bytes();
    redo_.clear();
    const std::size_t bytes = step.Bytes();
    if (bytes > maxBytes_) {
        Clear();
        return;
    }
    bytes_ += bytes;
    undo_.push_back(std::move(step));
    Trim();
}

void TTemplateHistory::Trim()
{
    while (!undo_.empty() && (bytes_ > maxBytes_ || Steps() > kMaxSteps)) {
        bytes_ -= undo_.front().Bytes();
        undo_.pop_front();
    }
}

void TTemplateHistory::Apply(TStep& step)
{
    TpreviewObj* model = map_.Model();
    if (model) {
        const int count = model->VertexCount();
        for (std::size_t k = 0; k < step.Vertices.size(); ++k) {
            const int i = step.Vertices[k];
            if (i < 0 || i >= count)
                continue;
            std::swap(model->Vertices[i].u, step.U[k]);
            std::swap(model->Vertices[i].v, step.V[k]);
        }
    }
    TCanvas& bitmap = map_.bitmap_;
    for (TTileSave& tile : step.Tiles) {
        // A tile from before a change of size no longer fits: whole steps sit between them,
        // so this only guards against misuse.
        if (tile.Rect.Right > bitmap.Width() || tile.Rect.Bottom > bitmap.Height())
            continue;
        const int tileWidth = tile.Rect.Right - tile.Rect.Left;
        std::uint32_t* saved = tile.Pixels.data();
        for (int y = tile.Rect.Top; y < tile.Rect.Bottom; ++y, saved += tileWidth) {
            std::uint32_t* row =
                bitmap.Pixels() + static_cast<std::size_t>(y) * bitmap.Width() + tile.Rect.Left;
            std::swap_ranges(row, row + tileWidth, saved);
        }
    }
    if (step.Whole) {
        std::swap(bitmap, step.Bitmap);
        std::swap(map_.mapping_, step.Mapping);
    }
    if (step.KeepsTextureShown)
        std::swap(map_.TextureShown, step.TextureShown);
}

bool TTemplateHistory::Undo()
{
    if (undo_.empty())
        return false;
    TStep step = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= step.Bytes();
    Apply(step);
    bytes_ += step.Bytes();
    redo_.push_back(std::move(step));
    return true;
}

bool TTemplateHistory::Redo()
{
    if (redo_.empty())
        return false;
    TStep step = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= step.Bytes();
    Apply(step);
    bytes_ += step.Bytes();
    undo_.push_back(std::move(step));
    return true;
}

void TTemplateHistory::DropLast()
{
    if (undo_.empty())
        return;
    bytes_ -= undo_.back().Bytes();
    undo_.pop_back();
}

void TTemplateHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    strokeOpen_ = false;
    stroke_ = TStep{};
    tileSaved_.clear();
}

} // namespace kalvo
