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
#include "ui/form_metrics.h"
#include "ui/window_focus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
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
#include <variant>
#include <utility>

namespace ui {

namespace {

QColor rgb(std::uint32_t value)
{
    return QColor::fromRgb(static_cast<QRgb>(value));
}

QRect pixelRect(const layout::Control& c)
{
    return twipRect(c.left, c.top, c.width, c.height);
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

// One constructor per kind of control, chosen by the type of the member it goes into.
QLineEdit* newControl(QLineEdit*, const layout::Control& c, QWidget* parent)
{
    auto* edit = new QLineEdit(qs(c.text), parent);
    edit->setReadOnly(c.readOnly);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { fitTextMargins(edit); });
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, [edit] { fitTextMargins(edit); });
    return edit;
}

QComboBox* newControl(QComboBox*, const layout::Control& c, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: what the user types is what the box holds.
    combo->setCompleter(nullptr);
    for (std::string_view item : c.items)
        combo->addItem(qs(item));
    // The item shown is the current one, so the open list highlights it and Up and Down
    // move from it.
    combo->setCurrentIndex(combo->findText(qs(c.text)));
    return combo;
}

QPushButton* newControl(QPushButton*, const layout::Control& c, QWidget* parent)
{
    auto* button = new QPushButton(qs(c.text), parent);
    button->setAccessibleName(qs(c.text));
    return button;
}

QLabel* newControl(QLabel*, const layout::Control& c, QWidget* parent)
{
    auto* label = new QLabel(qs(c.text), parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(!c.sizedToText);
    label->setTextFormat(Qt::PlainText);
    return label;
}

PictureBox* newControl(PictureBox*, const layout::Control& c, QWidget* parent)
{
    auto* picture = new PictureBox(qs(c.text), parent);
    picture->setFocusPolicy(Qt::StrongFocus);
    // A Tab stop that a screen reader would otherwise call a frame, like a window.
    setAccessibleRole(picture, QAccessible::Graphic);
    picture->setAccessibleName(qs(c.toolTip).trimmed());
    return picture;
}

// The palette role a control draws its text in.
QPalette::ColorRole textRole(const QWidget* w)
{
    if (qobject_cast<const QPushButton*>(w))
        return QPalette::ButtonText;
    if (qobject_cast<const QLabel*>(w))
        return QPalette::WindowText;
    return QPalette::Text;
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
    ui_.result->setFocus(Qt::OtherFocusReason);
}

FrmZelm::~FrmZelm()
{
    // The controls lose the focus while they are destroyed; nothing is validated then.
    disconnect(focusWatch_);
}

void FrmZelm::createClientArea()
{
    ui_.client = new QWidget(this);
    ui_.client->setObjectName(QStringLiteral("client"));
    hostAnnouncements(ui_.client);
    ui_.client->setFixedSize(pixels(layout::kClientWidth), pixels(layout::kClientHeight));
    ui_.client->setAutoFillBackground(true);
    QPalette background = ui_.client->palette();
    background.setColor(QPalette::Window, rgb(layout::kBackground));
    ui_.client->setPalette(background);
    setCentralWidget(ui_.client);
}

void FrmZelm::createControls()
{
    createClientArea();
    QWidget* previous = nullptr;
    for (const layout::Control& c : layout::kControls) {
        QWidget* w = createControl(c);
        styleControl(w, c);
        if (w->focusPolicy() != Qt::NoFocus) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
            w->installEventFilter(this);
        }
    }
    // Drawn as the default button; Enter reaches it through eventFilter.
    ui_.ok->setDefault(true);
    nameFieldsByLabels();
    // Enter and Esc typed into a box's edit part must reach the window's keys first.
    ui_.breachRatio->lineEdit()->installEventFilter(this);
    ui_.waveFactor->lineEdit()->installEventFilter(this);
}

QWidget* FrmZelm::createControl(const layout::Control& c)
{
    return std::visit(
        [this, &c]<typename W>(W* Form::* member) -> QWidget* {
            W* w = newControl(static_cast<W*>(nullptr), c, ui_.client);
            w->setObjectName(qs(c.name));
            ui_.*member = w;
            return w;
        },
        c.member);
}

void FrmZelm::styleControl(QWidget* w, const layout::Control& c)
{
    w->setGeometry(pixelRect(c));
    if (c.pointSize > 0)
        w->setFont(formFont(c));
    if (c.textColour != layout::kSystemColour) {
        QPalette palette = w->palette();
        palette.setColor(textRole(w), rgb(c.textColour));
        w->setPalette(palette);
    }
    if (!c.toolTip.empty())
        w->setToolTip(qs(c.toolTip));
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        showSelection(edit, false);
    if (c.sizedToText) {
        auto* label = static_cast<QLabel*>(w);
        sizedToText_.append(label);
        fitToText(label);
        label->installEventFilter(this);
    }
}

// A screen reader announces each field by the caption beside it; a wrapped caption is one
// line there.
void FrmZelm::nameFieldsByLabels()
{
    for (const layout::FieldLabel& pair : layout::kFieldLabels) {
        QWidget* field = std::visit([this](auto member) -> QWidget* { return ui_.*member; }, pair.field);
        QLabel* label = ui_.*pair.label;
        label->setBuddy(field);
        const QString name = label->text().replace(QLatin1Char('\n'), QLatin1Char(' '));
        field->setAccessibleName(name);
        // On Linux a combo box reports its text as its name; its edit part carries the name.
        if (auto* combo = qobject_cast<QComboBox*>(field))
            combo->lineEdit()->setAccessibleName(name);
    }
    // Besides each result's announcement, the field says where the result is found.
    ui_.result->setAccessibleDescription(qs(layout::kResultDescription));
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
        if (e.command)
            commands_.*e.command = action;
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
    connect(ui_.ok, &QPushButton::clicked, this, [this] { run(&FrmZelm::OK_Click); });
    connect(ui_.exit, &QPushButton::clicked, this, [this] { run(&FrmZelm::Command2_Click); });

    const auto command = [this](QAction* action, void (FrmZelm::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
    };
    command(commands_.open, &FrmZelm::MnuFileOpen_Click);
    command(commands_.save, &FrmZelm::MnuFileSave_Click);
    command(commands_.print, &FrmZelm::MnuFilePrint_Click);
    command(commands_.exit, &FrmZelm::MnuFileCancel_Click);
    command(commands_.windowColour, &FrmZelm::MnuStroyColor_Click);
    command(commands_.titleFont, &FrmZelm::MnuFont_Click);
    command(commands_.cascade, &FrmZelm::mnuWindowCascade_Click);
    command(commands_.tileHorizontal, &FrmZelm::mnuWindowTileHorizontal_Click);
    command(commands_.tileVertical, &FrmZelm::mnuWindowTileVertical_Click);
    command(commands_.arrangeIcons, &FrmZelm::mnuWindowArrangeIcons_Click);
    command(commands_.helpSearch, &FrmZelm::mnuHelpSearch_Click);
    command(commands_.about, &FrmZelm::mnuHelpAbout_Click);

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
            ui_.ok->click();
        return true;
    case Qt::Key_Escape:
        ui_.exit->click();
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
    ui_.distance->setSelection(0, 3);
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
        .W = readNumber(ui_.volume->text()),
        .B = readNumber(ui_.damWidth->text()),
        .H = readNumber(ui_.depth->text()),
        .Q = readNumber(ui_.inflow->text()),
        .L = readNumber(ui_.distance->text()),
        .k = readNumber(ui_.breachRatio->currentText()),
        .K = readNumber(ui_.waveFactor->currentText()),
    };
    const auto discharge = calc::computeDischarge(in);
    if (!discharge)
        throw platform::RunTimeError(platform::describe(discharge.error()));
    showFromStart(ui_.result, QString::fromStdString(
        calc::formatResult(*discharge, decimalSeparator().toStdString())));
    // Heard wherever the focus is, unlike the text written into the result field.
    announce(ui_.client, ui_.result->text());
}

void FrmZelm::validateNumberField(QLineEdit* field)
{
    const double value = readNumber(field->text());
    showFromStart(field, QString::fromStdString(
        calc::formatNumber(value, decimalSeparator().toStdString())));
}

void FrmZelm::Text2_Validate(bool& /*cancel*/) { validateNumberField(ui_.volume); }
void FrmZelm::Text3_Validate(bool& /*cancel*/) { validateNumberField(ui_.damWidth); }
void FrmZelm::Text4_Validate(bool& /*cancel*/) { validateNumberField(ui_.depth); }
void FrmZelm::Text6_Validate(bool& /*cancel*/) { validateNumberField(ui_.inflow); }

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
    if (from == ui_.volume)
        validate = &FrmZelm::Text2_Validate;
    else if (from == ui_.damWidth)
        validate = &FrmZelm::Text3_Validate;
    else if (from == ui_.depth)
        validate = &FrmZelm::Text4_Validate;
    else if (from == ui_.inflow)
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
