#include "ui/about/help_search.h"

#include "platform/help_viewer.h"
#include "platform/message_boxes.h"
#include "platform/qt_code_page_1251.h"

#include <QByteArray>

namespace ui {

void helpSearch(platform::HelpViewer& help, platform::MessageBoxes& messages, QWidget* window,
                const QString& helpFile)
{
    // The keyword is an empty string: the search page opens with nothing typed in.
    const auto error =
        help.winHelp(window, platform::toCp1251(helpFile), platform::kHelpPartialKey, QByteArray());
    if (error)
        messages.show(window, *error, platform::Buttons::Ok, platform::Icon::None);
}

} // namespace ui
