// zelm-calc run as a user runs it: the built program with arguments and standard input,
// its standard output, standard error and exit status compared whole.
#include "calc/discharge.h"
#include "calc/number_text.h"
#include "cli/command_line.h"
#include "tests/cli/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        {"a minus and a blank before a number is a number", {"1000000", "100", "16", "- 5"}, "1225.769\n", "",
         0},
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
        {"K beyond the double range, which would leave R = Q", words("1000000 100 16 10 500 0.5 1e400"), "",
         "zelm-calc: Ошибка вычисления: переполнение.\n", 1},
        {"too few", words("1 2 3"), "", "zelm-calc: нужно от 4 до 7 чисел, а дано 3\n" + kUsage, 2},
        {"too many", words("1 2 3 4 5 6 7 8"), "",
         "zelm-calc: нужно от 4 до 7 чисел, а дано 8\n" + kUsage, 2},
        {"none", {}, "", "zelm-calc: нужно от 4 до 7 чисел, а дано 0\n" + kUsage, 2},
        {"unknown option", words("-x 1 2 3 4"), "", "zelm-calc: неизвестный ключ «-x»\n" + kUsage, 2},
        {"two files for a batch", words("--batch a b"), "",
         "zelm-calc: после --batch нужен один файл, не больше\n" + kUsage, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Finished run = runZelmCalc(row.arguments);
        EXPECT_EQ(run.out, throughFile(row.out));
        EXPECT_EQ(run.err, throughFile(row.err));
        EXPECT_EQ(run.status, row.status);
    }
}

// What help must tell: the formula, the seven arguments, and an example that is true.
TEST(OneCalculation, HelpGivesTheFormulaTheArgumentsAndATrueExample)
{
    for (const auto& asked : {words("1 --help"), words("-h")}) {
        const Finished run = runZelmCalc(asked);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("R = H^1.5·B·W·k / (H^1.5·k·B·L·K + W) + Q"), std::string::npos);
        EXPECT_NE(run.out.find("zelm-calc W B H Q [L [k [K]]]"), std::string::npos);
        for (const char* name : {"W", "B", "H", "Q", "L", "k", "K"})
            EXPECT_NE(run.out.find("\n  " + std::string(name) + "  "), std::string::npos) << name;
        // Read back from a file in the system's code page, every character is still there or
        // stands in readably, and every line fits an 80-column console.
        EXPECT_EQ(run.out.find('?'), std::string::npos);
        std::istringstream text(run.out);
        for (std::string line; std::getline(text, line);) {
            const auto characters = std::count_if(line.begin(), line.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            });
            EXPECT_LE(characters, 79) << line;
        }
        const std::size_t example = run.out.find("$ zelm-calc ");
        ASSERT_NE(example, std::string::npos);
        std::istringstream lines(run.out.substr(example + 2));
        std::string command;
        std::string result;
        std::getline(lines, command);
        std::getline(lines, result);
        const auto arguments = words(command);
        EXPECT_EQ(runZelmCalc({arguments.begin() + 1, arguments.end()}).out, words(result).at(0) + "\n");
    }
}

// ---- Tables ---------------------------------------------------------------------------

