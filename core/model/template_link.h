#pragma once

#include "core/model/records.h"

namespace kalvo {

// What the renderer needs of a model's map template to texture the model: the template
// picture looked up at a (u, v), and the transparent colour. The map template implements it;
// the model only refers to it (TpreviewObj::TemplateWindow) while the template is open.
class TTemplateLink
{
public:
    virtual ~TTemplateLink() = default;
    // The template pixel that (u, v) falls on, wrapping around the template's edges.
    virtual TColour SampleTexture(double u, double v) const = 0;
    // True when transparency is switched on and colour is the transparent colour: such texels
    // are not drawn at all, neither colour nor depth.
    virtual bool IsTransparent(TColour colour) const = 0;
};

} // namespace kalvo
