#pragma once
// Settings → "Цвет окна" and "Шрифт Заголовка": the window's background colour and the
// font of the two title lines, chosen through the shared dialog object CD. Both change
// the look for the rest of the run only.
//
// clientArea is the widget that paints the window's background behind the transparent
// labels (the main window's central widget): giving the colour and font to it, rather
// than to the main window, keeps the menu bar in the desktop's own colour and font.

class QLabel;
class QWidget;

namespace platform {
class CommonDialog;
}

namespace ui {

// Largest point size a label takes; the classic controls refused anything above it.
inline constexpr float kMaxFontPoints = 2160.0f;

// Shows the colour dialog with its custom colours; a chosen colour becomes the
// background of clientArea. A cancel changes nothing.
void applyWindowColor(platform::CommonDialog& cd, QWidget* clientArea);

// Shows the font dialog; a chosen font gives clientArea its size, and label8 then label10
// its size, weight and face, each assignment on its own: a size out of range is skipped
// while weight and face still change. The labels keep their italic and their colour, and
// take the size their text now needs. A cancel changes nothing.
void applyTitleFont(platform::CommonDialog& cd, QWidget* clientArea, QLabel* label8,
                    QLabel* label10);

} // namespace ui
