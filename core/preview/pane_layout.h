#pragma once

#include "core/preview/views.h"

namespace kalvo {

// Left, top, width, height in pixels.
struct TPaneRect
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TPaneRect&) const = default;
};

// Where the four panes of a preview window sit in its model area, and which are shown.
// Indexed by TViewId. Each paint box sits inside its pane
// at (4, 4), 8 pixels narrower and lower than the pane.
struct TPaneLayout
{
    TPaneRect Pane[kViewCount];
    bool Shown[kViewCount] = {false, false, false, false};

    TPaneRect PaintBox(int view) const
    {
        const TPaneRect& pane = Pane[view];
        return TPaneRect{4, 4, pane.Width - 8, pane.Height - 8};
    }
};

// Arranges the panes in a model area of width by height pixels. threeView is the state of the
// three-view button: it hides the perspective pane and gives the active orthographic view the
// large pane. With the perspective view active in that layout the panes keep the places they had in
// previous (the button's handler never lets that happen). Otherwise splitView 1 shares the area
// among all four panes and 0 shows the active pane alone over the whole area.
TPaneLayout LayoutPanes(int width, int height, int splitView, bool threeView, int activeView,
                        const TPaneLayout& previous);

} // namespace kalvo
