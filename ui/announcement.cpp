#include "ui/announcement.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace ui {

namespace {

constexpr char kHostProperty[] = "zelmAnnouncementHost";
constexpr char kTextProperty[] = "zelmAnnouncement";
constexpr char kNoticeName[] = "zelmAnnouncement";

QObject* noticeOf(const QWidget* host)
{
    return host->findChild<QObject*>(QLatin1String(kNoticeName), Qt::FindDirectChildrenOnly);
}

class NoticeAccessible final : public QAccessibleObject {
public:
    explicit NoticeAccessible(QObject* notice) : QAccessibleObject(notice) {}

    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? object()->property(kTextProperty).toString() : QString();
    }
};

// The host as Qt tells of a plain QWidget, with its notification as the last child: a
// screen reader walks from the notification to the window and back, and must find it
// where its parent says it is.
class HostAccessible final : public QAccessibleWidget {
public:
    explicit HostAccessible(QWidget* host) : QAccessibleWidget(host) {}

    int childCount() const override { return QAccessibleWidget::childCount() + (noticeOf(widget()) ? 1 : 0); }
    QAccessibleInterface* child(int index) const override
    {
        QObject* notice = noticeOf(widget());
        if (notice && index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(notice);
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child->object() && child->object() == noticeOf(widget()))
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }
};

QAccessibleInterface* announcementFactory(const QString& className, QObject* object)
{
    if (!object)
        return nullptr;
    if (object->property(kTextProperty).isValid())
        return new NoticeAccessible(object);
    if (className == QLatin1String("QWidget") && object->property(kHostProperty).toBool())
        return new HostAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

void tell(QObject* object, QAccessible::Event event)
{
    QAccessibleEvent e(object, event);
    QAccessible::updateAccessibility(&e);
}

} // namespace

void hostAnnouncements(QWidget* host)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcementFactory);
        return true;
    }();
    Q_UNUSED(installed);
    host->setProperty(kHostProperty, true);
}

void announce(QWidget* host, const QString& text)
{
    if (QObject* old = noticeOf(host)) {
        // Told while it can still be asked about.
        tell(old, QAccessible::ObjectDestroyed);
        delete old;
    }
    auto* notice = new QObject(host);
    notice->setObjectName(QLatin1String(kNoticeName));
    notice->setProperty(kTextProperty, text);
    tell(notice, QAccessible::ObjectCreated);
    tell(notice, QAccessible::ObjectShow);
}

} // namespace ui
