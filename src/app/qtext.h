#pragma once
// Conversions between the core's UTF-16 texts and Qt's strings.

#include <QString>

#include <string>
#include <string_view>

namespace pm {

inline QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

inline std::u16string us(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size()));
}

// "Desc|*.a;*.b|..." to Qt's "Desc (*.a *.b);;...".
QString qtFileFilter(const std::string& pipeFilter);

} // namespace pm
