#include "platform/common_dialog.h"

#include "platform/dialog_backend.h"
#include "platform/run_time_error.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>

namespace platform {

namespace {

// Bit 2 means "ask before overwriting" to the save dialog and "show the custom colours"
// to the colour dialog.
constexpr std::int32_t kOverwritePrompt = 0x2;
constexpr std::int32_t kFullOpen = 0x2;

// The classic control raised error 32755 when CancelError was set and the user cancelled.
[[noreturn]] void cancelled()
{
    throw RunTimeError(QStringLiteral("Отменено пользователем (ошибка 32755)."));
}

// "*.*" meant every file, names without a dot included; Qt spells that "*". Several
// patterns were separated by ";", Qt separates them by blanks.
QString toQtPatterns(const QString& patterns)
{
    QStringList qt;
    for (const QString& part : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        qt.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    return qt.isEmpty() ? QStringLiteral("*") : qt.join(QLatin1Char(' '));
}

} // namespace

CommonDialog::CommonDialog(DialogBackend& backend, QWidget* owner)
    : QObject(owner), backend_(backend), owner_(owner)
{
    setObjectName(QStringLiteral("CD"));
}

QColor CommonDialog::toQColor(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

std::uint32_t CommonDialog::toBgr(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8)
        | (std::uint32_t(rgb.blue()) << 16);
}

QString CommonDialog::toQtFilter(const QString& filter)
{
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qt;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        const QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        qt.append(QStringLiteral("%1 (%2)").arg(description, toQtPatterns(patterns)));
    }
    return qt.join(QStringLiteral(";;"));
}

bool CommonDialog::ShowOpen()
{
    return takeFileName(backend_.openFileName(owner_, DialogTitle, toQtFilter(Filter), FileName));
}

bool CommonDialog::ShowSave()
{
    return takeFileName(backend_.saveFileName(owner_, DialogTitle, toQtFilter(Filter), FileName,
                                              (Flags & kOverwritePrompt) != 0));
}

bool CommonDialog::takeFileName(const std::optional<QString>& chosen)
{
    if (!chosen) {
        // The classic control left no name behind after a cancel.
        FileName.clear();
        if (CancelError)
            cancelled();
        return false;
    }
    FileName = *chosen;
    return true;
}

bool CommonDialog::ShowColor()
{
    const auto chosen = backend_.color(owner_, toQColor(Color), (Flags & kFullOpen) != 0);
    if (!chosen) {
        if (CancelError)
            cancelled();
        return false;
    }
    Color = toBgr(*chosen);
    return true;
}

bool CommonDialog::ShowFont()
{
    QFont initial = owner_ ? owner_->font() : QFont();
    if (!FontName.isEmpty())
        initial.setFamily(FontName);
    if (FontSize > 0.0f)
        initial.setPointSizeF(FontSize);
    initial.setBold(FontBold);

    const auto chosen = backend_.font(owner_, initial);
    if (!chosen) {
        if (CancelError)
            cancelled();
        return false;
    }
    FontName = chosen->family();
    // A font given in pixels has no point size; read it at 96 dots per inch.
    FontSize = chosen->pointSizeF() > 0 ? float(chosen->pointSizeF())
                                        : float(chosen->pixelSize() * 72.0 / 96.0);
    FontBold = chosen->bold();
    return true;
}

} // namespace platform
