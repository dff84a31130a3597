#pragma once
// Starting another program detached, with an argument list and never through a shell.

#include <QString>
#include <QStringList>

namespace platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Full path of an executable found on PATH, else where the system registered it by
    // name (Windows' App Paths), or empty.
    virtual QString findExecutable(const QString& name) = 0;
    // True when the program was started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Word, driven through its automation where the system has it (Windows): a new
    // document from the template, a bare file name that Word looks for by its own rule,
    // and Word shown; a failing step is skipped. True when Word was reached, even if a
    // later step failed; false where there is no Word.
    virtual bool openWordDocument(const QString& templateName) = 0;
};

} // namespace platform
