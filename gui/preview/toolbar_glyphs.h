#pragma once

#include <QIcon>

namespace kalvo {

// The pictures of the preview window's toolbar buttons. They are drawn with vector strokes at
// whatever size and device pixel ratio the button asks for, so they stay sharp on a
// high-resolution screen as well as at 100 %.
enum class TGlyph {
    ThreeView,       // three-view layout: one large pane and two small ones
    Wireframe,       // display mode 0
    ShadedWireframe, // display mode 1
    HiddenWithEdges, // display mode 2
    HiddenSurface,   // display mode 3
    Texture,         // texture preview
    SaveViewpoint,   // "現在の視点を保存"
    TargetOrigin,    // "原点を注視点に"
};

QIcon GlyphIcon(TGlyph glyph);

} // namespace kalvo
