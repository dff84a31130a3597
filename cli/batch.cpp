#include "cli/batch.h"

#include "calc/discharge.h"
#include "calc/number_text.h"
#include "cli/inputs.h"
#include "cli/number_cell.h"
#include "text/code_page_1251.h"
#include "text/fault_text.h"

#include <algorithm>
#include <utility>

namespace cli {

namespace {

// Separators are tried in this order; the first that finds W, B, H and Q is the table's.
constexpr std::array<char, 3> kSeparators = {';', '\t', ','};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Enough to show what goes wrong without flooding a terminal.
constexpr std::size_t kMessagesKept = 10;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::string joined(const std::vector<std::string_view>& names)
{
    std::string text;
    for (const auto name : names)
        text.append(text.empty() ? "" : ", ").append(name);
    return text;
}

} // namespace

Batch::Batch(Encoding encoding) : encoding_(encoding)
{
    columns_.fill(-1);
    for (const char separator : kSeparators)
        separates_[static_cast<unsigned char>(separator)] = true;
}

void Batch::read(std::string_view bytes, std::string& out)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size() && !stopped_; ++i) {
        const char c = bytes[i];
        switch (state_) {
        case State::Quoted:
            if (c == '"')
                state_ = State::QuoteInQuoted;
            else if (c == '\n')
                ++linesInside_;
            continue;
        case State::FieldStart:
            if (c == '"') {
                state_ = State::Quoted;
                continue;
            }
            break;
        case State::QuoteInQuoted:
            if (c == '"') { // a doubled quote stands for one
                state_ = State::Quoted;
                continue;
            }
            break;
        case State::Unquoted:
            break;
        }
        if (c != '\n') {
            state_ = separates_[static_cast<unsigned char>(c)] ? State::FieldStart : State::Unquoted;
            continue;
        }
        std::string_view record = bytes.substr(start, i - start);
        if (!pending_.empty()) {
            pending_.append(record);
            record = pending_;
        }
        std::string_view ending = "\n";
        if (record.ends_with('\r')) {
            record.remove_suffix(1);
            ending = "\r\n";
        }
        completeRecord(record, ending, false, out);
        pending_.clear();
        start = i + 1;
        state_ = State::FieldStart;
    }
    if (!stopped_)
        pending_.append(bytes.substr(start));
}

void Batch::finish(std::string& out)
{
    if (!stopped_ && !pending_.empty())
        completeRecord(pending_, "", state_ == State::Quoted, out);
    pending_.clear();
    state_ = State::FieldStart;
    if (!stopped_ && !headerRead_)
        fail("строка 1: нет заголовка — ввод пуст");
}

int Batch::status() const
{
    if (stopped_)
        return 2;
    return failedRows_ > 0 ? 1 : 0;
}

std::vector<std::string> Batch::messages() const
{
    std::vector<std::string> all = messages_;
    if (failedRows_ > messages_.size())
        all.push_back("и ещё строк с ошибкой: " + std::to_string(failedRows_ - messages_.size()));
    return all;
}

void Batch::fail(std::string message)
{
    stopped_ = true;
    messages_.push_back(std::move(message));
}

void Batch::completeRecord(std::string_view record, std::string_view ending, bool unclosed, std::string& out)
{
    ++records_;
    if (headerRead_)
        readRow(record, ending, unclosed, out);
    else
        readHeader(record, ending, unclosed, out);
    line_ += 1 + linesInside_;
    linesInside_ = 0;
}

void Batch::splitCells(std::string_view record, char separator)
{
    cells_.clear();
    std::size_t start = 0;
    State state = State::FieldStart;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        switch (state) {
        case State::FieldStart:
            state = c == '"' ? State::Quoted : State::Unquoted;
            break;
        case State::Quoted:
            if (c == '"')
                state = State::QuoteInQuoted;
            continue;
        case State::QuoteInQuoted:
            state = c == '"' ? State::Quoted : State::Unquoted;
            break;
        case State::Unquoted:
            break;
        }
        if (c == separator && state != State::Quoted) {
            cells_.push_back(record.substr(start, i - start));
            start = i + 1;
            state = State::FieldStart;
        }
    }
    cells_.push_back(record.substr(start));
}

// A quoted cell without its quotes, a doubled quote as one; what stands after the closing
// quote is kept as it is, since a cell is refused by what it holds, not by its spelling.
std::string_view Batch::cellValue(std::size_t cell)
{
    const std::string_view raw = cells_[cell];
    if (!raw.starts_with('"'))
        return raw;
    unquoted_.clear();
    for (std::size_t i = 1; i < raw.size(); ++i) {
        if (raw[i] != '"') {
            unquoted_ += raw[i];
        } else if (i + 1 < raw.size() && raw[i + 1] == '"') {
            unquoted_ += '"';
            ++i;
        } else {
            unquoted_.append(raw.substr(i + 1));
            break;
        }
    }
    return unquoted_;
}

