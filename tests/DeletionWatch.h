#pragma once

// Tells whether, and as what size, watched heap objects were deleted. In a plain build the test
// executable's own operator delete notes every deletion of a watched pointer with the size the
// deleting expression passed (the size of the static type it deleted as). Under AddressSanitizer
// its own operators stay in place: a freed object reads as poisoned, and a second deletion or a
// deletion as a type of another size is reported by the sanitizer itself.

#include <cstddef>
#include <vector>

namespace DeletionWatch {

// Starts watching these pointers (forgetting earlier ones). Call on one thread, with no other
// thread deleting watched pointers meanwhile.
void watch(const std::vector<const void*>& pointers);
void stop();

// How often the object at the pointer was deleted since watch(): 0 or 1 under AddressSanitizer.
int deletions(const void* pointer);
// The size passed to the last sized deletion; 0 when unknown (unsized, or under the sanitizer).
std::size_t deletedSize(const void* pointer);
// Whether sizes are observed (plain build).
bool seesSizes();

} // namespace DeletionWatch
