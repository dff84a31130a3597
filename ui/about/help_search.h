#pragma once
// Help → "Информация": the partial-key search of the application's help file in the
// platform help viewer. Any error the viewer leaves pending is shown in one message box.

#include <QString>

class QWidget;

namespace platform {
class HelpViewer;
class MessageBoxes;
}

namespace ui {

// helpFile: the application's help-file name (none is set, so usually empty).
void helpSearch(platform::HelpViewer& help, platform::MessageBoxes& messages, QWidget* window,
                const QString& helpFile);

} // namespace ui
