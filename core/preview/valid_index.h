#pragma once

#include <cstddef>

namespace kalvo {

// Whether index names one of count entries. The renderer checks every index a model hands it,
// so a damaged model draws what it can instead of reading outside its lists.
inline bool ValidIndex(int index, std::size_t count)
{
    return static_cast<std::size_t>(index) < count; // negative indices wrap to huge values
}

} // namespace kalvo
