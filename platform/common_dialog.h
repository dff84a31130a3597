#pragma once
// CD: the one common-dialog object of the main window. It keeps its properties for the
// whole run, so a value one command sets is still there for the next, and shows the
// desktop's file, colour and font choosers through the DialogBackend seam.

#include <QColor>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

namespace platform {

class DialogBackend;

class CommonDialog : public QObject {
    Q_OBJECT
public:
    // owner: the window the dialogs are modal over; it also owns this object.
    CommonDialog(DialogBackend& backend, QWidget* owner);

    // The properties, named as the callers know them; they start at the component's defaults.
    QString DialogTitle;
    bool CancelError = false;
    QString Filter;       // "description|pattern|description|pattern..."
    std::int32_t Flags = 0;
    QString FileName;     // full path of the chosen file, empty when none was chosen
    std::uint32_t Color = 0; // red in the low byte, then green, then blue
    QString FontName;
    float FontSize = 8.0f;  // the classic control started at 8 points
    bool FontBold = false;

    // Each shows its dialog modally over the owner and returns true when the user chose
    // something, false on a cancel (with CancelError set, a cancel throws RunTimeError).
    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();
    bool ShowFont();

    // Color's layout, red in the low byte, to and from Qt's colour.
    static QColor toQColor(std::uint32_t bgr);
    static std::uint32_t toBgr(const QColor& color);

    // "All Files (*.*)|*.*" -> "All Files (*.*) (*)"; what Qt's file dialogs understand.
    static QString toQtFilter(const QString& filter);

private:
    // What a file dialog answered: the chosen name, or a cancel.
    bool takeFileName(const std::optional<QString>& chosen);

    DialogBackend& backend_;
    QWidget* owner_;
};

} // namespace platform
