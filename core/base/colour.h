#pragma once

#include <cstdint>

namespace kalvo {

// Colours are 0x00BBGGRR everywhere (red in the low byte): settings, palettes, polygon colours
// and pixels, as the settings files store them.
using TColour = std::uint32_t;

constexpr TColour kBlack = 0x000000;
constexpr TColour kWhite = 0xFFFFFF;
constexpr TColour kRed = 0x0000FF;
constexpr TColour kBlue = 0xFF0000;
constexpr TColour kFuchsia = 0xFF00FF;
constexpr TColour kGrey = 0x808080;
constexpr TColour kSilver = 0xC0C0C0;

// The colours a new installation draws with. The settings start from them, and so do the
// drawing values of a preview or template made without settings (the command line, tests).
constexpr TColour kDefaultBackColour = kSilver;
constexpr TColour kDefaultAxisXColour = kBlue;
constexpr TColour kDefaultAxisYColour = kRed;
constexpr TColour kDefaultAxisZColour = kFuchsia;
constexpr TColour kDefaultObjectColour = kBlack;
constexpr TColour kDefaultSelectColour = kRed;
constexpr TColour kDefaultTempColour = kWhite;
constexpr TColour kDefaultMeshColour = kBlue;
constexpr TColour kDefaultEditMeshColour = kBlack;
constexpr TColour kDefaultTempSelColour = kRed;
constexpr TColour kDefaultUnEditableEdge = kGrey;
constexpr TColour kDefaultEditableEdge = kBlack;
constexpr TColour kDefaultSelectEdge = kBlue;

} // namespace kalvo
