#pragma once
// Word's automation, where the system has it: one implementation per system, windows/
// (COM, "Word.Application") and linux/ (no Word there: LibreOffice is started instead).

#include <QString>

namespace platform {

// A new document from the template and Word shown, each failing step skipped. True when
// Word was reached, even if a later step failed; false where there is no Word.
bool automateWord(const QString& templateName);

} // namespace platform
