#include "CellText.h"

namespace VEK_SC_Space {
namespace HistoryColumn {

namespace {

// The table's sink: each form of text as a QString.
struct DisplayText
{
    QString empty() const { return QString(); }
    QString utf8(const char* bytes, std::size_t size) const { return QString::fromUtf8(bytes, int(size)); }
    QString text(const QString& text) const { return text; }
    template <typename Format>
    QString ascii(Format format) const
    {
        char digits[FixedRoom];
        return QString::fromLatin1(digits, int(format(digits) - digits));
    }
    template <typename Make>
    QString code(CellText::Decoder, char, Make make) const { return make(); }
    template <typename Make>
    QString lookup(CellText::Lookup, std::string_view, char, Make make) const { return make(); }
};

} // namespace

QString CellText::toString() const
{
    DisplayText display;
    return render(display);
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
