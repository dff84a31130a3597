#include "platform/qt_code_page_1251.h"

#include "text/code_page_1251.h"

namespace platform {

QByteArray toCp1251(const QString& string)
{
    QByteArray bytes;
    bytes.reserve(string.size());
    for (qsizetype i = 0; i < string.size(); ++i) {
        const QChar c = string.at(i);
        if (c.isHighSurrogate() && i + 1 < string.size() && string.at(i + 1).isLowSurrogate()) {
            ++i; // nothing outside the basic plane is in the code page
            bytes.append('?');
            continue;
        }
        // A lone surrogate is no character of the code page either.
        bytes.append(text::toCp1251(c.unicode()));
    }
    return bytes;
}

QString fromCp1251(const QByteArray& bytes)
{
    QString decoded;
    decoded.reserve(bytes.size());
    for (const char b : bytes)
        decoded.append(QChar(static_cast<char16_t>(text::fromCp1251(static_cast<unsigned char>(b)))));
    return decoded;
}

} // namespace platform
