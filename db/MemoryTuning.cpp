#include "db/MemoryTuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void TuneMemoryAllocator() {
#if defined(__GLIBC__) && defined(M_MXFAST)
    mallopt(M_MXFAST, 0);
#endif
}
