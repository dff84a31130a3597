#pragma once
// The About dialog declared once: each control with the member that holds it, its
// objectName, text, place and size in twips (ui/form_metrics.h turns them into pixels).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

class QFrame;
class QLabel;
class QPushButton;

namespace ui::about_layout {

inline constexpr int kClientWidth = 5730;  // twips
inline constexpr int kClientHeight = 3555; // twips
// Where the stored position puts the client area, from the top-left of the screen.
inline constexpr int kLeft = 2340; // twips
inline constexpr int kTop = 1935;  // twips
inline constexpr double kPointSize = 8.25; // the dialog's own font

// The controls by what they hold; kControls binds each to its objectName.
struct Form {
    QPushButton* ok = nullptr;
    QLabel* logo = nullptr;
    QLabel* series = nullptr;
    QLabel* version = nullptr;
    QLabel* description = nullptr;
    QFrame* greyStroke = nullptr;
    QFrame* whiteStroke = nullptr;
    QLabel* disclaimer = nullptr;
};

// The member a control is created into; its type says what the control is. A frame is
// one stroke of an etched line: a strip filled with its colour, from left to left + width
// with both ends drawn, height twips thick.
using Member = std::variant<QPushButton* Form::*, QLabel* Form::*, QFrame* Form::*>;

inline constexpr std::uint32_t kSystemColour = 0xFFFFFFFFu;

struct Control {
    Member member;
    std::string_view name; // objectName
    std::string_view text;
    int left, top, width, height; // twips; a width of 0 takes the size of the contents
    std::uint32_t colour = kSystemColour; // 0xRRGGBB of a label's text or a stroke's strip
    double pointSize = 0;  // bold at this size, or 0 for the dialog's font
    bool wordWrap = false;
};

// In creation order; cmdOK first, the only control that takes the focus.
inline constexpr std::array<Control, 8> kControls{{
    {&Form::ok, "cmdOK", "OK", 2160, 3000, 1260, 345, kSystemColour, 9.75},
    // A picture box sized to its 118 × 45 picture inside a 2-pixel sunken border.
    {&Form::logo, "picIcon", ":/about_logo.bmp", 120, 120, 0, 0},
    {&Form::series, "Label1", "Серия: Тарвел-ГС", 2160, 120, 2295, 255},
    {&Form::version, "lblVersion", "Version", 2160, 480, 3885, 225},
    {&Form::description, "lblDescription",
     "Программа предназначена для расчета расхода воды от зельма плотины до места перехода и "
     "является составной частью программы \"Tarvel\".",
     1050, 1125, 3885, 1170, 0x000000, 0, true},
    // Line1: an etched separator, a grey stroke over a white one, from x 90 and 105 to 5654.
    {&Form::greyStroke, "Line1_1", "", 90, 2445, 5654 - 90, 15, 0x808080},
    {&Form::whiteStroke, "Line1_0", "", 105, 2460, 5654 - 105, 30, 0xFFFFFF},
    {&Form::disclaimer, "lblDisclaimer", "© 2026 Разработчики программы «Зельм». Все права защищены.",
     135, 2625, 5430, 225, 0x000000},
}};

inline constexpr std::string_view kLogoName = "Логотип серии программ Тарвел";

// Each member of Form is bound by exactly one row.
constexpr bool bindsEachControlOnce()
{
    for (std::size_t i = 0; i < kControls.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (kControls[j].member == kControls[i].member)
                return false;
    return sizeof(Form) == kControls.size() * sizeof(void*);
}
static_assert(bindsEachControlOnce());

} // namespace ui::about_layout
