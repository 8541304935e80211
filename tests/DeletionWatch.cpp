#include "DeletionWatch.h"

#include <algorithm>
#include <functional>
#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define DELETION_WATCH_ASAN 1
#endif

namespace {

struct Watched
{
    const void* pointer;
    std::atomic<int> deletions{0};
    std::atomic<std::size_t> size{0};
    std::atomic<bool> reused{false};   // allocated again after its deletion: no longer ours
};

// Fixed while armed; operator delete only reads the order and counts.
Watched* watched = nullptr;
std::size_t watchedCount = 0;
std::atomic<bool> armed{false};

Watched* find(const void* pointer)
{
    if (!watched)
        return nullptr;
    Watched* end = watched + watchedCount;
    Watched* it = std::lower_bound(watched, end, pointer,
                                   [](const Watched& w, const void* p) { return std::less<const void*>()(w.pointer, p); });
    return it != end && it->pointer == pointer ? it : nullptr;
}

#ifndef DELETION_WATCH_ASAN
void note(void* pointer, std::size_t size)
{
    if (!pointer || !armed.load(std::memory_order_acquire))
        return;
    Watched* w = find(pointer);
    if (w && !w->reused.load()) {
        w->deletions.fetch_add(1);
        w->size.store(size);
    }
}

void noteAllocation(void* pointer)
{
    if (!armed.load(std::memory_order_acquire))
        return;
    if (Watched* w = find(pointer))
        w->reused.store(true);
}
#endif

} // namespace

namespace DeletionWatch {

void watch(const std::vector<const void*>& pointers)
{
    stop();
    std::vector<const void*> sorted(pointers);
    std::sort(sorted.begin(), sorted.end(), std::less<const void*>());
    delete[] watched;
    watched = new Watched[sorted.size()];
    watchedCount = sorted.size();
    for (std::size_t i = 0; i < sorted.size(); ++i)
        watched[i].pointer = sorted[i];
    armed.store(true, std::memory_order_release);
}

void stop()
{
    armed.store(false, std::memory_order_release);
}

int deletions(const void* pointer)
{
#ifdef DELETION_WATCH_ASAN
    return find(pointer) && __asan_address_is_poisoned(pointer) ? 1 : 0;
#else
    const Watched* w = find(pointer);
    return w ? w->deletions.load() : 0;
#endif
}

std::size_t deletedSize(const void* pointer)
{
    const Watched* w = find(pointer);
    return w ? w->size.load() : 0;
}

bool seesSizes()
{
#ifdef DELETION_WATCH_ASAN
    return false;
#else
    return true;
#endif
}

} // namespace DeletionWatch

#ifndef DELETION_WATCH_ASAN
// The replaceable global allocation functions, as the library has them, plus the notes. Memory
// freed by a watched deletion may come back from malloc for a new object, whose deletion is not
// a second deletion of the watched one.
void* operator new(std::size_t size)
{
    if (void* p = std::malloc(size ? size : 1)) {
        noteAllocation(p);
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void operator delete(void* pointer) noexcept
{
    note(pointer, 0);
    std::free(pointer);
}

void operator delete(void* pointer, std::size_t size) noexcept
{
    note(pointer, size);
    std::free(pointer);
}

void operator delete[](void* pointer) noexcept
{
    note(pointer, 0);
    std::free(pointer);
}

void operator delete[](void* pointer, std::size_t size) noexcept
{
    note(pointer, size);
    std::free(pointer);
}
#endif
