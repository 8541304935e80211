#pragma once

#include <cstddef>

#if defined(_MSC_VER) && !defined(__clang__) && (defined(_M_X64) || defined(_M_IX86))
#include <xmmintrin.h>
#endif

namespace VEK_SC_Space {

// Asks the processor to bring `size` bytes at `data` into its cache, without waiting for them
// (and without ever faulting, even on memory that is gone). A loop over records scattered on the
// heap that asks for a record some rows before it reads it finds it there, where it would
// otherwise stall on each of them in turn.
inline void prefetch(const void* data, std::size_t size)
{
    constexpr std::size_t CacheLine = 64;
    if (!data)
        return;
    const char* bytes = static_cast<const char*>(data);
    for (std::size_t offset = 0; offset < size; offset += CacheLine) {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(bytes + offset);
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
        _mm_prefetch(bytes + offset, _MM_HINT_T0);
#else
        static_cast<void>(bytes); // a hint only: nothing to do where there is no instruction for it
#endif
    }
}

} // namespace VEK_SC_Space
