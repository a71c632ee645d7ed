#include "gui/cpu_state.h"

namespace kalvo {

void ClearUpperVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    // The program is built for processors without AVX too; the instruction exists only on
    // those with it.
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        asm volatile("vzeroupper" ::: "memory");
#endif
}

} // namespace kalvo
