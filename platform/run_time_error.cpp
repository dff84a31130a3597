#include "platform/run_time_error.h"

#include "platform/message_boxes.h"

namespace platform {

RunTimeError::RunTimeError(QString description)
    : description_(std::move(description)), utf8_(description_.toUtf8())
{
}

const char* RunTimeError::what() const noexcept
{
    return utf8_.constData();
}

QString describe(calc::Fault fault)
{
    switch (fault) {
    case calc::Fault::InvalidOperation:
        return QStringLiteral("Ошибка вычисления: недопустимая операция "
                              "(например, 0/0 или дробная степень отрицательного числа).");
    case calc::Fault::DivisionByZero:
        return QStringLiteral("Ошибка вычисления: деление на ноль.");
    case calc::Fault::Overflow:
        return QStringLiteral("Ошибка вычисления: переполнение.");
    }
    return QStringLiteral("Ошибка вычисления.");
}

bool runHandler(MessageBoxes& messages, QWidget* window, const std::function<void()>& handler)
{
    QString description;
    try {
        handler();
        return true;
    } catch (const RunTimeError& e) {
        description = e.description();
    } catch (const std::exception& e) {
        description = QStringLiteral("Непредвиденная ошибка: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        description = QStringLiteral("Непредвиденная ошибка.");
    }
    messages.show(window, description, Buttons::Ok, Icon::Critical);
    return false;
}

} // namespace platform
