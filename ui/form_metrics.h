#pragma once
// What every window of the program shares in how its form was drawn: positions in twips
// (1/1440 inch) and one face for its fonts.

#include <QRect>
#include <QString>
#include <QStringList>

#include <string_view>

namespace ui {

inline constexpr int kTwipsPerPixel = 15; // at 96 dots per inch

// The nearest pixel. Every size of the calculator window is a whole number of pixels;
// the About box's separator ends at 5654 twips, 376.93 pixels, drawn to pixel 377.
constexpr int pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect twipRect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

// A form table's text, written in UTF-8.
inline QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The forms' face: the first installed of the classic one and two metric-compatible
// sans-serifs that cover Cyrillic, or none (the desktop's own sans-serif). Chosen once
// and given to the fonts as the one family, because every family a font names costs its
// own fallback search at start-up, a missing one most.
const QStringList& formFamilies();

} // namespace ui
