#pragma once
// Application properties, read by the exit question, the help search and the About dialog.

#include "ui/application_properties.h"

#include <QString>

class QApplication;

namespace app {

inline constexpr int kMajor = 1;
inline constexpr int kMinor = 0;
inline constexpr int kRevision = 1;

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
