#pragma once
// A text told to a screen reader wherever the focus is. Qt 6.4 has no announcement, and
// Orca 43 does not speak a text written into a field without the focus; it does speak a
// notification that appears. So the text becomes the name of a notification: an object
// without a widget, listed as the last child of its host, the one before it gone.

class QString;
class QWidget;

namespace ui {

// `host`, a plain QWidget, will carry the notifications. Call before it is first asked
// about, that is before it is shown.
void hostAnnouncements(QWidget* host);

// Replaces the host's notification by one named `text`, and tells that it shows.
void announce(QWidget* host, const QString& text);

} // namespace ui