// Each case is a file NAME.csv in the cases folder and the table expected from it,
// NAME.expected.csv (absent when nothing is written).
TEST(Batch, WritesTheExpectedTable)
{
    const std::string cp1251Refusals =
        "zelm-calc: строка 3: W: «1 000 000 м3» — не число\n"
        // Every letter of the code page, as an independent codec reads it.
        "zelm-calc: строка 4: W: «ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—™љ›њќћџ\u00A0» — не число\n"
        "zelm-calc: строка 5: W: «ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕїА» — не число\n"
        "zelm-calc: строка 6: W: «БВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯа» — не число\n"
        "zelm-calc: строка 7: W: «бвгдежзийклмнопрстуфхцчшщъыьэюя» — не число\n";
    enum class From { File, Pipe, PipeAsDash };
    const struct {
        const char* name;
        int status;
        std::string err;
        From from = From::File;
    } rows[] = {
        {"semicolon_decimal_comma", 0, ""},
        {"comma", 0, ""},
        {"tab", 0, "", From::PipeAsDash},
        {"cp1251_from_a_pipe", 1, cp1251Refusals, From::Pipe},
        {"quoted_cells", 1, "zelm-calc: строка 5: k: «0,75» — не число (десятичный разделитель — точка)\n"},
        {"cp1251", 1, cp1251Refusals},
        {"bom", 0, ""},
        {"bom_multiline_header", 0, ""},
        {"extra_columns_any_order", 0, ""},
        {"bad_cells", 1,
         "zelm-calc: строка 3: H: «шестнадцать» — не число\nzelm-calc: строка 4: Q: пусто — не число\n"
         "zelm-calc: строка 5: B: пусто — не число\n"
         "zelm-calc: строка 7: ячеек 5, а столбцов в заголовке 4\n"
         "zelm-calc: строка 9: H: «16\"» — не число\n"
         // Cut after 40 characters, not bytes: an odd ASCII prefix puts a byte cut mid-letter.
         "zelm-calc: строка 10: Q: «xжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжж…» — не число\n"
         "zelm-calc: строка 11: W: «1,2.3» — не число\nzelm-calc: строка 12: W: «&H» — не число\n"
         "zelm-calc: строка 13: W: «-» — не число\nzelm-calc: строка 14: W: «1e» — не число\n"
         "zelm-calc: и ещё строк с ошибкой: 2\n"},
        {"fault", 1, "zelm-calc: строка 3: Ошибка вычисления: деление на ноль.\n"},
        {"no_header", 2,
         "zelm-calc: строка 1: в заголовке нет столбца Q "
         "(нужны имена W, B, H, Q через «;», «,» или табуляцию)\n"},
        {"no_names", 2,
         "zelm-calc: строка 1: в заголовке нет столбцов W, B, H, Q "
         "(нужны имена W, B, H, Q через «;», «,» или табуляцию)\n"},
        // Read with ";" and with "," alike: ";" comes first.
        {"separator_preference", 0, ""},
        // "1"6 reads 16, a doubled quote is no cell's end, and a lone tab is an empty cell.
        {"cell_spellings", 1, "zelm-calc: строка 3: B: пусто — не число\n"},
        {"duplicate_column", 2, "zelm-calc: строка 1: столбец k назван в заголовке дважды\n"},
        {"empty", 2, "zelm-calc: строка 1: нет заголовка — ввод пуст\n", From::Pipe},
        // One blank line is no empty input.
        {"one_blank_line", 2, "zelm-calc: строка 2: нет заголовка — в вводе одни пустые строки\n"},
        {"crlf", 0, ""},
        // A CR LF inside a quoted cell is one line break, not two.
        {"crlf_line_break_in_cell", 1, "zelm-calc: строка 4: Q: «x» — не число\n"},
        {"bare_cr", 0, ""},
        {"blank_lines", 1, "zelm-calc: строка 6: Q: «x» — не число\n"},
        {"whole_numbers", 0, ""},
        {"whole_numbers_comma_table", 0, ""},
        {"unclosed_quote", 1, "zelm-calc: строка 3: кавычка не закрыта до конца ввода\n"},
        // Once went wrong: the rest of the table became the header's last cell, and no row
        // was computed with exit status 0.
        {"header_unclosed_quote", 2, "zelm-calc: строка 1: кавычка не закрыта до конца ввода\n"},
    };
    const fs::path cases = ZELM_CLI_CASES;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // A case read from a pipe may share its files with the case read from a file.
        const std::string stem = std::string(row.name).substr(0, std::string(row.name).find("_from_a_pipe"));
        const fs::path input = cases / (stem + ".csv");
        const fs::path expected = cases / (stem + ".expected.csv");
        ASSERT_TRUE(fs::exists(input));
        const Finished run = row.from == From::File   ? runZelmCalc({"--batch", input.string()})
                             : row.from == From::Pipe ? runZelmCalc({"--batch"}, readFile(input))
                                                      : runZelmCalc({"--batch", "-"}, readFile(input));
        EXPECT_EQ(run.out, fs::exists(expected) ? readFile(expected) : "");
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.status, row.status);
    }
}

TEST(Batch, NamesAFileItCannotRead)
{
    const Finished run = runZelmCalc({"--batch", "/nonexistent/таблица.csv"});
    EXPECT_EQ(run.err, "zelm-calc: не удалось прочитать «/nonexistent/таблица.csv»: нет такого файла или папки\n");
    EXPECT_EQ(run.status, 2);
}

