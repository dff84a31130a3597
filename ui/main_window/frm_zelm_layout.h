#pragma once
// The calculator window declared once: every control with the member that holds it, its
// objectName, place, size, font, colours, start text and tooltip, and the menu bar with
// captions, shortcut keys and the member that holds each command. FrmZelm builds itself
// from these tables and holds no other description of its look.
//
// Positions are in twips (1/1440 inch) from the top-left corner of the client area under
// the menu bar (ui/form_metrics.h turns them into pixels).

#include "calc/discharge.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {
class PictureBox;
}

namespace ui::layout {

inline constexpr int kClientWidth = 7365;  // twips
inline constexpr int kClientHeight = 5130; // twips
inline constexpr std::uint32_t kBackground = 0x00FF00; // RGB
inline constexpr std::string_view kTitle = "Зельм плотины";

// The controls by what they hold; kControls binds each to its objectName.
struct Form {
    QWidget* client = nullptr; // the client area under the menu bar; carries the colour
    QLineEdit* result = nullptr;
    QLineEdit* volume = nullptr;     // W
    QLineEdit* damWidth = nullptr;   // B
    QLineEdit* depth = nullptr;      // H
    QLineEdit* inflow = nullptr;     // Q
    QLineEdit* distance = nullptr;   // L
    QComboBox* breachRatio = nullptr; // k
    QComboBox* waveFactor = nullptr;  // K
    QPushButton* ok = nullptr;
    QPushButton* exit = nullptr;
    QLabel* volumeLabel = nullptr;
    QLabel* damWidthLabel = nullptr;
    QLabel* depthLabel = nullptr;
    QLabel* breachRatioLabel = nullptr;
    QLabel* inflowLabel = nullptr;
    QLabel* distanceLabel = nullptr;
    QLabel* waveFactorLabel = nullptr;
    QLabel* title = nullptr;
    QLabel* resultLabel = nullptr;
    QLabel* notice = nullptr;
    QLabel* subtitle = nullptr;
    PictureBox* picture = nullptr;
};

// The member a control is created into; its type says what the control is.
using Member = std::variant<QLineEdit* Form::*, QComboBox* Form::*, QPushButton* Form::*,
                            QLabel* Form::*, PictureBox* Form::*>;

// A colour as 0xRRGGBB, or kSystemColour for the desktop's own.
inline constexpr std::uint32_t kSystemColour = 0xFFFFFFFFu;

struct Control {
    Member member;
    std::string_view name; // objectName
    std::string_view text; // caption, start text, or a picture's resource
    int left, top, width, height; // twips
    double pointSize;      // 0: no font of its own
    bool italic = false;
    std::uint32_t textColour = kSystemColour;
    std::string_view toolTip = {}; // empty: none
    bool readOnly = false;
    bool sizedToText = false; // takes the size its caption needs, again on a font change
    std::span<const std::string_view> items = {}; // a combo box's list, in order
};

// At most how many logical pixels nearer its left border a text box's text may start, so
// that a result of eight characters such as "1240.769" keeps its last digit clear of the
// right border (frm_zelm.cpp, fitTextMargins).
inline constexpr int kTextBoxMaxShift = 2;

// The combo boxes' lists, in order; a box starts with the text of its row in kControls,
// not an item.
inline constexpr std::array<std::string_view, 3> kCombo1Items{"0.75", "0.50", "..."};
inline constexpr std::array<std::string_view, 6> kCombo2Items{"1.50", "1.25", "1.00",
                                                              "0.80", "0.50", "0.35"};

// In tab order: every control that can take the focus, in this order, takes it by Tab.
inline constexpr std::array<Control, 22> kControls{{
    {&Form::result, "Text1", "", 3720, 1080, 855, 375, 9.75, false, 0xFF0000,
     "Расход воды при зельме", true},
    {&Form::volume, "Text2", calc::input("W").startText, 360, 1080, 855, 375, 9.75,
     false, kSystemColour, "Объём водохранилища"},
    {&Form::damWidth, "Text3", calc::input("B").startText, 360, 1560, 855, 375, 9.75,
     false, kSystemColour, "Ширина плотины (м)"},
    {&Form::depth, "Text4", calc::input("H").startText, 360, 2040, 855, 375, 9.75,
     false, kSystemColour, "Глубина воды у основания плотины"},
    {&Form::inflow, "Text6", calc::input("Q").startText, 360, 2520, 855, 375, 9.75,
     false, kSystemColour, "Расход межени или боковых притоков на период зельма плотины."},
    {&Form::distance, "Text7", calc::input("L").startText, 360, 3000, 855, 375, 9.75,
     false, kSystemColour, "Расстояние от плотины до объекта (м)"},
    {&Form::breachRatio, "Combo1", calc::input("k").startText, 360, 3480, 855, 360, 9.75,
     false, kSystemColour, "Коэф.учитывающий отношение ширины зельма к ширине плотины.", false,
     false, kCombo1Items},
    {&Form::waveFactor, "Combo2", calc::input("K").startText, 360, 3960, 855, 360, 9.75,
     false, kSystemColour, {}, false, false, kCombo2Items},
    {&Form::ok, "OK", "OK", 3720, 3840, 975, 495, 9.75},
    {&Form::exit, "Command2", "Выход", 6120, 3840, 975, 495, 9.75},
    {&Form::volumeLabel, "Label1", "Объём вод-ща (W), м.куб", 1320, 1080, 1440, 435, 8.25},
    {&Form::damWidthLabel, "Label2", "Ширина плотины (B), м", 1320, 1560, 1455, 435, 8.25},
    // Two blanks between "(H)" and "у" are part of the caption.
    {&Form::depthLabel, "Label3", "Глубина (H)  у основания", 1320, 2040, 1185, 435, 8.25},
    // The "k" is the Latin letter.
    {&Form::breachRatioLabel, "Label4", "для новых плотин k-0.50 для других k-0.75", 1320, 3480, 2340, 435,
     8.25},
    {&Form::inflowLabel, "Label5", "Ср.расход (Q) притока", 1320, 2520, 1305, 435, 8.25},
    {&Form::distanceLabel, "Label6", "Расстояние (L) до перехода, м", 1320, 3000, 1455, 435, 8.25},
    {&Form::waveFactorLabel, "Label7", "Коэф.условия прохождения волны", 1320, 3960, 1800, 435, 8.25},
    // The 19 trailing blanks belong to the title: the saved report repeats it as it stands.
    {&Form::title, "Label8", "Расход воды от зельма плотины для створа                   ", 600,
     120, 7440, 300, 12, true, 0x0000FF, {}, false, true},
    {&Form::resultLabel, "Label9", "Расход воды, м.куб/сек", 4680, 1080, 1575, 495, 8.25},
    {&Form::notice, "Label23", "© Зельм: расчёты гидросооружений, zelm@example.org", 840, 4800,
     5910, 240, 9.75, true, 0x0000FF, {}, false, true},
    {&Form::subtitle, "Label10", "перехода ниже плотины.", 1800, 480, 3300, 300, 12, true, 0x0000FF,
     {}, false, true},
    {&Form::picture, "Picture1", ":/dam.bmp", 3720, 1560, 3375, 2055, 0, false, kSystemColour,
     "Верхний бьеф "},
}};

// Which label names which field: a screen reader announces the field by its label.
struct FieldLabel {
    Member field;
    QLabel* Form::* label;
};
inline constexpr std::array<FieldLabel, 8> kFieldLabels{{
    {&Form::result, &Form::resultLabel},
    {&Form::volume, &Form::volumeLabel},
    {&Form::damWidth, &Form::damWidthLabel},
    {&Form::depth, &Form::depthLabel},
    {&Form::inflow, &Form::inflowLabel},
    {&Form::distance, &Form::distanceLabel},
    {&Form::breachRatio, &Form::breachRatioLabel},
    {&Form::waveFactor, &Form::waveFactorLabel},
}};

// What a screen reader says of the result field besides its name: it speaks no result
// written while the focus is elsewhere.
inline constexpr std::string_view kResultDescription =
    "Расход воды при зельме. Результат появляется здесь после OK или Enter; "
    "из поля W сюда ведёт Shift+Tab.";

enum class Entry { Menu, Item, Separator };

// The menu commands by what they do; kMenuBar binds each to its objectName.
struct Commands {
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* print = nullptr;
    QAction* exit = nullptr;
    QAction* windowColour = nullptr;
    QAction* titleFont = nullptr;
    QAction* cascade = nullptr;
    QAction* tileHorizontal = nullptr;
    QAction* tileVertical = nullptr;
    QAction* arrangeIcons = nullptr;
    QAction* helpSearch = nullptr;
    QAction* about = nullptr;
};

struct MenuEntry {
    Entry entry;
    QAction* Commands::* command; // an item's; none for a menu or a separator
    std::string_view name;     // objectName
    std::string_view caption;  // "&" marks the access key
    std::string_view shortcut = {}; // QKeySequence portable text
};

// The bar's menus, each followed by its entries in order.
inline constexpr std::array<MenuEntry, 19> kMenuBar{{
    {Entry::Menu, nullptr, "MnyFile", "Файл"},
    {Entry::Item, &Commands::open, "MnuFileOpen", "Открыть", "Ctrl+O"},
    {Entry::Item, &Commands::save, "MnuFileSave", "Сохранить как...", "Ctrl+S"},
    {Entry::Item, &Commands::print, "MnuFilePrint", "Печать в Word's", "Ctrl+P"},
    {Entry::Separator, nullptr, "MnuFileProbel", "-"},
    {Entry::Item, &Commands::exit, "MnuFileCancel", "Выход", "F9"},
    {Entry::Menu, nullptr, "MnuStroy", "&Настройки"},
    {Entry::Item, &Commands::windowColour, "MnuStroyColor", "Цвет окна", "Ctrl+F"},
    {Entry::Item, &Commands::titleFont, "MnuFont", "Шрифт Заголовка"},
    {Entry::Menu, nullptr, "mnuWindow", "&Окно"},
    {Entry::Item, &Commands::cascade, "mnuWindowCascade", "&Каскад"},
    {Entry::Item, &Commands::tileHorizontal, "mnuWindowTileHorizontal", "По &Горизонтали"},
    {Entry::Item, &Commands::tileVertical, "mnuWindowTileVertical", "По Вертикали"},
    {Entry::Item, &Commands::arrangeIcons, "mnuWindowArrangeIcons", "Расположить Иконки"},
    {Entry::Separator, nullptr, "mnuWindowBar1", "-"},
    {Entry::Menu, nullptr, "mnuHelp", "Справка"},
    {Entry::Item, &Commands::helpSearch, "mnuHelpSearch", "Информация"},
    {Entry::Separator, nullptr, "mnuHelpBar1", "-"},
    {Entry::Item, &Commands::about, "mnuHelpAbout", "О Программе...", "F1"},
}};

// Each member of Form and Commands is bound by exactly one row: none is left null, none is
// created twice.
constexpr bool bindsEachControlOnce()
{
    for (std::size_t i = 0; i < kControls.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (kControls[j].member == kControls[i].member)
                return false;
    return sizeof(Form) == (1 + kControls.size()) * sizeof(void*); // the client area too
}
static_assert(bindsEachControlOnce());

constexpr bool bindsEachCommandOnce()
{
    std::size_t items = 0;
    for (std::size_t i = 0; i < kMenuBar.size(); ++i) {
        if ((kMenuBar[i].entry == Entry::Item) != (kMenuBar[i].command != nullptr))
            return false;
        if (!kMenuBar[i].command)
            continue;
        ++items;
        for (std::size_t j = 0; j < i; ++j)
            if (kMenuBar[j].command == kMenuBar[i].command)
                return false;
    }
    return sizeof(Commands) == items * sizeof(QAction*);
}
static_assert(bindsEachCommandOnce());

} // namespace ui::layout