void Batch::readHeader(std::string_view record, std::string_view ending, bool unclosed, std::string& out)
{
    // The mark belongs to the file, not to the first column's name; it is written back all
    // the same.
    std::string_view names = record;
    if (names.starts_with(kBom))
        names.remove_prefix(kBom.size());

    std::array<long, 7> best{};
    std::size_t bestFound = 0;
    std::string_view duplicate;
    bool chosen = false;
    for (const char separator : kSeparators) {
        splitCells(names, separator);
        std::array<long, 7> columns;
        columns.fill(-1);
        std::string_view twice;
        for (std::size_t cell = 0; cell < cells_.size(); ++cell) {
            const std::string_view name = trimmed(cellValue(cell));
            for (std::size_t c = 0; c < kInputNames.size(); ++c) {
                if (name != kInputNames[c])
                    continue;
                if (columns[c] >= 0)
                    twice = kInputNames[c];
                columns[c] = static_cast<long>(cell);
            }
        }
        const auto found = static_cast<std::size_t>(std::count_if(
            columns.begin(), columns.begin() + kRequiredInputs, [](long cell) { return cell >= 0; }));
        if (found > bestFound || bestFound == 0) {
            best = columns;
            bestFound = found;
        }
        if (found == kRequiredInputs) {
            separator_ = separator;
            headerCells_ = cells_.size();
            columns_ = columns;
            duplicate = twice;
            chosen = true;
            break;
        }
    }
    if (!chosen) {
        std::vector<std::string_view> missing;
        for (std::size_t c = 0; c < kRequiredInputs; ++c)
            if (best[c] < 0)
                missing.push_back(kInputNames[c]);
        fail("строка 1: в заголовке нет " + std::string(missing.size() > 1 ? "столбцов " : "столбца ") +
             joined(missing) + " (нужны имена W, B, H, Q через «;», «,» или табуляцию)");
        return;
    }
    if (!duplicate.empty()) {
        fail("строка 1: столбец " + std::string(duplicate) + " назван в заголовке дважды");
        return;
    }
    headerRead_ = true;
    separates_.fill(false);
    separates_[static_cast<unsigned char>(separator_)] = true;
    // A "," table cannot hold a decimal comma outside quotes; ";" and tab tables are what
    // spreadsheets in a Russian locale write, with decimal commas.
    decimalCommaTaken_ = separator_ != ',';
    const std::string errorName = encoding_ == Encoding::Cp1251 ? text::utf8ToCp1251("Ошибка") : "Ошибка";
    writeRowEnd(record, unclosed, headerCells_, "R", errorName, ending, out);
}

void Batch::readRow(std::string_view record, std::string_view ending, bool unclosed, std::string& out)
{
    splitCells(record, separator_);
    const std::size_t cells = cells_.size();

    std::string error;
    if (record.empty())
        error = "пустая строка";
    else if (unclosed)
        error = "кавычка не закрыта до конца ввода";
    else if (cells > headerCells_)
        error = "ячеек " + std::to_string(cells) + ", а столбцов в заголовке " + std::to_string(headerCells_);

    std::array<double, 7> value = kStartValues;
    bool decimalComma = false;
    for (std::size_t c = 0; c < kInputNames.size() && error.empty(); ++c) {
        if (columns_[c] < 0)
            continue;
        const auto cell = static_cast<std::size_t>(columns_[c]);
        const std::string_view text = cell < cells ? cellValue(cell) : std::string_view();
        const NumberCell read = readNumberCell(text, decimalCommaTaken_, encoding_);
        if (read.verdict != NumberCell::Verdict::Number)
            error = describeRefusal(kInputNames[c], text, read.verdict, encoding_);
        value[c] = read.value;
        decimalComma = decimalComma || read.decimalComma;
    }

    std::string result;
    if (error.empty()) {
        const auto discharge = calc::computeDischarge(dischargeInputs(value));
        if (discharge)
            result = calc::formatResult(*discharge, decimalComma ? "," : ".");
        else
            error = text::describe(discharge.error());
    }
    if (error.empty()) {
        writeRowEnd(record, unclosed, cells, result, "", ending, out);
        return;
    }
    ++failedRows_;
    if (messages_.size() < kMessagesKept)
        messages_.push_back("строка " + std::to_string(line_) + ": " + error);
    writeRowEnd(record, unclosed, cells, "",
                encoding_ == Encoding::Cp1251 ? text::utf8ToCp1251(error) : error, ending, out);
}

// The record as it came, its missing cells as empty ones so that R stays under its name,
// then the two added cells and the record's own line ending. A quote left open at the
// end of the input is closed, or the added cells would be read as part of it.
void Batch::writeRowEnd(std::string_view record, bool unclosed, std::size_t cells, std::string_view result,
                        std::string_view error, std::string_view ending, std::string& out) const
{
    out.append(record);
    if (unclosed)
        out += '"';
    if (cells < headerCells_)
        out.append(headerCells_ - cells, separator_);
    out += separator_;
    out.append(result);
    out += separator_;
    const auto needsQuotes = [&](char c) { return c == separator_ || c == '"' || c == '\r' || c == '\n'; };
    if (std::none_of(error.begin(), error.end(), needsQuotes)) {
        out.append(error);
    } else {
        out += '"';
        for (const char c : error) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out.append(ending);
}

} // namespace cli
