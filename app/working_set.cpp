#include "app/working_set.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace kestrin::app {

void trimWorkingSet() {
#if defined(__GLIBC__)
    malloc_trim(0);
#elif defined(_WIN32)
    SetProcessWorkingSetSize(GetCurrentProcess(), SIZE_T(-1), SIZE_T(-1));
#endif
}

} // namespace kestrin::app
