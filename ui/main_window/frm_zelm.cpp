#include "ui/main_window/frm_zelm.h"

#include "calc/discharge.h"
#include "calc/number_text.h"
#include "platform/common_dialog.h"
#include "platform/run_time_error.h"
#include "platform/window_system.h"
#include "ui/main_window/frm_zelm_layout.h"
#include "ui/main_window/fresh_keys.h"
#include "ui/main_window/label_sizing.h"
#include "ui/main_window/picture_box.h"
#include "ui/accessible_line_edit.h"
#include "ui/accessible_role.h"
#include "ui/announcement.h"
#include "ui/window_focus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

namespace ui {

namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor rgb(std::uint32_t value)
{
    return QColor::fromRgb(static_cast<QRgb>(value));
}

QRect pixelRect(const layout::Control& c)
{
    return {layout::pixels(c.left), layout::pixels(c.top), layout::pixels(c.width),
            layout::pixels(c.height)};
}

// The form's face: the first of its faces in order of preference that is installed.
// Chosen once, and given to the fonts as the one family, because every family a font
// names costs its own fallback search at start-up, a missing one most.
const QStringList& formFamilies()
{
    static const QStringList family = [] {
        const QStringList installed = QFontDatabase::families();
        for (std::string_view face : layout::kFontFamilies)
            if (installed.contains(qs(face), Qt::CaseInsensitive))
                return QStringList{qs(face)};
        return QStringList{}; // the desktop's own sans-serif
    }();
    return family;
}

QFont formFont(const layout::Control& c)
{
    QFont font;
    font.setFamilies(formFamilies());
    font.setPointSizeF(c.pointSize);
    font.setBold(true);
    font.setItalic(c.italic);
    return font;
}

// A text box shows its selection only while it has the focus: the distance preselected
// at load shows once the user reaches the field, not before.
void showSelection(QLineEdit* edit, bool shown)
{
    QPalette palette = edit->palette();
    const QPalette standard = QApplication::palette(edit);
    palette.setColor(QPalette::Highlight,
                     shown ? standard.color(QPalette::Highlight) : palette.color(QPalette::Base));
    palette.setColor(QPalette::HighlightedText, shown ? standard.color(QPalette::HighlightedText)
                                                      : palette.color(QPalette::Text));
    edit->setPalette(palette);
}

QString decimalSeparator()
{
    return QLocale().decimalPoint();
}

// setText leaves the cursor at the end, and a number longer than the box would show
// only its last digits: a text the program writes shows from its first character.
void showFromStart(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0);
}

// A result of eight characters such as "1240.769" needs nearly the whole inner width of a
// box at the form's font, more than QLineEdit leaves between its frame and its text. So a
// text that would touch the right border starts as much nearer the left one as it needs,
// while the box shows it from its start. Once the cursor goes where QLineEdit scrolls the
// text, the usual margin is back: QLineEdit clips the text to the margins, and a scrolled
// glyph would be drawn over the frame.
void fitTextMargins(QLineEdit* edit)
{
    constexpr int kQtTextMargin = 2; // QLineEdit's own, between the contents and the text
    const QFontMetricsF metrics(edit->font());
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    const QString text = edit->displayText();
    // How far the text's ink, drawn from its start, reaches into the last pixel before the
    // right border or beyond.
    const qreal inkEnd = frame + kQtTextMargin + metrics.tightBoundingRect(text).right();
    const int shift = std::max(0, static_cast<int>(std::ceil(inkEnd - (edit->width() - frame - 1))));
    // The cursor must stand where QLineEdit does not scroll (a pixel to spare).
    const qreal line = edit->width() - 2 * frame - 2 * kQtTextMargin + shift;
    const bool unscrolled = metrics.horizontalAdvance(text.left(edit->cursorPosition())) < line - 1;
    const bool fits = shift <= layout::kTextBoxMaxShift && unscrolled;
    edit->setTextMargins(fits ? -shift : 0, 0, 0, 0);
}

} // namespace

FrmZelm::FrmZelm(platform::Services services, ApplicationProperties properties, QWidget* parent)
    : QMainWindow(parent, Qt::Tool | Qt::FramelessWindowHint),
      services_(services),
      properties_(std::move(properties))
{
    setObjectName(QStringLiteral("FrmZelm"));
    setWindowTitle(qs(layout::kTitle));
    readLineEditsWhole();
    platform::keepOutOfTaskBar(this);
    keepKeyboardFocus(this);
    installFreshKeysOnly(this);
    createControls();
    createMenus();
    CD = new platform::CommonDialog(services_.dialogs, this);
    connectEvents();
    // The window cannot be resized: client area plus menu bar, nothing else.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    run(&FrmZelm::Form_Load);
    // The first control in tab order has the focus when the window first shows.
    ui_.Text1->setFocus(Qt::OtherFocusReason);
}

