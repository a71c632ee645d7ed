#pragma once

#include "core/preview/preview_scene.h"
#include "core/settings/settings.h"

namespace kalvo {

// The values a preview window draws with, taken from the settings as they stand now.
inline TDrawSettings DrawSettingsFrom(const TSettings& settings)
{
    TDrawSettings draw;
    draw.BackColor = settings.BackColor;
    draw.AxisXColor = settings.AxisXColor;
    draw.AxisYColor = settings.AxisYColor;
    draw.AxisZColor = settings.AxisZColor;
    draw.ObjectColor = settings.ObjectColor;
    draw.SelectColor = settings.SelectColor;
    draw.UnEditableEdge = settings.UnEditableEdge;
    draw.EditableEdge = settings.EditableEdge;
    draw.TextureShade = settings.TextureShade;
    draw.BoundingBox = settings.BoundingBox;
    draw.FrameMode = settings.FrameMode;
    draw.FlatFrameMode = settings.FlatFrameMode;
    draw.FlatMode = settings.FlatMode;
    return draw;
}

} // namespace kalvo
