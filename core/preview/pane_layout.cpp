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
        layout.Shown[kPerspectiveView] = false;
        layout.Shown[kTopView] = layout.Shown[kSideView] = layout.Shown[kFaceView] = true;
        switch (activeView) {
        case kTopView:
            layout.Pane[kTopView] = large;
            layout.Pane[kSideView] = TPaneRect{2 * third, half, third, half};
            layout.Pane[kFaceView] = TPaneRect{2 * third, 0, third, half};
            break;
        case kSideView:
            layout.Pane[kTopView] = TPaneRect{2 * third, 0, third, half};
            layout.Pane[kSideView] = large;
            layout.Pane[kFaceView] = TPaneRect{2 * third, half, third, half};
            break;
        case kFaceView:
            layout.Pane[kTopView] = TPaneRect{0, 0, third, half};
            layout.Pane[kSideView] = TPaneRect{0, half, third, half};
            layout.Pane[kFaceView] = TPaneRect{third, 0, 2 * third, height};
            break;
        default:
            break;
        }
        return layout;
    }

    const int split = splitView == 1 ? 1 : 0;
    const int paneWidth = split ? width / 2 : width;
    const int paneHeight = split ? height / 2 : height;
    for (int view = 0; view < kViewCount; ++view)
        layout.Shown[view] = split || view == activeView;
    layout.Pane[kPerspectiveView] = TPaneRect{split * paneWidth, 0, paneWidth, paneHeight};
    layout.Pane[kTopView] = TPaneRect{0, 0, paneWidth, paneHeight};
    layout.Pane[kSideView] = TPaneRect{0, split * paneHeight, paneWidth, paneHeight};
    layout.Pane[kFaceView] =
        TPaneRect{split * paneWidth, split * paneHeight, paneWidth, paneHeight};
    return layout;
}

} // namespace kalvo
