#include "tools/archiver/MemoryLimit.h"

#include <algorithm>
#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define ROVEX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ROVEX_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef ROVEX_ADDRESS_SANITIZER
// AddressSanitizer reserves terabytes of address space for its own use, which a heap limit would
// count; under it each allocation is bounded instead (by MemoryLimitBytes, in MiB).
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=512";
}
#endif

void limitMemory()
{
#ifndef ROVEX_ADDRESS_SANITIZER
    rlimit limit;
    if (getrlimit(RLIMIT_DATA, &limit) != 0)
        return;
    limit.rlim_cur = std::min(limit.rlim_max, rlim_t(MemoryLimitBytes));
    setrlimit(RLIMIT_DATA, &limit);
#endif
}
