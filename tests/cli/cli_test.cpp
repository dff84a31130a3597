// zelm-calc run as a user runs it: the built program with arguments and standard input,
// its standard output, standard error and exit status compared whole.
#include "calc/discharge.h"
#include "calc/number_text.h"
#include "cli/command_line.h"
#include "tests/cli/run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Standard output holds a batch's table, byte for byte, and otherwise a text for the user.
Finished runZelmCalc(const std::vector<std::string>& arguments, const std::string& input = "")
{
    Finished run = runProgram(ZELM_CALC, arguments, input);
    run.err = userText(run.err);
    if (arguments.empty() || arguments.front() != "--batch")
        run.out = userText(run.out);
    return run;
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

const std::string kUsage = "Использование: zelm-calc W B H Q [L [k [K]]]\n"
                           "               zelm-calc --batch [ФАЙЛ]\n"
                           "Подробнее: zelm-calc --help\n";
const std::string kInvalid = "zelm-calc: Ошибка вычисления: недопустимая операция "
                             "(например, 0/0 или дробная степень отрицательного числа).\n";

// ---- One calculation ------------------------------------------------------------------

TEST(OneCalculation, AnswersEachArgumentList)
{
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::string out;
        std::string err;
        int status;
    } rows[] = {
        {"worked example", words("1000000 100 16 10 500 0.50 1.00"), "1240.769\n", "", 0},
        {"L, k and K default to the window's", words("1000000 100 16 10"), "1240.769\n", "", 0},
        {"groups of digits: blank, U+00A0, U+202F", {"1 000 000", "1\u00A000", "1\u202F6", "10"},
         "1240.769\n", "", 0},
        {"L = 0: the whole breach discharge", words("1000000 100 16 10 0"), "3210.000\n", "", 0},
        {"a minus before a digit is a number", words("1000000 100 16 -5000"), "-3769.231\n", "", 0},
        {"a minus before a point is a number", words("1000000 100 16 -.5 0"), "3199.500\n", "", 0},
        {"-- ends the options", words("-- 1000000 100 16 10"), "1240.769\n", "", 0},
        {"decimal comma refused with a hint", words("1000000 100 16 10 500 0,5"), "",
         "zelm-calc: k: «0,5» — не число (десятичный разделитель — точка)\n", 2},
        {"a unit after the number refused", {"1000000", "100", "16", "10", "500 м"}, "",
         "zelm-calc: L: «500 м» — не число\n", 2},
        {"every refused argument named", {"", "100", "16", "abc"}, "",
         "zelm-calc: W: пусто — не число\nzelm-calc: Q: «abc» — не число\n", 2},
        {"reading stopping at a second period", words("1.2.3 100 16 10"), "",
         "zelm-calc: W: «1.2.3» — не число\n", 2},
        {"all zero: 0/0", words("0 0 0 0"), "", kInvalid, 1},
        {"negative depth", words("1000000 100 -16 10"), "", kInvalid, 1},
        {"zero denominator", words("-1600000 100 16 10"), "",
         "zelm-calc: Ошибка вычисления: деление на ноль.\n", 1},
        {"a number beyond the double range", words("1e400 100 16 10"), "",
         "zelm-calc: Ошибка вычисления: переполнение.\n", 1},
        {"too few", words("1 2 3"), "", "zelm-calc: нужно от 4 до 7 чисел, а дано 3\n" + kUsage, 2},
        {"too many", words("1 2 3 4 5 6 7 8"), "",
         "zelm-calc: нужно от 4 до 7 чисел, а дано 8\n" + kUsage, 2},
        {"none", {}, "", "zelm-calc: нужно от 4 до 7 чисел, а дано 0\n" + kUsage, 2},
        {"unknown option", words("-x 1 2 3 4"), "", "zelm-calc: неизвестный ключ «-x»\n" + kUsage, 2},
        {"two files for a batch", words("--batch a b"), "",
         "zelm-calc: после --batch нужен один файл, не больше\n" + kUsage, 2},
        {"help", words("1 --help"), std::string(cli::helpText()), "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Finished run = runZelmCalc(row.arguments);
        EXPECT_EQ(run.out, throughFile(row.out));
        EXPECT_EQ(run.err, throughFile(row.err));
        EXPECT_EQ(run.status, row.status);
    }
}

// ---- Tables ---------------------------------------------------------------------------

// Each case is a file NAME.csv in the cases folder and the table expected from it,
// NAME.expected.csv (absent when nothing is written).
TEST(Batch, WritesTheExpectedTable)
{
    const struct {
        const char* name;
        int status;
        std::string err;
        bool fromStandardInput = false;
    } rows[] = {
        {"semicolon_decimal_comma", 0, ""},
        {"comma", 0, ""},
        {"tab", 0, "", true},
        {"cp1251_from_a_pipe", 1, "zelm-calc: строка 3: W: «1 000 000 м3» — не число\n", true},
        {"quoted_cells", 1, "zelm-calc: строка 5: k: «0,75» — не число (десятичный разделитель — точка)\n"},
        {"cp1251", 1, "zelm-calc: строка 3: W: «1 000 000 м3» — не число\n"},
        {"bom", 0, ""},
        {"extra_columns_any_order", 0, ""},
        {"bad_cells", 1,
         "zelm-calc: строка 3: H: «шестнадцать» — не число\nzelm-calc: строка 4: Q: пусто — не число\n"
         "zelm-calc: строка 5: B: пусто — не число\nzelm-calc: строка 6: пустая строка\n"
         "zelm-calc: строка 7: ячеек 5, а столбцов в заголовке 4\n"},
        {"fault", 1, "zelm-calc: строка 3: Ошибка вычисления: деление на ноль.\n"},
        {"no_header", 2,
         "zelm-calc: строка 1: в заголовке нет столбца Q "
         "(нужны имена W, B, H, Q через «;», «,» или табуляцию)\n"},
        {"duplicate_column", 2, "zelm-calc: строка 1: столбец k назван в заголовке дважды\n"},
        {"empty", 2, "zelm-calc: строка 1: нет заголовка — ввод пуст\n", true},
        {"crlf", 0, ""},
        {"unclosed_quote", 1, "zelm-calc: строка 3: кавычка не закрыта до конца ввода\n"},
    };
    const fs::path cases = ZELM_CLI_CASES;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // A case read from a pipe may share its files with the case read from a file.
        const std::string stem = std::string(row.name).substr(0, std::string(row.name).find("_from_a_pipe"));
        const fs::path input = cases / (stem + ".csv");
        const fs::path expected = cases / (stem + ".expected.csv");
        ASSERT_TRUE(fs::exists(input));
        const Finished run = row.fromStandardInput ? runZelmCalc({"--batch"}, readFile(input))
                                              : runZelmCalc({"--batch", input.string()});
        EXPECT_EQ(run.out, fs::exists(expected) ? readFile(expected) : "");
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.status, row.status);
    }
}

