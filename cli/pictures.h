#pragma once

#include <string>

namespace kalvo {
class TCanvas;
}

namespace kalvo::cli {

// Picture files of the commands that read or write pictures ('template', 'render'), through
// Qt's image plugins.

// Reads a picture file (BMP, PNG, ... whatever the image plugins read) into canvas.
// Returns false with a message when it cannot be read.
bool ReadPicture(const std::string& path, TCanvas& canvas, std::string& error);
// Writes canvas as a picture; format is "PNG" or "BMP".
bool WritePicture(const TCanvas& canvas, const std::string& path, const char* format);
// "PNG" or "BMP" by the name's extension, nullptr for anything else.
const char* PictureFormatOf(const std::string& path);

} // namespace kalvo::cli
