#pragma once

#include <QImage>

namespace kalvo {

class TCanvas;

// A picture as the template takes it: every pixel opaque, 0x00BBGGRR. Transparent pixels keep
// the colour they carry, as the command-line program reads pictures.
void CanvasFromImage(const QImage& image, TCanvas& canvas);
// The canvas as an opaque 32-bit picture, for the clipboard and for files.
QImage ImageFromCanvas(const TCanvas& canvas);

} // namespace kalvo
