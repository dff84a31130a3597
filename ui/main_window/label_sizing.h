#pragma once
// The labels "sized to their text" take the size their caption needs in their font,
// keeping their top-left corner: at start and again whenever their font changes.

class QLabel;

namespace ui {

// Trailing blanks count: the title's nineteen are part of its caption.
void fitToText(QLabel* label);

} // namespace ui
