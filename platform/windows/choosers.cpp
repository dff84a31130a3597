// Windows: the colour and font commands show the system's own common dialogs, as the
// classic control did, worded by Windows in the user's language. (Qt's font dialog would
// also fall over the families Wine lists without a style, such as "MS Shell Dlg".)
#include "platform/system_choosers.h"

#include <QWidget>

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {

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

} // namespace

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
