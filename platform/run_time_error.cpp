#include "platform/run_time_error.h"

#include "platform/message_boxes.h"
#include "text/fault_text.h"

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
    const std::string_view description = text::describe(fault);
    return QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size()));
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
