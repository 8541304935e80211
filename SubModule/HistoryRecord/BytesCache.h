#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace VEK_SC_Space {

// Values by the bytes they were made from: a key finds its value, or a fresh default value (the
// caller makes it). The table holds up to half its size in keys and starts afresh when that is
// reached, so the memory stays bounded whatever the records hold; a value is never taken for
// another key's. The last entry found is tried first.
template <typename Value>
class BytesCache
{
public:
    // `sizePowerOfTwo` entries, for half as many keys.
    explicit BytesCache(std::size_t sizePowerOfTwo)
        : entries(std::max(sizePowerOfTwo, std::size_t(2))) {} // a free entry to probe to, always

    // The key is `key` followed by the byte `extra`.
    Value& find(std::string_view key, char extra = 0)
    {
        if (last && last->matches(key, extra))
            return last->value;
        Entry* entry = probe(key, extra);
        if (!entry->used) {
            if (2 * (keys + 1) > entries.size()) {
                clear();
                entry = probe(key, extra);
            }
            entry->key.assign(key.data(), key.size());
            entry->extra = extra;
            entry->value = Value();
            entry->used = true;
            ++keys;
        }
        last = entry;
        return entry->value;
    }

private:
    struct Entry
    {
        bool used = false;
        char extra = 0;
        std::string key;
        Value value;

        bool matches(std::string_view k, char e) const { return used && extra == e && std::string_view(key) == k; }
    };

    // The key's entry, or the free one where it would go. Open addressing: two keys whose bytes
    // point to the same slot each keep their value, where one slot per key would have them evict
    // each other at every turn.
    Entry* probe(std::string_view key, char extra)
    {
        const std::size_t mask = entries.size() - 1;
        std::size_t slot = hash(key, extra) & mask;
        while (entries[slot].used && !entries[slot].matches(key, extra))
            slot = (slot + 1) & mask;
        return &entries[slot];
    }

    void clear()
    {
        for (Entry& entry : entries)
            entry = Entry();
        keys = 0;
        last = nullptr;
    }

    // Eight bytes per multiply: the keys are status messages of a few dozen bytes and codes.
    static std::uint64_t hash(std::string_view key, char extra)
    {
        constexpr std::uint64_t k = 0x9E3779B97F4A7C15u;
        std::uint64_t h = (key.size() << 8 | static_cast<unsigned char>(extra)) * k;
        std::size_t i = 0;
        for (; i + 8 <= key.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, key.data() + i, 8);
            h = (h ^ word) * k;
            h ^= h >> 29;
        }
        std::uint64_t tail = 0;
        for (std::size_t shift = 0; i < key.size(); ++i, shift += 8)
            tail |= std::uint64_t(static_cast<unsigned char>(key[i])) << shift;
        h = (h ^ tail) * k;
        return h ^ h >> 32;
    }

    std::vector<Entry> entries;
    std::size_t keys = 0;
    Entry* last = nullptr;
};

} // namespace VEK_SC_Space
