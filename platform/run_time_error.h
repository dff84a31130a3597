#pragma once
// The one report of run-time errors that a handler does not handle itself. On the classic
// platform such an error ended the program and every typed figure was lost; here the
// report is shown, the handler is abandoned, and the window goes on as it was.

#include "calc/discharge.h"

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace platform {

class MessageBoxes;

// An error a handler raises; its text is the Russian description shown to the user.
class RunTimeError : public std::exception {
public:
    explicit RunTimeError(QString description);
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override;

private:
    QString description_;
    QByteArray utf8_;
};

// Russian description of an arithmetic fault of the calculation.
QString describe(calc::Fault fault);

// Runs handler; any RunTimeError or other exception escaping it is reported in one modal
// box titled with the application's title, and then swallowed. Says whether the handler
// ran to its end, that is, whether no report was shown.
bool runHandler(MessageBoxes& messages, QWidget* window, const std::function<void()>& handler);

} // namespace platform
