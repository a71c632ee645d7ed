#pragma once

namespace kalvo {

// Marks the upper halves of the processor's AVX registers clean. Code the toolkit runs (at
// start-up, when painting) can leave them dirty, and while they are, the plain SSE
// instructions of the core's readers and renderer wait on them: reading a large RDS file took
// three times as long. Call it before long core work that follows toolkit code. Costs next to
// nothing; does nothing on processors without AVX.
void ClearUpperVectorState();

} // namespace kalvo