TEST(Batch, NamesAFileItCannotRead)
{
    const Finished run = runZelmCalc({"--batch", "/nonexistent/таблица.csv"});
    EXPECT_EQ(run.err, "zelm-calc: не удалось прочитать «/nonexistent/таблица.csv»: файл не найден\n");
    EXPECT_EQ(run.status, 2);
}

// For valid inputs written the ways a table may write them, each row's R is the single
// calculation's result and the core's, with the row's decimal mark.
TEST(Batch, AgreesWithOneCalculationAndTheCore)
{
    std::mt19937_64 random(20261207);
    const auto between = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    std::string table = "W;B;H;Q;L;k;K\n";
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> commaRows; // rows written with decimal commas
    for (int i = 0; i < 60; ++i) {
        const double values[7] = {between(1, 1e9),  between(1, 2000), between(0, 60), between(-50, 500),
                                  between(0, 50000), between(0, 1),   between(0, 2)};
        std::vector<std::string> texts;
        bool comma = false;
        for (int c = 0; c < 7; ++c) {
            char text[40];
            std::snprintf(text, sizeof text, "%.*g", 1 + static_cast<int>(random() % 15), values[c]);
            texts.emplace_back(text);
            std::string cell = text;
            if (random() % 2 == 1 && cell.find('.') != std::string::npos) {
                cell.replace(cell.find('.'), 1, ",");
                comma = true;
            }
            table += cell + (c < 6 ? ";" : "\n");
        }
        rows.push_back(texts);
        commaRows.push_back(comma);
    }
    const fs::path file = fs::temp_directory_path() / ("zelm-calc-property-" + std::to_string(::getpid()));
    writeFile(file, table);
    const Finished batch = runZelmCalc({"--batch", file.string()});
    fs::remove(file);
    ASSERT_EQ(batch.status, 0) << batch.err;

    std::istringstream lines(batch.out);
    std::string line;
    std::getline(lines, line); // the header
    std::size_t written = 0;
    for (; written < rows.size() && std::getline(lines, line); ++written) {
        const auto& t = rows[written];
        SCOPED_TRACE(line);
        // The row ends with ";R;" and an empty Ошибка.
        ASSERT_TRUE(line.ends_with(';'));
        const std::size_t start = line.rfind(';', line.size() - 2) + 1;
        std::string r = line.substr(start, line.size() - 1 - start);
        const auto core = calc::computeDischarge(
            {.W = calc::parseNumber(t[0]), .B = calc::parseNumber(t[1]), .H = calc::parseNumber(t[2]),
             .Q = calc::parseNumber(t[3]), .L = calc::parseNumber(t[4]), .k = calc::parseNumber(t[5]),
             .K = calc::parseNumber(t[6])});
        ASSERT_TRUE(core.has_value());
        EXPECT_EQ(r, calc::formatResult(*core, commaRows[written] ? "," : "."));
        if (commaRows[written])
            r.replace(r.find(','), 1, ".");
        EXPECT_EQ(runZelmCalc(t).out, r + "\n");
    }
    EXPECT_EQ(written, rows.size());
}

} // namespace
