#pragma once
// Modal message boxes. The window asks through this seam so that tests can answer.

#include <QString>

class QWidget;

namespace platform {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Question, Critical };
// Answer codes of the classic message box: OK 1, Yes 6, No 7.
enum class Answer { Ok = 1, Yes = 6, No = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box over parent. An empty title means the application's title.
    virtual Answer show(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                        const QString& title = {}) = 0;
};

} // namespace platform
