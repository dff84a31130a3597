#pragma once
// The platform help viewer, called the way the classic WinHelpA call was.

#include <QByteArray>
#include <QString>
#include <optional>

class QWidget;

namespace platform {

// Partial-key search: the viewer opens its search page with the keyword pre-filled.
inline constexpr unsigned kHelpPartialKey = 0x105;

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // helpFile and keyword are in the single-byte code page. Returns the description of
    // the error the call left pending, or nothing when it succeeded.
    virtual std::optional<QString> winHelp(QWidget* window, const QByteArray& helpFile,
                                           unsigned command, const QByteArray& keyword) = 0;
};

} // namespace platform
