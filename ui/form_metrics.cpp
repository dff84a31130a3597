#include "ui/form_metrics.h"

#include <QFontDatabase>

#include <array>

namespace ui {

const QStringList& formFamilies()
{
    static const QStringList family = [] {
        static constexpr std::array kFaces{"MS Sans Serif", "Liberation Sans", "DejaVu Sans"};
        const QStringList installed = QFontDatabase::families();
        for (const char* face : kFaces)
            if (installed.contains(QLatin1String(face), Qt::CaseInsensitive))
                return QStringList{QString::fromLatin1(face)};
        return QStringList{};
    }();
    return family;
}

} // namespace ui
