#include "platform/qt_services.h"

#include "platform/clipboard_handoff.h"
#include "platform/document_automation.h"
#include "platform/qt_backends.h"
#include "platform/qt_code_page_1251.h"
#include "platform/system_choosers.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace platform {

// ---- message boxes ----------------------------------------------------------------

QString QtMessageBoxes::displayText(const QString& text)
{
    // The callers build their line breaks the classic way, CR LF; a label wants "\n".
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString QtMessageBoxes::displayTitle(const QString& title)
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

Answer QtMessageBoxes::show(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                            const QString& title)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    if (icon == Icon::Question)
        qtIcon = QMessageBox::Question;
    else if (icon == Icon::Critical)
        qtIcon = QMessageBox::Critical;

    QMessageBox box(qtIcon, displayTitle(title), displayText(text), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    // Named here rather than left to the translation files, which may be missing.
    if (buttons == Buttons::YesNo) {
        box.addButton(QMessageBox::Yes)->setText(QStringLiteral("&Да"));
        box.addButton(QMessageBox::No)->setText(QStringLiteral("&Нет"));
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.addButton(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.setDefaultButton(QMessageBox::Ok);
    }
    box.exec();

    const auto* clicked = box.clickedButton();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return clicked == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

// ---- ending the process -----------------------------------------------------------

void QtProcessControl::endNow()
{
    // What the user copied outlives the program, as on a normal end.
    keepClipboardAfterEnd();
    // No event loop, no destructors, no close handlers: the run ends here.
    std::fflush(nullptr);
    std::_Exit(0);
}

// ---- file, colour and font dialogs ------------------------------------------------

std::optional<QString> QtDialogBackend::openFileName(QWidget* parent, const QString& title,
                                                     const QString& qtFilter,
                                                     const QString& initialName)
{
    return chooseOpenFileName(parent, title, qtFilter, initialName);
}

std::optional<QString> QtDialogBackend::saveFileName(QWidget* parent, const QString& title,
                                                     const QString& qtFilter,
                                                     const QString& initialName,
                                                     bool confirmOverwrite)
{
    // Without a title of the caller's the dialog is named as Qt's own names itself, on
    // every system (Windows' file dialog, as Qt opened it, was blank under Wine).
    const QString caption = title.isEmpty() ? QStringLiteral("Сохранить как") : title;
    return chooseSaveFileName(parent, caption, qtFilter, initialName, confirmOverwrite);
}

std::optional<QColor> QtDialogBackend::color(QWidget* parent, const QColor& initial,
                                             bool showCustomColors)
{
    return chooseColor(parent, initial, showCustomColors);
}

std::optional<QFont> QtDialogBackend::font(QWidget* parent, const QFont& initial)
{
    return chooseFont(parent, initial);
}

// ---- help viewer ------------------------------------------------------------------

std::optional<QString> QtHelpViewer::winHelp(QWidget* /*window*/, const QByteArray& helpFile,
                                             unsigned /*command*/, const QByteArray& /*keyword*/)
{
    const QString name = fromCp1251(helpFile);
    if (name.isEmpty())
        return QStringLiteral("Файл справки не найден.");
    const QFileInfo info(name);
    if (!info.isFile())
        return QStringLiteral("Файл справки «%1» не найден.").arg(QDir::toNativeSeparators(name));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())))
        return QStringLiteral("Не удалось открыть файл справки «%1».")
            .arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    return std::nullopt;
}

// ---- starting other programs ------------------------------------------------------

QString QtLauncher::findExecutable(const QString& name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? registeredProgram(name) : onPath;
}

bool QtLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool QtLauncher::openWordDocument(const QString& templateName)
{
    return automateWord(templateName);
}

// ---- the bundle -------------------------------------------------------------------

struct QtServices::Impl {
    QtMessageBoxes messages;
    QtProcessControl process;
    QtDialogBackend dialogs;
    QtHelpViewer help;
    QtLauncher launcher;
};

QtServices::QtServices() : impl_(std::make_unique<Impl>()) {}

QtServices::~QtServices() = default;

Services QtServices::services()
{
    return {impl_->messages, impl_->process, impl_->dialogs, impl_->help, impl_->launcher};
}

} // namespace platform
