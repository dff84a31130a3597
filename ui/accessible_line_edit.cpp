#include "ui/accessible_line_edit.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

namespace ui {

namespace {

// Qt's own line edit accessible, which is not public, with a whole-text attribute run.
class LineEditAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText)
    {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        QString str;
        if (t == QAccessible::Value && edit()->echoMode() == QLineEdit::Normal)
            str = edit()->text();
        else if (t == QAccessible::Value && edit()->echoMode() != QLineEdit::NoEcho)
            str = QString(edit()->text().size(), QLatin1Char('*'));
        if (str.isEmpty())
            str = QAccessibleWidget::text(t);
        if (str.isEmpty() && t == QAccessible::Description)
            str = edit()->placeholderText();
        return str;
    }

    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        QString newText = text;
        int pos = 0;
        if (edit()->validator() && edit()->validator()->validate(newText, pos) != QValidator::Acceptable)
            return;
        edit()->setText(newText);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        if (edit()->isReadOnly())
            state.readOnly = true;
        if (edit()->echoMode() != QLineEdit::Normal)
            state.passwordEdit = true;
        state.selectableText = true;
        return state;
    }

    // --- QAccessibleTextInterface

    // A line edit's text has no attributes: one run, the same for all of it.
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0)
            return;
        *startOffset = edit()->selectionStart();
        *endOffset = *startOffset + static_cast<int>(edit()->selectedText().size());
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }

    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }

    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset || edit()->echoMode() != QLineEdit::Normal)
            return {};
        return edit()->text().mid(startOffset, endOffset - startOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override
    {
        if (hidden(startOffset, endOffset))
            return {};
        return QAccessibleTextInterface::textBeforeOffset(caretFor(offset), boundaryType, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override
    {
        if (hidden(startOffset, endOffset))
            return {};
        return QAccessibleTextInterface::textAfterOffset(caretFor(offset), boundaryType, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override
    {
        if (hidden(startOffset, endOffset))
            return {};
        return QAccessibleTextInterface::textAtOffset(caretFor(offset), boundaryType, startOffset, endOffset);
    }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }

    // Where a character is drawn is measured from the caret, the one place a line edit
    // tells of its scrolled text.
    QRect characterRect(int offset) const override
    {
        const QString ch = text(offset, offset + 1);
        if (ch.isEmpty())
            return {};
        const QFontMetrics metrics(edit()->font());
        const QString shown = edit()->text();
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int caretX = caret.x() + caret.width() / 2;
        const int x = caretX + metrics.horizontalAdvance(shown.left(offset))
                      - metrics.horizontalAdvance(shown.left(edit()->cursorPosition()));
        QRect r(x, edit()->textMargins().top(), metrics.horizontalAdvance(ch), metrics.height());
        r.moveTo(edit()->mapToGlobal(r.topLeft()));
        return r;
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }

    // --- QAccessibleEditableTextInterface

    void deleteText(int startOffset, int endOffset) override
    {
        edit()->setText(edit()->text().remove(startOffset, endOffset - startOffset));
    }
    void insertText(int offset, const QString& text) override
    {
        edit()->setText(edit()->text().insert(offset, text));
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    // A password's characters are not told.
    bool hidden(int* startOffset, int* endOffset) const
    {
        if (edit()->echoMode() == QLineEdit::Normal)
            return false;
        *startOffset = *endOffset = -1;
        return true;
    }
    int caretFor(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

QAccessibleInterface* lineEditFactory(const QString& className, QObject* object)
{
    // A spin box's edit part is told of by the spin box, as Qt does.
    if (className != QLatin1String("QLineEdit") || object->objectName() == QLatin1String("qt_spinbox_lineedit"))
        return nullptr;
    return new LineEditAccessible(static_cast<QLineEdit*>(object));
}

} // namespace

void readLineEditsWhole()
{
    static const bool installed = [] {
        QAccessible::installFactory(lineEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ui
