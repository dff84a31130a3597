#include "cli/command_line.h"

#include "calc/discharge.h"
#include "calc/number_text.h"
#include "cli/inputs.h"
#include "cli/number_cell.h"
#include "text/fault_text.h"

#include <array>
#include <utility>

namespace cli {

namespace {

constexpr std::string_view kUsage = "Использование: zelm-calc W B H Q [L [k [K]]]\n"
                                    "               zelm-calc --batch [ФАЙЛ]\n"
                                    "Подробнее: zelm-calc --help\n";

Command command(Command::Kind kind)
{
    Command c;
    c.kind = kind;
    return c;
}

Command wrong(std::string problem)
{
    Command c;
    c.problem = std::move(problem);
    return c;
}

} // namespace

Command readCommandLine(std::span<const std::string_view> arguments)
{
    bool batch = false;
    bool optionsEnded = false;
    std::vector<std::string_view> operands;
    for (const std::string_view argument : arguments) {
        if (!optionsEnded) {
            if (argument == "--") {
                optionsEnded = true;
                continue;
            }
            if (argument == "--help" || argument == "-h")
                return command(Command::Kind::Help);
            if (argument == "--batch") {
                batch = true;
                continue;
            }
            // Whatever the window reads as a number is one: "-5", "-.5", "- 5". Only text
            // that no reading takes and that looks like an option is named as one; "-"
            // alone is standard input or a refused number.
            if (argument.size() > 1 && argument[0] == '-' &&
                readNumberCell(argument, false, Encoding::Utf8).verdict == NumberCell::Verdict::NotANumber)
                return wrong("неизвестный ключ «" + std::string(argument) + "»");
        }
        operands.push_back(argument);
    }
    if (batch) {
        if (operands.size() > 1)
            return wrong("после --batch нужен один файл, не больше");
        Command c = command(Command::Kind::Batch);
        if (!operands.empty())
            c.file = operands[0];
        return c;
    }
    if (operands.size() < kRequiredInputs || operands.size() > kInputNames.size())
        return wrong("нужно от 4 до 7 чисел, а дано " + std::to_string(operands.size()));
    Command c = command(Command::Kind::Calculate);
    c.numbers = std::move(operands);
    return c;
}

Outcome calculate(std::span<const std::string_view> numbers)
{
    std::array<double, 7> value = kStartValues;
    Outcome outcome;
    for (std::size_t i = 0; i < numbers.size() && i < kInputNames.size(); ++i) {
        const NumberCell read = readNumberCell(numbers[i], false, Encoding::Utf8);
        if (read.verdict == NumberCell::Verdict::Number)
            value[i] = read.value;
        else
            outcome.err +=
                "zelm-calc: " + describeRefusal(kInputNames[i], numbers[i], read.verdict, Encoding::Utf8) +
                "\n";
    }
    if (!outcome.err.empty()) {
        outcome.status = 2;
        return outcome;
    }
    const auto discharge = calc::computeDischarge(dischargeInputs(value));
    if (!discharge) {
        outcome.err = "zelm-calc: " + std::string(text::describe(discharge.error())) + "\n";
        outcome.status = 1;
        return outcome;
    }
    outcome.out = calc::formatResult(*discharge, ".") + "\n";
    return outcome;
}

Outcome wrongUse(std::string_view problem)
{
    Outcome outcome;
    outcome.err = "zelm-calc: " + std::string(problem) + "\n" + std::string(kUsage);
    outcome.status = 2;
    return outcome;
}

std::string_view helpText()
{
    // Each line fits an 80-column console, which wraps a line of 80 with an empty one.
    return "zelm-calc — расход воды, дошедший до створа перехода после прорыва (зельма)\n"
           "плотины.\n"
           "\n"
           "Использование:\n"
           "  zelm-calc W B H Q [L [k [K]]]   один расчёт; результат — в стандартный вывод\n"
           "  zelm-calc --batch [ФАЙЛ]        расчёт по таблице (без ФАЙЛА или с «-» —\n"
           "                                  стандартный ввод)\n"
           "  zelm-calc --help                эта справка\n"
           "\n"
           "  R = H^1.5·B·W·k / (H^1.5·k·B·L·K + W) + Q\n"
           "\n"
           "  W  объём водохранилища, м³\n"
           "  B  ширина плотины, м\n"
           "  H  глубина воды у основания плотины, м\n"
           "  Q  средний расход притока, м³/с\n"
           "  L  расстояние от плотины до перехода, м; по умолчанию 500\n"
           "  k  отношение ширины прорыва к ширине плотины: 0.50 для новых плотин,\n"
           "     0.75 для других; по умолчанию 0.50\n"
           "  K  коэффициент условий прохождения волны; по умолчанию 1.00\n"
           "  R  расход воды в створе перехода, м³/с, с тремя знаками после точки\n"
           "\n"
           "Числа читаются как в окне программы, но целиком: десятичный разделитель —\n"
           "точка, группы цифр можно разделять пробелами. «-5» — отрицательное число;\n"
           "«--» заканчивает ключи.\n"
           "\n"
           "Таблица: первая строка — заголовок с именами столбцов W, B, H, Q и, если нужно,\n"
           "L, k, K в любом порядке (k и K различаются), через «;», «,» или табуляцию;\n"
           "кавычки — по RFC 4180. В таблице через «;» или табуляцию можно писать\n"
           "десятичную запятую. Кодировка — UTF-8 или Windows-1251. Таблица выводится\n"
           "как была, с двумя новыми столбцами: R и «Ошибка».\n"
           "\n"
           "Код завершения:\n"
           "  0  расчёт выполнен (в таблице — для всех строк)\n"
           "  1  ошибка вычисления (в таблице — хотя бы в одной строке; все строки\n"
           "     всё равно выведены)\n"
           "  2  неверные аргументы или непригодный ввод\n"
           "\n"
           "Пример:\n"
           "  $ zelm-calc 1000000 100 16 10 500 0.50 1.00\n"
           "  1240.769\n";
}

} // namespace cli