// The encoding is the whole input's where it can be read twice, and the first
// mebibyte's otherwise; where that mebibyte ends inside a letter, the letter still counts
// as UTF-8. "Ошибка" in the header comes out in the encoding judged.
TEST(Batch, JudgesTheEncodingAcrossTheFirstMebibyte)
{
    constexpr std::size_t mebibyte = 1 << 20;
    std::string utf8Pipe = "W;B;H;Q;Примечание\n";
    while (utf8Pipe.size() < mebibyte - 100)
        utf8Pipe += "1000000;100;16;10;мост\n";
    utf8Pipe += "1000000;100;16;10;";
    utf8Pipe.append(mebibyte - 1 - utf8Pipe.size(), 'x');
    utf8Pipe += "ж\n"; // its first byte is the mebibyte's last
    std::string cp1251File = "W;B;H;Q;Note\n";
    while (cp1251File.size() <= mebibyte)
        cp1251File += "1000000;100;16;10;bridge\n";
    cp1251File += "1000000;100;16;10;\xEC\xEE\xF1\xF2\n"; // "мост"
    const struct {
        const char* name;
        std::string table;
        bool fromPipe;
        std::string header;
    } rows[] = {
        {"UTF-8 through a pipe", utf8Pipe, true, "W;B;H;Q;Примечание;R;Ошибка\n"},
        {"code page 1251 after the first mebibyte of a file", cp1251File, false,
         "W;B;H;Q;Note;R;\xCE\xF8\xE8\xE1\xEA\xE0\n"},
        // E0 80 80 would be an overlong form: "аЂЂ" in code page 1251.
        {"a lead byte E0 before 80 80", "W;B;H;Q;Note\n1000000;100;16;10;\xE0\x80\x80\n", false,
         "W;B;H;Q;Note;R;\xCE\xF8\xE8\xE1\xEA\xE0\n"},
        // ED A0 80 would encode a UTF-16 surrogate, which UTF-8 forbids.
        {"a lead byte ED before A0 80", "W;B;H;Q;Note\n1000000;100;16;10;\xED\xA0\x80\n", false,
         "W;B;H;Q;Note;R;\xCE\xF8\xE8\xE1\xEA\xE0\n"},
        // A pipe read to its end is judged whole: its last byte "Р" starts no letter.
        {"a short pipe ending in a lead byte", "W;B;H;Q;Note\n1000000;100;16;10;\xD0", true,
         "W;B;H;Q;Note;R;\xCE\xF8\xE8\xE1\xEA\xE0\n"},
    };
    const fs::path file = fs::temp_directory_path() / ("zelm-calc-encoding-" + std::to_string(::getpid()));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(file, row.table);
        const Finished run = row.fromPipe ? runZelmCalc({"--batch"}, row.table) : runZelmCalc({"--batch", file.string()});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), row.header);
    }
    fs::remove(file);
}

// The input is read in blocks of 1 MiB: a line ending whose CR is a block's last byte
// still ends one line, and the rows after it keep their numbers.
TEST(Batch, CountsLinesAcrossItsBlocks)
{
    constexpr std::size_t mebibyte = 1 << 20;
    for (const std::string ending : {"\r\n", "\r"}) {
        SCOPED_TRACE(ending.size() == 2 ? "CR LF" : "CR");
        std::string table = "W;B;H;Q" + ending;
        int lines = 1;
        for (; table.size() < mebibyte - 100; ++lines)
            table += "1000000;100;16;10" + ending;
        // Blanks after Q put this row's CR at the block's end.
        table += "1000000;100;16;10";
        table.append(mebibyte - 1 - table.size(), ' ');
        table += ending + "1000000;100;16;10" + ending + "x;100;16;10" + ending;
        const Finished run = runZelmCalc({"--batch"}, table);
        EXPECT_EQ(run.err, "zelm-calc: строка " + std::to_string(lines + 3) + ": W: «x» — не число\n");
        EXPECT_EQ(run.status, 1);
    }
}

