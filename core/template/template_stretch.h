#pragma once

namespace kalvo {

class TCanvas;

// Replaces the whole of target with picture stretched over it, resampled smoothly: each target
// pixel averages the part of the picture it covers, taken at least one source pixel wide, so
// shrinking averages and enlarging interpolates between neighbours. An empty picture or target
// leaves target as it is.
void StretchPicture(const TCanvas& picture, TCanvas& target);

} // namespace kalvo
