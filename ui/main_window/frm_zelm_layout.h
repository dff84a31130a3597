#pragma once
// The calculator window declared once: every control with its place, size, font, colours,
// start text and tooltip, and the menu bar with captions and shortcut keys. FrmZelm builds
// itself from these tables and holds no other description of its look.
//
// Positions are in twips (1/1440 inch) from the top-left corner of the client area under
// the menu bar; 15 twips make one logical pixel.

#include <array>
#include <cstdint>
#include <string_view>

namespace ui::layout {

inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

inline constexpr int kClientWidth = 7365;  // twips
inline constexpr int kClientHeight = 5130; // twips
inline constexpr std::uint32_t kBackground = 0x00FF00; // RGB
inline constexpr std::string_view kTitle = "Зельм плотины";

enum class Kind { TextBox, ComboBox, Button, Label, Picture };

// A colour as 0xRRGGBB, or kSystemColour for the desktop's own.
inline constexpr std::uint32_t kSystemColour = 0xFFFFFFFFu;

struct Control {
    std::string_view name; // objectName
    Kind kind;
    std::string_view text; // caption or start text
    int left, top, width, height; // twips
    double pointSize;      // 0: no font of its own
    bool italic = false;
    std::uint32_t textColour = kSystemColour;
    std::string_view toolTip = {}; // empty: none
    bool readOnly = false;
    bool sizedToText = false; // takes the size its caption needs, again on a font change
};

// At most how many logical pixels nearer its left border a text box's text may start, so
// that a result of eight characters such as "1240.769" keeps its last digit clear of the
// right border (frm_zelm.cpp, fitTextMargins).
inline constexpr int kTextBoxMaxShift = 2;

// In tab order: every control that can take the focus, in this order, takes it by Tab.
inline constexpr std::array<Control, 22> kControls{{
    {"Text1", Kind::TextBox, "", 3720, 1080, 855, 375, 9.75, false, 0xFF0000,
     "Расход воды при зельме", true},
    {"Text2", Kind::TextBox, "", 360, 1080, 855, 375, 9.75, false, kSystemColour,
     "Объём водохранилища"},
    {"Text3", Kind::TextBox, "", 360, 1560, 855, 375, 9.75, false, kSystemColour,
     "Ширина плотины (м)"},
    {"Text4", Kind::TextBox, "", 360, 2040, 855, 375, 9.75, false, kSystemColour,
     "Глубина воды у основания плотины"},
    {"Text6", Kind::TextBox, "", 360, 2520, 855, 375, 9.75, false, kSystemColour,
     "Расход межени или боковых притоков на период зельма плотины."},
    {"Text7", Kind::TextBox, "500", 360, 3000, 855, 375, 9.75, false, kSystemColour,
     "Расстояние от плотины до объекта (м)"},
    {"Combo1", Kind::ComboBox, "0.50", 360, 3480, 855, 360, 9.75, false, kSystemColour,
     "Коэф.учитывающий отношение ширины зельма к ширине плотины."},
    {"Combo2", Kind::ComboBox, "1.00", 360, 3960, 855, 360, 9.75},
    {"OK", Kind::Button, "OK", 3720, 3840, 975, 495, 9.75},
    {"Command2", Kind::Button, "Выход", 6120, 3840, 975, 495, 9.75},
    {"Label1", Kind::Label, "Объём вод-ща (W), м.куб", 1320, 1080, 1440, 435, 8.25},
    {"Label2", Kind::Label, "Ширина плотины (B), м", 1320, 1560, 1455, 435, 8.25},
    // Two blanks between "(H)" and "у" are part of the caption.
    {"Label3", Kind::Label, "Глубина (H)  у основания", 1320, 2040, 1185, 435, 8.25},
    // The "k" is the Latin letter.
    {"Label4", Kind::Label, "для новых плотин k-0.50 для других k-0.75", 1320, 3480, 2340, 435,
     8.25},
    {"Label5", Kind::Label, "Ср.расход (Q) притока", 1320, 2520, 1305, 435, 8.25},
    {"Label6", Kind::Label, "Расстояние (L) до перехода, м", 1320, 3000, 1455, 435, 8.25},
    {"Label7", Kind::Label, "Коэф.условия прохождения волны", 1320, 3960, 1800, 435, 8.25},
    // The 19 trailing blanks belong to the title: the saved report repeats it as it stands.
    {"Label8", Kind::Label, "Расход воды от зельма плотины для створа                   ", 600,
     120, 7440, 300, 12, true, 0x0000FF, {}, false, true},
    {"Label9", Kind::Label, "Расход воды, м.куб/сек", 4680, 1080, 1575, 495, 8.25},
    {"Label23", Kind::Label, "© Зельм: расчёты гидросооружений, zelm@example.org", 840, 4800,
     5910, 240, 9.75, true, 0x0000FF, {}, false, true},
    {"Label10", Kind::Label, "перехода ниже плотины.", 1800, 480, 3300, 300, 12, true, 0x0000FF,
     {}, false, true},
    {"Picture1", Kind::Picture, ":/dam.bmp", 3720, 1560, 3375, 2055, 0, false, kSystemColour,
     "Верхний бьеф "},
}};

// The faces tried in order: the classic one where it exists, else a metric-compatible
// sans-serif that covers Cyrillic.
inline constexpr std::array<std::string_view, 3> kFontFamilies{"MS Sans Serif", "Liberation Sans",
                                                               "DejaVu Sans"};

// Which label names which field: a screen reader announces the field by its label.
struct FieldLabel {
    std::string_view field;
    std::string_view label;
};
inline constexpr std::array<FieldLabel, 8> kFieldLabels{{
    {"Text1", "Label9"},
    {"Text2", "Label1"},
    {"Text3", "Label2"},
    {"Text4", "Label3"},
    {"Text6", "Label5"},
    {"Text7", "Label6"},
    {"Combo1", "Label4"},
    {"Combo2", "Label7"},
}};

// What a screen reader says of the result field besides its name: it speaks no result
// written while the focus is elsewhere.
inline constexpr std::string_view kResultDescription =
    "Расход воды при зельме. Результат появляется здесь после OK или Enter; "
    "из поля W сюда ведёт Shift+Tab.";

// List items, in order; a box starts with the text of its row in kControls, not an item.
inline constexpr std::array<std::string_view, 3> kCombo1Items{"0.75", "0.50", "..."};
inline constexpr std::array<std::string_view, 6> kCombo2Items{"1.50", "1.25", "1.00",
                                                              "0.80", "0.50", "0.35"};

enum class Entry { Menu, Item, Separator };

struct MenuEntry {
    Entry entry;
    std::string_view name;     // objectName
    std::string_view caption;  // "&" marks the access key
    std::string_view shortcut = {}; // QKeySequence portable text
};

// The bar's menus, each followed by its entries in order.
inline constexpr std::array<MenuEntry, 19> kMenuBar{{
    {Entry::Menu, "MnyFile", "Файл"},
    {Entry::Item, "MnuFileOpen", "Открыть", "Ctrl+O"},
    {Entry::Item, "MnuFileSave", "Сохранить как...", "Ctrl+S"},
    {Entry::Item, "MnuFilePrint", "Печать в Word's", "Ctrl+P"},
    {Entry::Separator, "MnuFileProbel", "-"},
    {Entry::Item, "MnuFileCancel", "Выход", "F9"},
    {Entry::Menu, "MnuStroy", "&Настройки"},
    {Entry::Item, "MnuStroyColor", "Цвет окна", "Ctrl+F"},
    {Entry::Item, "MnuFont", "Шрифт Заголовка"},
    {Entry::Menu, "mnuWindow", "&Окно"},
    {Entry::Item, "mnuWindowCascade", "&Каскад"},
    {Entry::Item, "mnuWindowTileHorizontal", "По &Горизонтали"},
    {Entry::Item, "mnuWindowTileVertical", "По Вертикали"},
    {Entry::Item, "mnuWindowArrangeIcons", "Расположить Иконки"},
    {Entry::Separator, "mnuWindowBar1", "-"},
    {Entry::Menu, "mnuHelp", "Справка"},
    {Entry::Item, "mnuHelpSearch", "Информация"},
    {Entry::Separator, "mnuHelpBar1", "-"},
    {Entry::Item, "mnuHelpAbout", "О Программе...", "F1"},
}};

constexpr const Control* find(std::string_view name)
{
    for (const Control& c : kControls)
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace ui::layout