FrmZelm::~FrmZelm()
{
    // The controls lose the focus while they are destroyed; nothing is validated then.
    disconnect(focusWatch_);
}

void FrmZelm::createControls()
{
    ui_.client = new QWidget(this);
    ui_.client->setObjectName(QStringLiteral("client"));
    hostAnnouncements(ui_.client);
    ui_.client->setFixedSize(layout::pixels(layout::kClientWidth),
                             layout::pixels(layout::kClientHeight));
    ui_.client->setAutoFillBackground(true);
    QPalette background = ui_.client->palette();
    background.setColor(QPalette::Window, rgb(layout::kBackground));
    ui_.client->setPalette(background);
    setCentralWidget(ui_.client);

    QWidget* previous = nullptr;
    for (const layout::Control& c : layout::kControls) {
        QWidget* w = nullptr;
        QPalette::ColorRole textRole = QPalette::Text;
        switch (c.kind) {
        case layout::Kind::TextBox: {
            auto* edit = new QLineEdit(qs(c.text), ui_.client);
            edit->setReadOnly(c.readOnly);
            connect(edit, &QLineEdit::textChanged, edit, [edit] { fitTextMargins(edit); });
            connect(edit, &QLineEdit::cursorPositionChanged, edit, [edit] { fitTextMargins(edit); });
            w = edit;
            break;
        }
        case layout::Kind::ComboBox: {
            auto* combo = new QComboBox(ui_.client);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // No inline completion: what the user types is what the box holds.
            combo->setCompleter(nullptr);
            const auto items = c.name == "Combo1" ? std::span<const std::string_view>(layout::kCombo1Items)
                                                  : std::span<const std::string_view>(layout::kCombo2Items);
            for (std::string_view item : items)
                combo->addItem(qs(item));
            // The item shown is the current one, so the open list highlights it and Up and
            // Down move from it.
            combo->setCurrentIndex(combo->findText(qs(c.text)));
            w = combo;
            break;
        }
        case layout::Kind::Button:
            w = new QPushButton(qs(c.text), ui_.client);
            w->setAccessibleName(qs(c.text));
            textRole = QPalette::ButtonText;
            break;
        case layout::Kind::Label: {
            auto* label = new QLabel(qs(c.text), ui_.client);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(!c.sizedToText);
            label->setTextFormat(Qt::PlainText);
            w = label;
            textRole = QPalette::WindowText;
            break;
        }
        case layout::Kind::Picture:
            w = new PictureBox(qs(c.text), ui_.client);
            w->setFocusPolicy(Qt::StrongFocus);
            // A Tab stop that a screen reader would otherwise call a frame, like a window.
            setAccessibleRole(w, QAccessible::Graphic);
            w->setAccessibleName(qs(c.toolTip).trimmed());
            break;
        }
        w->setObjectName(qs(c.name));
        w->setGeometry(pixelRect(c));
        if (c.pointSize > 0)
            w->setFont(formFont(c));
        if (c.textColour != layout::kSystemColour) {
            QPalette palette = w->palette();
            palette.setColor(textRole, rgb(c.textColour));
            w->setPalette(palette);
        }
        if (!c.toolTip.empty())
            w->setToolTip(qs(c.toolTip));
        if (c.kind == layout::Kind::TextBox)
            showSelection(static_cast<QLineEdit*>(w), false);
        if (c.sizedToText) {
            auto* label = static_cast<QLabel*>(w);
            sizedToText_.append(label);
            fitToText(label);
            label->installEventFilter(this);
        }
        if (w->focusPolicy() != Qt::NoFocus) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
            w->installEventFilter(this);
        }
    }

    const auto find = [this]<typename T>(T*& member, const char* name) {
        member = ui_.client->findChild<T*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    };
    find(ui_.Text1, "Text1");
    find(ui_.Text2, "Text2");
    find(ui_.Text3, "Text3");
    find(ui_.Text4, "Text4");
    find(ui_.Text6, "Text6");
    find(ui_.Text7, "Text7");
    find(ui_.Combo1, "Combo1");
    find(ui_.Combo2, "Combo2");
    find(ui_.OK, "OK");
    find(ui_.Command2, "Command2");
    find(ui_.Label1, "Label1");
    find(ui_.Label2, "Label2");
    find(ui_.Label3, "Label3");
    find(ui_.Label4, "Label4");
    find(ui_.Label5, "Label5");
    find(ui_.Label6, "Label6");
    find(ui_.Label7, "Label7");
    find(ui_.Label8, "Label8");
    find(ui_.Label9, "Label9");
    find(ui_.Label10, "Label10");
    find(ui_.Label23, "Label23");
    find(ui_.Picture1, "Picture1");
    // Drawn as the default button; Enter reaches it through eventFilter.
    ui_.OK->setDefault(true);

    // A screen reader announces each field by the caption beside it; a wrapped caption is
    // one line there.
    for (const layout::FieldLabel& pair : layout::kFieldLabels) {
        auto* field = ui_.client->findChild<QWidget*>(qs(pair.field), Qt::FindDirectChildrenOnly);
        auto* label = ui_.client->findChild<QLabel*>(qs(pair.label), Qt::FindDirectChildrenOnly);
        label->setBuddy(field);
        const QString name = label->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
        field->setAccessibleName(name);
        // On Linux a combo box reports its text as its name; its edit part carries the name.
        if (auto* combo = qobject_cast<QComboBox*>(field))
            combo->lineEdit()->setAccessibleName(name);
    }

    // Besides each result's announcement, the field says where the result is found.
    ui_.Text1->setAccessibleDescription(qs(layout::kResultDescription));

    // Enter and Esc typed into a box's edit part must reach the window's keys first.
    ui_.Combo1->lineEdit()->installEventFilter(this);
    ui_.Combo2->lineEdit()->installEventFilter(this);
}

