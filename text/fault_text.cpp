#include "text/fault_text.h"

namespace text {

std::string_view describe(calc::Fault fault)
{
    switch (fault) {
    case calc::Fault::InvalidOperation:
        return "Ошибка вычисления: недопустимая операция "
               "(например, 0/0 или дробная степень отрицательного числа).";
    case calc::Fault::DivisionByZero:
        return "Ошибка вычисления: деление на ноль.";
    case calc::Fault::Overflow:
        return "Ошибка вычисления: переполнение.";
    }
    return "Ошибка вычисления.";
}

} // namespace text
