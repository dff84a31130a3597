#pragma once
// Starting another program detached, with an argument list and never through a shell.

#include <QString>
#include <QStringList>

namespace platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Full path of an executable found on PATH, or empty.
    virtual QString findExecutable(const QString& name) = 0;
    // True when the program was started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

} // namespace platform
