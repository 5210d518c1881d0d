#include "platform/Memory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnFreedMemoryToSystem(size_t keepFreeBytes) {
#if defined(__GLIBC__)
  // Memory handed back stays counted as free by the heap, so only what was freed since
  // the last hand-back counts; reuse of free memory lowers the mark.
  static size_t freeAtLastReturn = 0;
  size_t freeNow = mallinfo2().fordblks;
  if (freeNow < freeAtLastReturn) freeAtLastReturn = freeNow;
  if (freeNow - freeAtLastReturn > keepFreeBytes) {
    malloc_trim(0);
    freeAtLastReturn = freeNow;
  }
#else
  (void)keepFreeBytes;
#endif
}
