#pragma once
// File → "Печать в Word's": a new document from the template "Canal.dot" in the installed
// word processor, which is brought to the screen: Word through its automation where the
// system has it (Windows), else LibreOffice. Nothing from the window is passed on, the
// template alone decides what the document holds.

#include <QString>
#include <QStringList>

namespace platform {
class Launcher;
}

namespace output {

inline constexpr char kWordTemplate[] = "Canal.dot";

// Where the template is looked for, in this order: LibreOffice's own user template folder
// (under XDG_CONFIG_HOME; on Windows in the roaming application data), the desktop's
// templates folder (XDG_TEMPLATES_DIR, usually ~/Templates; Windows' Templates), then the
// current folder.
QStringList templateFolders();

// Full path of "Canal.dot" in the first folder that holds it (the name compared without
// regard to case, as the classic word processor did), or empty.
QString findTemplate(const QStringList& folders);

// The arguments for the word processor: a new document from the template, or, with no
// template, none at all, which still brings the word processor to the screen.
QStringList wordProcessorArguments(const QString& templatePath);

// Asks Word for the document; where Word cannot be reached, finds soffice, else
// libreoffice, on PATH or where the system registered it, and starts it detached with an
// argument list.
// A running LibreOffice takes the request over, so no second instance is started and
// each call adds one more document. Every failure is silent: with no word processor
// nothing happens at all.
void handOffToWordProcessor(platform::Launcher& launcher,
                            const QStringList& folders = templateFolders());

} // namespace output
