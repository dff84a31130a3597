#pragma once
// The word processor as each system has it, one implementation per system: windows/ (Word
// through COM, "Word.Application"; LibreOffice where its installer registered it) and posix/
// (no Word there: LibreOffice is started instead, found on PATH).

#include <QString>

namespace platform {

// A new document from the template and Word shown, each failing step skipped. True when
// Word was reached, even if a later step failed; false where there is no Word.
bool automateWord(const QString& templateName);

// LibreOffice's own user template folder: libreoffice/4/user/template under
// XDG_CONFIG_HOME on Linux, LibreOffice\4\user\template in the roaming application data
// on Windows. Empty where the system names no such place.
QString wordProcessorTemplateFolder();

// Full path of a program the system registered by name beside PATH (Windows' App Paths,
// where LibreOffice's installer puts soffice.exe, which is not on PATH), or empty.
QString registeredProgram(const QString& name);

} // namespace platform
