#pragma once

#include <optional>

namespace kalvo {

class TpreviewObj;

// An axis-aligned box in model units, as the models keep theirs.
struct TBox
{
    double MinX = 0.0, MaxX = 0.0, MinY = 0.0, MaxY = 0.0, MinZ = 0.0, MaxZ = 0.0;
};

// The spatial box of model, or nothing for a model without vertices (its zero box would drag
// a union to the origin).
std::optional<TBox> BoxOf(const TpreviewObj& model);

// Widens box to take in other.
void Unite(TBox& box, const TBox& other);

} // namespace kalvo
