#pragma once
// The desktop's standard file, colour and font choosers, behind one seam. The shared
// dialog object CD (common_dialog.h) keeps the properties and calls these; tests script
// the answers. Every function returns nothing when the user cancelled.

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace platform {

class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    // qtFilter is in Qt's own syntax ("Textfiles (*.txt)"); title may be empty.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                                const QString& qtFilter,
                                                const QString& initialName) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                                const QString& qtFilter,
                                                const QString& initialName,
                                                bool confirmOverwrite) = 0;
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial,
                                        bool showCustomColors) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
};

} // namespace platform
