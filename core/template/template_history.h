#pragma once

#include "core/preview/canvas.h"
#include "core/template/template_mapping.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace kalvo {

class TMapTemplate;

// Undo and redo for one map template: its bitmap, its mapping and the (u, v) of its model's
// vertices, restored together. The template window records a step around each edit: a whole
// drag of UV points, a whole pen stroke, and every command that replaces the picture or the
// layout (open, paste, rotate, match the ratio, change the size).
//
// A step holds only what the edit changed (the moved vertices, the bitmap tiles a stroke
// crossed), or the whole picture and mapping for the commands that replace them. Undoing and
// redoing a step both swap what it holds with the template's present state, so the one step
// serves both ways.
//
// The history keeps at most kMaxSteps steps and kMaxBytes (256 MiB) of saved state, dropping
// the oldest first; a step bigger than that on its own empties the history (that edit cannot
// be undone). The template and its model must outlive the history.
class TTemplateHistory
{
public:
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr int kTile = 64; // side of the bitmap tiles a stroke saves

    // maxBytes: the bound on saved state (kMaxBytes unless a test wants a small one).
    explicit TTemplateHistory(TMapTemplate& map, std::size_t maxBytes = kMaxBytes)
        : map_(map), maxBytes_(maxBytes)
    {
    }

    // --- A drag of UV points: the (u, v) of every vertex at the start, compared at the end.
    void BeginUVChange();
    // Records the vertices whose (u, v) differ from the start; false (no step) when none do.
    bool EndUVChange();

    // --- A pen stroke: BeginBitmapChange, then BeforeBitmapChange ahead of each change of the
    // bitmap with the pixels it may touch, then EndBitmapChange. TextureShown is kept with it.
    void BeginBitmapChange();
    void BeforeBitmapChange(const TTemplateRect& rect);
    void EndBitmapChange();

    // --- Commands that replace the picture or the layout: called before the change.
    void RecordWholeTemplate();

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // Restore the state before the last step (after the last undone step); false when there is
    // none. The caller repaints, and lets the preview follow.
    bool Undo();
    bool Redo();
    void Clear();
    // Forgets the last recorded step without applying it: for a command that was recorded
    // and then changed nothing.
    void DropLast();

    std::size_t Bytes() const { return bytes_; }
    std::size_t Steps() const { return undo_.size() + redo_.size(); }

private:
    struct TTileSave
    {
        TTemplateRect Rect;
        std::vector<std::uint32_t> Pixels;
    };
    struct TStep
    {
        // (u, v) of the listed vertices.
        std::vector<int> Vertices;
        std::vector<double> U, V;
        // Bitmap tiles of a stroke.
        std::vector<TTileSave> Tiles;
        // The whole picture and layout.
        bool Whole = false;
        TCanvas Bitmap;
        TTemplateMapping Mapping;
        // TextureShown, for strokes and whole steps.
        bool KeepsTextureShown = false;
        bool TextureShown = false;

        std::size_t Bytes() const;
    };

    void Push(TStep step);
    void Apply(TStep& step);
    void Trim();

    TMapTemplate& map_;
    std::size_t maxBytes_;
    std::deque<TStep> undo_;
    std::deque<TStep> redo_;
    std::size_t bytes_ = 0;

    // In progress.
    std::vector<double> startU_, startV_;
    bool strokeOpen_ = false;
    TStep stroke_;
    std::vector<bool> tileSaved_;
    int tileColumns_ = 0;
};

} // namespace kalvo
