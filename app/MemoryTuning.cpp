#include "app/MemoryTuning.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void TuneMemoryAllocator() {
#if defined(__GLIBC__)
    mallopt(M_MXFAST, 0);
#endif
}
