#pragma once
// What a screen reader is told about a line edit's text. Qt 6.4 answers a line edit's
// text-attribute queries with an empty run at the asked offset; Orca joins those runs
// into the line it speaks, and so reads every field one character short ("1413.50" for
// 1413.509). Every QLineEdit, a combo box's edit part too, is reported here with one run
// over its whole text, and otherwise as Qt reports it.

namespace ui {

// Takes effect for a line edit not asked about before; call before the first is created.
void readLineEditsWhole();

} // namespace ui
