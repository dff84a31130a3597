#pragma once
// Scripted stand-ins for every platform service: each records what it was asked and
// answers from a queue the test fills, so windows run headless without a real dialog.

#include "platform/dialog_backend.h"
#include "platform/help_viewer.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/process_control.h"
#include "platform/services.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace testing_support {

class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    struct Shown {
        QString text;
        platform::Buttons buttons;
        platform::Icon icon;
        QString title;
        QWidget* parent;
    };
    QList<Shown> shown;
    QQueue<platform::Answer> answers; // when empty: OK for an OK box, No for a question

    platform::Answer show(QWidget* parent, const QString& text, platform::Buttons buttons,
                          platform::Icon icon, const QString& title) override;
};

class ScriptedProcess final : public platform::ProcessControl {
public:
    int endNowCalls = 0;
    void endNow() override { ++endNowCalls; }
};

class ScriptedDialogs final : public platform::DialogBackend {
public:
    enum class Kind { Open, Save, Color, Font };
    struct Request {
        Kind kind;
        QString title{};
        QString filter{};
        QString initialName{};
        bool confirmOverwrite = false;
        bool showCustomColors = false;
        QColor initialColor{};
        QFont initialFont{};
        QWidget* parent = nullptr;
    };
    QList<Request> requests;
    // Answers in order; an empty queue, or std::nullopt, is a cancel.
    QQueue<std::optional<QString>> fileAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    QQueue<std::optional<QFont>> fontAnswers;

    std::optional<QString> openFileName(QWidget* parent, const QString& title, const QString& qtFilter,
                                        const QString& initialName) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& title, const QString& qtFilter,
                                        const QString& initialName, bool confirmOverwrite) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial, bool showCustomColors) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
};

class ScriptedHelp final : public platform::HelpViewer {
public:
    struct Call {
        QWidget* window;
        QByteArray helpFile;
        unsigned command;
        QByteArray keyword;
    };
    QList<Call> calls;
    std::optional<QString> error; // what every call reports

    std::optional<QString> winHelp(QWidget* window, const QByteArray& helpFile, unsigned command,
                                   const QByteArray& keyword) override;
};

class ScriptedLauncher final : public platform::Launcher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };
    QList<Start> started;
    std::function<QString(const QString&)> find = [](const QString&) { return QString(); };
    bool startResult = true;

    QStringList wordTemplates; // what Word was asked to open, in order
    bool wordPresent = false;

    QString findExecutable(const QString& name) override { return find(name); }
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool openWordDocument(const QString& templateName) override
    {
        wordTemplates.append(templateName);
        return wordPresent;
    }
};

// All five together, ready to hand to a window.
struct ScriptedPlatform {
    ScriptedMessageBoxes messages;
    ScriptedProcess process;
    ScriptedDialogs dialogs;
    ScriptedHelp help;
    ScriptedLauncher launcher;

    platform::Services services() { return {messages, process, dialogs, help, launcher}; }
};

} // namespace testing_support
