#pragma once

// Builds an API record byte by byte at given offsets, without the struct's field names, so that
// a field declared at the wrong place in a record type is caught by the column tests.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

template <typename Record>
class RecordBytes
{
public:
    RecordBytes() : record(new Record) { std::memset(static_cast<void*>(record.get()), 0, sizeof(Record)); }

    // Writes the text and its NUL; `room` is the most the field may take, NUL included.
    RecordBytes& text(std::size_t offset, const char* value, std::size_t room)
    {
        const std::size_t length = std::strlen(value);
        check(offset, length + 1 <= room ? length + 1 : room);
        std::memset(raw() + offset, 0, room <= sizeof(Record) - offset ? room : sizeof(Record) - offset);
        std::memcpy(raw() + offset, value, length < room ? length : room);
        return *this;
    }
    // Fills a text field's whole room without a terminator.
    RecordBytes& fill(std::size_t offset, char value, std::size_t room)
    {
        check(offset, room);
        std::memset(raw() + offset, value, room);
        return *this;
    }
    RecordBytes& byte(std::size_t offset, char value) { return put(offset, value); }
    RecordBytes& i32(std::size_t offset, std::int32_t value) { return put(offset, value); }
    RecordBytes& f64(std::size_t offset, double value) { return put(offset, value); }

    Record* get() const { return record.get(); }
    Record* release() { return record.release(); }

private:
    template <typename T>
    RecordBytes& put(std::size_t offset, T value)
    {
        check(offset, sizeof(T));
        std::memcpy(raw() + offset, &value, sizeof(T));
        return *this;
    }
    void check(std::size_t offset, std::size_t size) const
    {
        if (offset + size > sizeof(Record))
            throw std::out_of_range("field beyond the record");
    }
    unsigned char* raw() { return reinterpret_cast<unsigned char*>(record.get()); }

    std::unique_ptr<Record> record;
};
