#include "core/preview/pane_layout.h"

namespace kalvo {

TPaneLayout LayoutPanes(int width, int height, int splitView, bool threeView, int activeView,
                        const TPaneLayout& previous)
{
    TPaneLayout layout = previous;
    if (threeView) {
        const int third = width / 3;
        const int half = height / 2;
        const TPaneRect large{0, 0, 2 * third, height};
        layout.Shown[0] = false;
        layout.Shown[1] = layout.Shown[2] = layout.Shown[3] = true;
        switch (activeView) {
        case 1:
            layout.Pane[1] = large;
            layout.Pane[2] = TPaneRect{2 * third, half, third, half};
            layout.Pane[3] = TPaneRect{2 * third, 0, third, half};
            break;
        case 2:
            layout.Pane[1] = TPaneRect{2 * third, 0, third, half};
            layout.Pane[2] = large;
            layout.Pane[3] = TPaneRect{2 * third, half, third, half};
            break;
        case 3:
            layout.Pane[1] = TPaneRect{0, 0, third, half};
            layout.Pane[2] = TPaneRect{0, half, third, half};
            layout.Pane[3] = TPaneRect{third, 0, 2 * third, height};
            break;
        default:
            break;
        }
        return layout;
    }

    const int split = splitView == 1 ? 1 : 0;
    const int paneWidth = split ? width / 2 : width;
    const int paneHeight = split ? height / 2 : height;
    for (int view = 0; view < 4; ++view)
        layout.Shown[view] = split || view == activeView;
    layout.Pane[0] = TPaneRect{split * paneWidth, 0, paneWidth, paneHeight};
    layout.Pane[1] = TPaneRect{0, 0, paneWidth, paneHeight};
    layout.Pane[2] = TPaneRect{0, split * paneHeight, paneWidth, paneHeight};
    layout.Pane[3] = TPaneRect{split * paneWidth, split * paneHeight, paneWidth, paneHeight};
    return layout;
}

} // namespace kalvo
