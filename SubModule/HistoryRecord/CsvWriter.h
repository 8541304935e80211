#pragma once

#include "BytesCache.h"
#include "CellText.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

class QIODevice;
class QTextCodec;

namespace VEK_SC_Space {

// Writes values as CSV lines, a comma after each, into a buffer that goes to the file a chunk
// at a time. A value with a comma, a double quote or a line break is quoted, its quotes doubled;
// every other value is written as it stands.
//
// The buffer holds the file's bytes whenever the encoding writes ASCII as ASCII (UTF-8, GBK and
// the other code pages): ASCII text and numbers go in as they are, and only other text goes
// through the codec. For any other encoding it holds UTF-16, converted on writeTo. Either way the
// bytes equal the codec's for the table's texts. Decoded codes, status messages and a security's
// code and name are asked of the base library once per writer for each distinct input, as the
// same input gives the same text throughout one export of one account, and kept encoded.
class CsvWriter
{
public:
    explicit CsvWriter(QTextCodec* codec);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // One value, then its comma.
    void append(const QString& text);
    void append(const HistoryColumn::CellText& cell);
    // `count` cells, each with its comma, then the line end.
    void appendRow(const HistoryColumn::CellText* cells, int count);
    void endLine() { appendAscii('\n'); }

    // Bytes held, in either form.
    std::size_t size() const { return used; }
    // Writes what is held, in the file's encoding, and empties the buffer.
    bool writeTo(QIODevice& device);

private:
    friend class HistoryColumn::CellText; // renders into the writer through the calls below

    // What CellText::render hands over, appended as one value without its comma.
    void empty() {}
    void utf8(const char* bytes, std::size_t length);
    void text(const QString& text);
    template <typename Format>
    void ascii(Format format);
    template <typename Make>
    void code(HistoryColumn::CellText::Decoder decoder, char byte, Make make);
    template <typename Make>
    void lookup(HistoryColumn::CellText::Lookup which, std::string_view key, char extra, Make make);

    void appendAscii(char ascii);
    void appendBytes(const char* bytes, std::size_t length);
    void appendQuoted(const char* ascii, std::size_t length);
    // The value as the buffer holds it, quoted if it needs to be.
    QByteArray encoded(const QString& text) const;
    // At least `bytes` free at the buffer's end, which it returns; `used` stays.
    char* room(std::size_t bytes);
    void grow(std::size_t more);

    QTextCodec* codec;
    bool direct; // the buffer holds the file's bytes, else UTF-16 units
    std::vector<char> buffer;
    std::size_t used = 0;

    struct Decoded
    {
        HistoryColumn::CellText::Decoder decoder;
        std::array<QByteArray, 256> texts;
        std::array<bool, 256> known{};
    };
    std::vector<Decoded> decoders;
    // A text made yet or not, held encoded as the buffer holds it; an empty text may be a made one.
    struct Made
    {
        QByteArray text;
        bool made = false;
    };
    struct Security
    {
        Made code;
        Made name;
    };
    BytesCache<Security> securities{4096};
    BytesCache<Made> messages{1024};
    BytesCache<Made> priceTypes{256};
};

} // namespace VEK_SC_Space
