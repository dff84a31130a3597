#include "tests/support/scripted_platform.h"

namespace testing_support {

using platform::Answer;

Answer ScriptedMessageBoxes::show(QWidget* parent, const QString& text, platform::Buttons buttons,
                                  platform::Icon icon, const QString& title)
{
    shown.append({text, buttons, icon, title, parent});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == platform::Buttons::Ok ? Answer::Ok : Answer::No;
}

template <typename T> static std::optional<T> next(QQueue<std::optional<T>>& queue)
{
    return queue.isEmpty() ? std::nullopt : queue.dequeue();
}

std::optional<QString> ScriptedDialogs::openFileName(QWidget* parent, const QString& title,
                                                     const QString& qtFilter, const QString& initialName)
{
    requests.append({.kind = Kind::Open, .title = title, .filter = qtFilter,
                     .initialName = initialName, .parent = parent});
    return next(fileAnswers);
}

std::optional<QString> ScriptedDialogs::saveFileName(QWidget* parent, const QString& title,
                                                     const QString& qtFilter, const QString& initialName,
                                                     bool confirmOverwrite)
{
    requests.append({.kind = Kind::Save, .title = title, .filter = qtFilter,
                     .initialName = initialName, .confirmOverwrite = confirmOverwrite,
                     .parent = parent});
    return next(fileAnswers);
}

std::optional<QColor> ScriptedDialogs::color(QWidget* parent, const QColor& initial, bool showCustomColors)
{
    requests.append({.kind = Kind::Color, .showCustomColors = showCustomColors,
                     .initialColor = initial, .parent = parent});
    return next(colorAnswers);
}

std::optional<QFont> ScriptedDialogs::font(QWidget* parent, const QFont& initial)
{
    requests.append({.kind = Kind::Font, .initialFont = initial, .parent = parent});
    return next(fontAnswers);
}

std::optional<QString> ScriptedHelp::winHelp(QWidget* window, const QByteArray& helpFile, unsigned command,
                                             const QByteArray& keyword)
{
    calls.append({window, helpFile, command, keyword});
    return error;
}

bool ScriptedLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    started.append({program, arguments});
    return startResult;
}

} // namespace testing_support
