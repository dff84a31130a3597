#pragma once
// The real Qt implementation of each platform seam. QtServices (qt_services.h) bundles
// one of each for the program; they are declared here so tests can reach the few parts
// that need no modal loop.

#include "platform/dialog_backend.h"
#include "platform/help_viewer.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/process_control.h"

namespace platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    Answer show(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                const QString& title = {}) override;

    // What the box shows: CR LF (and a lone CR) become a line break, an empty title the
    // application's name (its title; no display name is set, see app/application.cpp).
    static QString displayText(const QString& text);
    static QString displayTitle(const QString& title);
};

class QtProcessControl final : public ProcessControl {
public:
    [[noreturn]] void endNow() override;
};

class QtDialogBackend final : public DialogBackend {
public:
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& qtFilter,
                                        const QString& initialName) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                        const QString& qtFilter, const QString& initialName,
                                        bool confirmOverwrite) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial,
                                bool showCustomColors) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
};

// There is no WinHelp viewer here: a missing help file is reported as the classic viewer's
// pending error would be, and an existing one is handed to the desktop to open.
class QtHelpViewer final : public HelpViewer {
public:
    std::optional<QString> winHelp(QWidget* window, const QByteArray& helpFile,
                                   unsigned command, const QByteArray& keyword) override;
};

class QtLauncher final : public Launcher {
public:
    QString findExecutable(const QString& name) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool openWordDocument(const QString& templateName) override;
};

} // namespace platform
