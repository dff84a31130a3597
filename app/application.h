#pragma once
// Application properties, read by the exit question, the help search and the About dialog.

#include "app/version.h"
#include "ui/application_properties.h"

#include <QString>

class QApplication;

namespace app {

QString title();    // "Зельм"
QString helpFile(); // none is set

// All of the above, as the windows take them.
ui::ApplicationProperties properties();

// Sets name, version and Russian translations of Qt's own texts on the application.
void configure(QApplication& application);

// The Russian translations of Qt's own texts, installed on the application; false when
// there are none.
bool installQtTranslations(QApplication& application);

} // namespace app
