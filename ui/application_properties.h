#pragma once
// What the windows read of the application: the title, the version and the help file.
// The application fills it at start-up (app/application.h).

#include <QString>

namespace ui {

struct ApplicationProperties {
    QString title{};
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString helpFile{};
};

} // namespace ui