void FrmZelm::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false); // the bar belongs to this window on every desktop
    QMenu* menu = nullptr;
    for (const layout::MenuEntry& e : layout::kMenuBar) {
        if (e.entry == layout::Entry::Menu) {
            menu = bar->addMenu(qs(e.caption));
            menu->setObjectName(qs(e.name));
            menu->menuAction()->setObjectName(qs(e.name));
            // The Window menu ends with its separator; Qt would hide a trailing one.
            menu->setSeparatorsCollapsible(false);
            continue;
        }
        auto* action = new QAction(this);
        action->setObjectName(qs(e.name));
        if (e.entry == layout::Entry::Separator) {
            action->setSeparator(true);
        } else {
            action->setText(qs(e.caption));
            if (!e.shortcut.empty())
                action->setShortcut(QKeySequence(qs(e.shortcut), QKeySequence::PortableText));
            // A held shortcut runs its command once (a held Ctrl+P once started the word
            // processor for every repeat).
            action->setAutoRepeat(false);
        }
        menu->addAction(action);
    }
}

void FrmZelm::run(void (FrmZelm::*handler)())
{
    platform::runHandler(services_.messages, this, [this, handler] { (this->*handler)(); });
}

void FrmZelm::connectEvents()
{
    connect(ui_.OK, &QPushButton::clicked, this, [this] { run(&FrmZelm::OK_Click); });
    connect(ui_.Command2, &QPushButton::clicked, this, [this] { run(&FrmZelm::Command2_Click); });

    const auto command = [this](const char* name, void (FrmZelm::*handler)()) {
        auto* action = findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        Q_ASSERT(action);
        connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
    };
    command("MnuFileOpen", &FrmZelm::MnuFileOpen_Click);
    command("MnuFileSave", &FrmZelm::MnuFileSave_Click);
    command("MnuFilePrint", &FrmZelm::MnuFilePrint_Click);
    command("MnuFileCancel", &FrmZelm::MnuFileCancel_Click);
    command("MnuStroyColor", &FrmZelm::MnuStroyColor_Click);
    command("MnuFont", &FrmZelm::MnuFont_Click);
    command("mnuWindowCascade", &FrmZelm::mnuWindowCascade_Click);
    command("mnuWindowTileHorizontal", &FrmZelm::mnuWindowTileHorizontal_Click);
    command("mnuWindowTileVertical", &FrmZelm::mnuWindowTileVertical_Click);
    command("mnuWindowArrangeIcons", &FrmZelm::mnuWindowArrangeIcons_Click);
    command("mnuHelpSearch", &FrmZelm::mnuHelpSearch_Click);
    command("mnuHelpAbout", &FrmZelm::mnuHelpAbout_Click);

    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, &FrmZelm::focusMoved);
}

bool FrmZelm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && sizedToText_.contains(label))
            fitToText(label);
        return false;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (edit && edit->parentWidget() == ui_.client && reason != Qt::PopupFocusReason)
            showSelection(edit, event->type() == QEvent::FocusIn);
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && watched == pressAfterReport_) {
        pressAfterReport_ = nullptr;
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;

    // Enter is the window's OK and Esc its Command2 from every control, as in a dialog;
    // an open menu, drop-down list or dialog has its own window and keeps its keys.
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(watched))
            button->click();
        else
            ui_.OK->click();
        return true;
    case Qt::Key_Escape:
        ui_.Command2->click();
        return true;
    default:
        return false;
    }
}

