#pragma once

#include <QIcon>

namespace kalvo {

enum class TTemplateIcon {
    Open,
    Copy,
    PaintProgram,
    Paste,
    ZoomIn,
    ZoomOut,
    Arrow,
    Pen,
    Transparent
};

// The pictures of the template window's toolbar buttons, drawn rather than shipped as files.
QIcon TemplateIcon(TTemplateIcon kind);
// A dot of the pen's size (1, 4, 8 or 16 pixels, the largest drawn smaller).
QIcon PenSizeIcon(int width);

} // namespace kalvo
