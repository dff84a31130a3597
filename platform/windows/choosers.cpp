// Windows: the file, colour and font commands show the system's own common dialogs, as
// the classic control did, worded by Windows in the user's language. (Qt's font dialog would
// also fall over the families Wine lists without a style, such as "MS Shell Dlg"; Qt's file
// dialog, closing, hands the activation to a hidden window of its own, so that under Wine the
// window manager's offer of the keyboard to the main window goes to that window and is lost.)
#include "platform/system_choosers.h"
#include "platform/windows/file_filter.h"

#include <QDir>
#include <QStringList>
#include <QWidget>

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace platform {

std::wstring windowsFilter(const QString& qtFilter)
{
    std::wstring filter;
    for (const QString& entry : qtFilter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const qsizetype open = entry.lastIndexOf(QLatin1String(" ("));
        const bool listed = open >= 0 && entry.endsWith(QLatin1Char(')'));
        QStringList patterns;
        if (listed)
            patterns = entry.mid(open + 2, entry.size() - open - 3)
                           .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QLatin1String("*"))
                pattern = QStringLiteral("*.*");
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*.*"));
        filter += (listed ? entry.left(open) : entry).toStdWString();
        filter += L'\0';
        filter += patterns.join(QLatin1Char(';')).toStdWString();
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

namespace {

HWND ownerOf(QWidget* parent)
{
    return parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
}

// Logical units of the screen per inch, in which a LOGFONT's height is given.
int screenDotsPerInch()
{
    const HDC screen = GetDC(nullptr);
    const int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dots > 0 ? dots : 96;
}

std::optional<QString> chooseFileName(QWidget* parent, const QString& title,
                                      const QString& qtFilter, const QString& initialName,
                                      DWORD flags, bool save)
{
    const std::wstring filter = windowsFilter(qtFilter);
    const std::wstring caption = title.toStdWString();
    std::wstring name = QDir::toNativeSeparators(initialName).toStdWString();
    name.resize(std::max<std::size_t>(name.size() + 1, 32768), L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ownerOf(parent);
    dialog.lpstrFilter = qtFilter.isEmpty() ? nullptr : filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | flags;
    const auto show = [&] { return save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog); };
    BOOL chosen = show();
    // A starting name Windows cannot take (a character a file name may not hold) would
    // fail the dialog before it shows; it opens without one then.
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        name.assign(name.size(), L'\0');
        chosen = show();
    }
    if (!chosen)
        return std::nullopt;
    return QDir::fromNativeSeparators(QString::fromWCharArray(dialog.lpstrFile));
}

} // namespace

std::optional<QString> chooseOpenFileName(QWidget* parent, const QString& title,
                                          const QString& qtFilter, const QString& initialName)
{
    return chooseFileName(parent, title, qtFilter, initialName, OFN_FILEMUSTEXIST, false);
}

std::optional<QString> chooseSaveFileName(QWidget* parent, const QString& title,
                                          const QString& qtFilter, const QString& initialName,
                                          bool confirmOverwrite)
{
    return chooseFileName(parent, title, qtFilter, initialName,
                          confirmOverwrite ? OFN_OVERWRITEPROMPT : 0, true);
}

std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial, bool showCustomColors)
{
    // The custom colours the user mixed are kept for the rest of the run, as Windows expects.
    static std::array<COLORREF, 16> custom = [] {
        std::array<COLORREF, 16> white{};
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    const QColor rgb = initial.toRgb();
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ownerOf(parent);
    dialog.rgbResult = RGB(rgb.red(), rgb.green(), rgb.blue());
    dialog.lpCustColors = custom.data();
    dialog.Flags = CC_RGBINIT | (showCustomColors ? CC_FULLOPEN : 0);
    if (!ChooseColorW(&dialog))
        return std::nullopt;
    return QColor(GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult), GetBValue(dialog.rgbResult));
}

std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial)
{
    LOGFONTW face{};
    const std::wstring family = initial.family().toStdWString();
    std::copy_n(family.begin(), std::min<std::size_t>(family.size(), LF_FACESIZE - 1), face.lfFaceName);
    const double points = initial.pointSizeF() > 0 ? initial.pointSizeF() : 8.0;
    face.lfHeight = -static_cast<LONG>(std::lround(points * screenDotsPerInch() / 72.0));
    face.lfWeight = initial.bold() ? FW_BOLD : FW_NORMAL;
    face.lfItalic = initial.italic() ? TRUE : FALSE;
    face.lfCharSet = DEFAULT_CHARSET;

    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ownerOf(parent);
    dialog.lpLogFont = &face;
    // The screen's fonts: a printer's would need its device context, and there may be none.
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&dialog))
        return std::nullopt;

    QFont chosen = initial;
    chosen.setFamily(QString::fromWCharArray(face.lfFaceName));
    // The size the user picked, in tenths of a point; the height is rounded to whole dots.
    chosen.setPointSizeF(dialog.iPointSize > 0 ? dialog.iPointSize / 10.0
                                               : std::abs(face.lfHeight) * 72.0 / screenDotsPerInch());
    chosen.setBold(face.lfWeight >= FW_SEMIBOLD);
    chosen.setItalic(face.lfItalic != 0);
    return chosen;
}

} // namespace platform
