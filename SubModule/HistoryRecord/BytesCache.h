#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace VEK_SC_Space {

// Values by the bytes they were made from, in a fixed number of entries chosen by the bytes'
// hash: a key finds its value in its entry, or a fresh default value there (the caller makes
// it), so the memory stays bounded whatever the records hold, and a value is never taken for
// another key's. The last entry found is tried first.
template <typename Value>
class BytesCache
{
public:
    explicit BytesCache(std::size_t sizePowerOfTwo)
        : entries(sizePowerOfTwo) {}

    // The key is `key` followed by the byte `extra`.
    Value& find(std::string_view key, char extra = 0)
    {
        if (last && last->matches(key, extra))
            return last->value;
        Entry& entry = entries[hash(key, extra) & (entries.size() - 1)];
        if (!entry.matches(key, extra)) {
            entry.key.assign(key.data(), key.size());
            entry.extra = extra;
            entry.value = Value();
            entry.used = true;
        }
        last = &entry;
        return entry.value;
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
    Entry* last = nullptr;
};

} // namespace VEK_SC_Space
