#pragma once

#include <QIcon>

namespace kalvo {

// The small pictures of the object window, drawn rather than loaded so that they stay sharp
// at any screen scale. Each returns a 32 x 32 (device-independent) picture.

// The item's icon: 0 a solid cube, 1 a wire cube. The user flips it; nothing else reads it.
QIcon ObjectIcon(int index);
// The item's state image: 0 the object is shown (an open eye), 1 hidden (a closed eye).
QIcon StateImage(int index);
// The tree's pictures: 0 a model, 1 a group of vertices.
QIcon TreeImage(int index);

} // namespace kalvo