// A record has a limit of 1 MiB: past it, the reading ends with the rows before it written.
// Both tables come as endless streams do, through a pipe.
TEST(Batch, StopsAtARecordPastItsLimit)
{
    constexpr std::size_t mebibyte = 1 << 20;
    const std::string head = "W;B;H;Q\n1000000;100;16;10\n";
    std::string strayQuote = head + "1000000;100;16;\"10\n";
    while (strayQuote.size() < 2 * mebibyte)
        strayQuote += "1000000;100;16;10\n";
    const struct {
        const char* name;
        std::string table;
        std::string err;
    } rows[] = {
        {"a stray quote", strayQuote,
         "zelm-calc: строка 3: кавычка не закрыта — ячейка в кавычках тянется дальше 1 МиБ\n"},
        {"a line of separators", head + std::string(2 * mebibyte, ';') + "\n",
         "zelm-calc: строка 3: строка длиннее 1 МиБ\n"},
        {"one byte over", head + std::string(mebibyte + 1, ';') + "\n",
         "zelm-calc: строка 3: строка длиннее 1 МиБ\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Finished run = runZelmCalc({"--batch"}, row.table);
        EXPECT_EQ(run.out, "W;B;H;Q;R;Ошибка\n1000000;100;16;10;1240,769;\n");
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.status, 2);
    }
    // The rows before it are counted apart from the reason the reading ended.
    std::string failedRows = "W;B;H;Q\n";
    std::string err;
    for (int row = 2; row < 14; ++row) {
        failedRows += "x;100;16;10\n";
        if (row < 12)
            err += "zelm-calc: строка " + std::to_string(row) + ": W: «x» — не число\n";
    }
    const Finished afterFailures = runZelmCalc({"--batch"}, failedRows + std::string(mebibyte + 1, ';'));
    EXPECT_EQ(afterFailures.err, err + "zelm-calc: и ещё строк с ошибкой: 2\n"
                                       "zelm-calc: строка 14: строка длиннее 1 МиБ\n");
    EXPECT_EQ(afterFailures.status, 2);
    // At the limit a record is read: here it has too many cells.
    const Finished atLimit = runZelmCalc({"--batch"}, head + std::string(mebibyte, ';') + "\n");
    EXPECT_EQ(atLimit.status, 1);
    EXPECT_EQ(atLimit.err, "zelm-calc: строка 3: ячеек " + std::to_string(mebibyte + 1) +
                               ", а столбцов в заголовке 4\n");
}

// A header has a limit of 16384 cells, as many columns as a spreadsheet has.
TEST(Batch, RefusesAHeaderWiderThanItsLimit)
{
    std::string widest = "W;B;H;Q";
    for (int cell = 4; cell < 16384; ++cell)
        widest += ";x";
    const struct {
        const char* name;
        std::string header;
        int status;
        std::string err;
    } rows[] = {
        {"at the limit", widest, 0, ""},
        {"one cell past it", widest + ";x", 2, "zelm-calc: строка 1: в заголовке больше 16384 ячеек\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Finished run = runZelmCalc({"--batch"}, row.header + "\n1000000;100;16;10\n");
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.out.empty(), row.status == 2);
    }
}

// For valid inputs written the ways a table may write them, each row's R is the single
// calculation's result and the core's, with the row's decimal mark, or the last row's when
// it has none, or the comma of a ";" table when no row had one yet.
TEST(Batch, AgreesWithOneCalculationAndTheCore)
{
    std::mt19937_64 random(20261207);
    const auto between = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    std::string table = "W;B;H;Q;L;k;K\n";
    std::vector<std::vector<std::string>> rows;
    std::vector<char> marks; // the decimal mark of each row's R
    char lastMark = ',';
    for (int i = 0; i < 60; ++i) {
        const double values[7] = {between(1, 1e9),  between(1, 2000), between(0, 60), between(-50, 500),
                                  between(0, 50000), between(0, 1),   between(0, 2)};
        std::vector<std::string> texts;
        char mark = 0;
        for (int c = 0; c < 7; ++c) {
            char text[40];
            std::snprintf(text, sizeof text, "%.*g", 1 + static_cast<int>(random() % 15), values[c]);
            texts.emplace_back(text);
            std::string cell = text;
            if (random() % 2 == 1 && cell.find('.') != std::string::npos) {
                cell.replace(cell.find('.'), 1, ",");
                mark = ',';
            } else if (cell.find('.') != std::string::npos && mark == 0) {
                mark = '.';
            }
            table += cell + (c < 6 ? ";" : "\n");
        }
        rows.push_back(texts);
        lastMark = mark == 0 ? lastMark : mark;
        marks.push_back(lastMark);
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
        EXPECT_EQ(r, calc::formatResult(*core, std::string(1, marks[written])));
        if (marks[written] == ',')
            r.replace(r.find(','), 1, ".");
        EXPECT_EQ(runZelmCalc(t).out, r + "\n");
    }
    EXPECT_EQ(written, rows.size());
}

} // namespace