void FrmZelm::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    // A tool window does not count as the application's last window: its closing ends the
    // program explicitly. Outside a running event loop there is nothing to end, and an
    // exit() there would make every later loop (a modal dialog's too) return at once.
    if (event->isAccepted() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

// --- Field events ---------------------------------------------------------------------

void FrmZelm::Form_Load()
{
    // Typing into the distance field replaces its default.
    ui_.Text7->setSelection(0, 3);
}

double FrmZelm::readNumber(const QString& text) const
{
    const double value = calc::parseFieldNumber(text.toStdString(), decimalSeparator().toStdString());
    if (!std::isfinite(value))
        throw platform::RunTimeError(platform::describe(calc::Fault::Overflow));
    return value;
}

void FrmZelm::OK_Click()
{
    const calc::DischargeInputs in{
        .W = readNumber(ui_.Text2->text()),
        .B = readNumber(ui_.Text3->text()),
        .H = readNumber(ui_.Text4->text()),
        .Q = readNumber(ui_.Text6->text()),
        .L = readNumber(ui_.Text7->text()),
        .k = readNumber(ui_.Combo1->currentText()),
        .K = readNumber(ui_.Combo2->currentText()),
    };
    const auto discharge = calc::computeDischarge(in);
    if (!discharge)
        throw platform::RunTimeError(platform::describe(discharge.error()));
    showFromStart(ui_.Text1, QString::fromStdString(
        calc::formatResult(*discharge, decimalSeparator().toStdString())));
    // Heard wherever the focus is, unlike the text written into the result field.
    announce(ui_.client, ui_.Text1->text());
}

void FrmZelm::validateNumberField(QLineEdit* field)
{
    const double value = readNumber(field->text());
    showFromStart(field, QString::fromStdString(
        calc::formatNumber(value, decimalSeparator().toStdString())));
}

void FrmZelm::Text2_Validate(bool& /*cancel*/) { validateNumberField(ui_.Text2); }
void FrmZelm::Text3_Validate(bool& /*cancel*/) { validateNumberField(ui_.Text3); }
void FrmZelm::Text4_Validate(bool& /*cancel*/) { validateNumberField(ui_.Text4); }
void FrmZelm::Text6_Validate(bool& /*cancel*/) { validateNumberField(ui_.Text6); }

// A field is validated only when the focus goes to another control of this window: not
// on Enter (the focus stays), nor when a menu, a drop-down list, a dialog or another
// application takes the focus for a while.
void FrmZelm::focusMoved(QWidget* /*from*/, QWidget* to)
{
    // A menu, the menu bar in keyboard mode, a drop-down list or a dialog holds the focus
    // only for a while: the field is left when another control of the window takes it.
    if (!to || !ui_.client->isAncestorOf(to))
        return;
    QWidget* from = std::exchange(lastControl_, to);
    if (!from || from == to)
        return;
    void (FrmZelm::*validate)(bool&) = nullptr;
    if (from == ui_.Text2)
        validate = &FrmZelm::Text2_Validate;
    else if (from == ui_.Text3)
        validate = &FrmZelm::Text3_Validate;
    else if (from == ui_.Text4)
        validate = &FrmZelm::Text4_Validate;
    else if (from == ui_.Text6)
        validate = &FrmZelm::Text6_Validate;
    if (!validate)
        return;
    bool cancel = false; // leaving a field is never refused
    const bool byMouse = QGuiApplication::mouseButtons() != Qt::NoButton;
    const bool reported = !platform::runHandler(services_.messages, this, [this, validate, &cancel] {
        (this->*validate)(cancel);
    });
    // The validation ran before anything of the clicked control, as it must. But the press
    // is delivered after the report, and the release went to the report's box: the button
    // would be drawn pressed until the focus left it. The press is dropped instead, until
    // the events pending now are handled.
    if (reported && byMouse) {
        pressAfterReport_ = to;
        QMetaObject::invokeMethod(this, [this] { pressAfterReport_ = nullptr; }, Qt::QueuedConnection);
    }
}

// --- The Window menu: its items do nothing -------------------------------------------

void FrmZelm::mnuWindowCascade_Click() {}
void FrmZelm::mnuWindowTileHorizontal_Click() {}
void FrmZelm::mnuWindowTileVertical_Click() {}
void FrmZelm::mnuWindowArrangeIcons_Click() {}

} // namespace ui
