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

// What a byte means to the record reader outside quotes.
constexpr unsigned char kOrdinary = 0;
constexpr unsigned char kSeparator = 1;
constexpr unsigned char kQuote = 2;
constexpr unsigned char kLineFeed = 3;
constexpr unsigned char kCarriageReturn = 4;

// The longest reason: a refused cell is shown cut to 40 characters.
constexpr std::size_t kReasonBytes = 512;

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

Batch::Batch(Encoding encoding, BatchLimits limits) : encoding_(encoding), limits_(limits)
{
    columns_.fill(-1);
    for (const char separator : kSeparators)
        kind_[static_cast<unsigned char>(separator)] = kSeparator;
    kind_['"'] = kQuote;
    kind_['\n'] = kLineFeed;
    kind_['\r'] = kCarriageReturn;
}

std::size_t Batch::read(std::string_view bytes, std::string& out)
{
    if (stopped_ || bytes.empty())
        return bytes.size();
    const std::size_t outAtStart = out.size();
    std::size_t start = joinLineFeedAfterCr(bytes, out);
    std::size_t i = skipByteOrderMark(bytes, start);
    // Locals, so that the compiler may keep them in registers over the bytes.
    State state = state_;
    bool crInside = crInside_;
    // A record reaching this index holds one byte more than its limit allows.
    std::size_t bound = start + (limits_.recordBytes - pending_.size()) + 1;
    for (;;) {
        const std::size_t end = std::min(bytes.size(), bound);
        i = scanToLineEnd(bytes, i, end, state, crInside);
        if (i == end) {
            state_ = state;
            crInside_ = crInside;
            if (i == bound)
                overflow();
            else
                pending_.append(bytes.substr(start));
            return bytes.size();
        }
        std::string_view record = bytes.substr(start, i - start);
        if (!pending_.empty()) {
            pending_.append(record);
            record = pending_;
        }
        const std::string_view ending = takeLineEnding(bytes, i);
        state_ = State::FieldStart;
        completeRecord(record, ending, false, out);
        pending_.clear();
        if (stopped_)
            return bytes.size();
        state = State::FieldStart;
        start = ++i;
        if (out.size() - outAtStart >= limits_.outputBytes) {
            crInside_ = false; // no quote is open between records
            return start;
        }
        bound = start + limits_.recordBytes + 1;
    }
}

// The last piece ended with a CR that ended a record: an LF opening this one belongs to
// that ending. Returns where this piece's bytes start.
std::size_t Batch::joinLineFeedAfterCr(std::string_view bytes, std::string& out)
{
    if (!afterCr_)
        return 0;
    afterCr_ = false;
    if (bytes[0] != '\n')
        return 0;
    out += '\n';
    return 1;
}

// A byte order mark opens no cell: a quote after it still opens one.
std::size_t Batch::skipByteOrderMark(std::string_view bytes, std::size_t i)
{
    for (; bomLeft_ > 0 && i < bytes.size(); ++i, --bomLeft_) {
        if (bytes[i] != kBom[kBom.size() - bomLeft_]) {
            if (bomLeft_ < kBom.size())
                state_ = State::Unquoted;
            bomLeft_ = 0;
            break;
        }
    }
    return i;
}

// Follows the quotes from i up to `end`; returns where a line ends outside quotes, or `end`.
std::size_t Batch::scanToLineEnd(std::string_view bytes, std::size_t i, std::size_t end, State& stateAt,
                                 bool& crInsideAt)
{
    // Locals again: through the references, every byte would go to memory and back.
    State state = stateAt;
    bool crInside = crInsideAt;
    for (; i < end; ++i) {
        const auto kind = kind_[static_cast<unsigned char>(bytes[i])];
        if (state == State::Quoted) {
            if (kind == kQuote)
                state = State::QuoteInQuoted;
            else if (kind == kCarriageReturn || (kind == kLineFeed && !crInside))
                ++linesInside_;
            crInside = kind == kCarriageReturn;
        } else if (kind == kOrdinary) {
            state = State::Unquoted;
        } else if (kind == kSeparator) {
            state = State::FieldStart;
        } else if (kind == kQuote) { // opens a cell, or after a closing quote stands for one
            if (state != State::Unquoted)
                state = State::Quoted;
        } else {
            break; // a line ends
        }
    }
    stateAt = state;
    crInsideAt = crInside;
    return i;
}

// The line ending at i, which is left on its last byte.
std::string_view Batch::takeLineEnding(std::string_view bytes, std::size_t& i)
{
    if (bytes[i] != '\r')
        return "\n";
    // An LF after the CR belongs to the same ending; in the next piece, it is written when
    // that piece comes.
    const bool lineFeed = i + 1 < bytes.size() && bytes[i + 1] == '\n';
    afterCr_ = i + 1 == bytes.size();
    i += lineFeed ? 1 : 0;
    return lineFeed ? "\r\n" : "\r";
}

// The record being read is past its limit: what it is, is known by where its limit fell.
void Batch::overflow()
{
    const std::size_t limit = limits_.recordBytes;
    const std::string size = limit % (1u << 20) == 0 ? std::to_string(limit >> 20) + " МиБ"
                                                       : std::to_string(limit) + " байт";
    fail("строка " + std::to_string(line_) +
         (state_ == State::Quoted ? ": кавычка не закрыта — ячейка в кавычках тянется дальше " + size
                                  : ": строка длиннее " + size));
    pending_.clear();
    pending_.shrink_to_fit();
}

void Batch::finish(std::string& out)
{
    if (!stopped_ && !pending_.empty())
        completeRecord(pending_, "", state_ == State::Quoted, out);
    pending_.clear();
    state_ = State::FieldStart;
    if (!stopped_ && !headerRead_)
        fail("строка " + std::to_string(line_) + ": нет заголовка — " +
             (records_ == 0 ? "ввод пуст" : "в вводе одни пустые строки"));
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
    if (!stopReason_.empty())
        all.push_back(stopReason_);
    return all;
}

void Batch::fail(std::string message)
{
    stopped_ = true;
    stopReason_ = std::move(message);
}

void Batch::completeRecord(std::string_view record, std::string_view ending, bool unclosed, std::string& out)
{
    const bool first = records_ == 0;
    ++records_;
    // A blank line is no row: it goes back as it came, and only counts as a line.
    if (record.empty() || (first && record == kBom)) {
        out.append(record).append(ending);
    } else if (headerRead_) {
        readRow(record, ending, unclosed, out);
    } else {
        readHeader(record, ending, unclosed, out);
    }
    line_ += 1 + linesInside_;
    linesInside_ = 0;
}

// Splits a record into cells, keeping the first `kept` of them; returns how many it has.
// A quote opens a quoted part only at the start of a cell; from its closing quote on, the
// cell runs to the next separator as it stands.
std::size_t Batch::splitCells(std::string_view record, char separator, std::size_t kept)
{
    cells_.clear();
    std::size_t count = 0;
    for (std::size_t i = 0;; ++i) {
        const std::size_t cellStart = i;
        if (i < record.size() && record[i] == '"') {
            for (i = record.find('"', i + 1); i < record.size() && i + 1 < record.size() && record[i + 1] == '"';)
                i = record.find('"', i + 2); // a doubled quote stands for one
            i = std::min(i, record.size());
        }
        i = std::min(record.find(separator, i), record.size());
        if (count++ < kept)
            cells_.push_back(record.substr(cellStart, i - cellStart));
        if (i == record.size())
            return count;
    }
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
    const std::string where = "строка " + std::to_string(line_) + ": ";
    // Read whole, the rest of the table would be taken for the header's last cell.
    if (unclosed) {
        fail(where + "кавычка не закрыта до конца ввода");
        return;
    }
    // The mark belongs to the file, not to the first column's name; it is written back all
    // the same.
    std::string_view names = record;
    if (records_ == 1 && names.starts_with(kBom))
        names.remove_prefix(kBom.size());
    const HeaderSearch search = searchHeader(names);
    if (const std::string fault = headerFault(search); !fault.empty()) {
        fail(where + fault);
        return;
    }
    adoptHeader(search);
    const std::string errorName = encoding_ == Encoding::Cp1251 ? text::utf8ToCp1251("Ошибка") : "Ошибка";
    writeRowEnd(record, false, headerCells_, "R", errorName, ending, out);
}

// Separators are tried in turn; the search ends at the first that finds W, B, H and Q,
// holding it, or else the one that found most of them.
Batch::HeaderSearch Batch::searchHeader(std::string_view names)
{
    HeaderSearch search;
    for (const char separator : kSeparators) {
        const std::size_t count = splitCells(names, separator, limits_.headerCells);
        if (count > limits_.headerCells) {
            search.tooWide = true;
            continue;
        }
        const HeaderColumns columns = namedColumns();
        if (columns.required > search.best.required || search.best.required == 0) {
            search.best = columns;
            search.separator = separator;
            search.cells = count;
        }
        if (columns.required == kRequiredInputs)
            break;
    }
    return search;
}

// Which of the cells just split are headed by the names of the inputs.
Batch::HeaderColumns Batch::namedColumns()
{
    HeaderColumns columns;
    columns.cells.fill(-1);
    for (std::size_t cell = 0; cell < cells_.size(); ++cell) {
        const std::string_view name = trimmed(cellValue(cell));
        for (std::size_t c = 0; c < kInputNames.size(); ++c) {
            if (name != kInputNames[c])
                continue;
            if (columns.cells[c] >= 0)
                columns.twice = kInputNames[c];
            columns.cells[c] = static_cast<long>(cell);
        }
    }
    columns.required = static_cast<std::size_t>(std::count_if(
        columns.cells.begin(), columns.cells.begin() + kRequiredInputs, [](long cell) { return cell >= 0; }));
    return columns;
}

// Why the header cannot head the table, or nothing.
std::string Batch::headerFault(const HeaderSearch& search) const
{
    if (search.best.required == kRequiredInputs)
        return search.best.twice.empty() ? ""
                                         : "столбец " + std::string(search.best.twice) + " назван в заголовке дважды";
    if (search.tooWide)
        return "в заголовке больше " + std::to_string(limits_.headerCells) + " ячеек";
    std::vector<std::string_view> missing;
    for (std::size_t c = 0; c < kRequiredInputs; ++c)
        if (search.best.cells[c] < 0)
            missing.push_back(kInputNames[c]);
    return "в заголовке нет " + std::string(missing.size() > 1 ? "столбцов " : "столбца ") + joined(missing) +
           " (нужны имена W, B, H, Q через «;», «,» или табуляцию)";
}

void Batch::adoptHeader(const HeaderSearch& search)
{
    headerRead_ = true;
    separator_ = search.separator;
    headerCells_ = search.cells;
    columns_ = search.best.cells;
    for (const char separator : kSeparators)
        kind_[static_cast<unsigned char>(separator)] = separator == separator_ ? kSeparator : kOrdinary;
    // A "," table cannot hold a decimal comma outside quotes; ";" and tab tables are what
    // spreadsheets in a Russian locale write, with decimal commas.
    decimalCommaTaken_ = separator_ != ',';
}

void Batch::readRow(std::string_view record, std::string_view ending, bool unclosed, std::string& out)
{
    // Past the header's width a row is refused anyway: its cells are counted, not kept.
    const std::size_t cells = splitCells(record, separator_, headerCells_ + 1);

    std::string error;
    if (unclosed)
        error = "кавычка не закрыта до конца ввода";
    else if (cells > headerCells_)
        error = "ячеек " + std::to_string(cells) + ", а столбцов в заголовке " + std::to_string(headerCells_);

    std::array<double, 7> value = kStartValues;
    Mark mark = Mark::None;
    for (std::size_t c = 0; c < kInputNames.size() && error.empty(); ++c) {
        if (columns_[c] < 0)
            continue;
        const auto cell = static_cast<std::size_t>(columns_[c]);
        const std::string_view text = cell < cells ? cellValue(cell) : std::string_view();
        const NumberCell read = readNumberCell(text, decimalCommaTaken_, encoding_);
        if (read.verdict != NumberCell::Verdict::Number)
            error = describeRefusal(kInputNames[c], text, read.verdict, encoding_);
        value[c] = read.value;
        if (read.mark == ',')
            mark = Mark::Comma;
        else if (read.mark == '.' && mark == Mark::None)
            mark = Mark::Point;
    }

    std::string result;
    if (error.empty()) {
        // A row of whole numbers writes R as the rows before it wrote theirs, or as the
        // table's separator suggests: a spreadsheet reads a point in a ";" table as text.
        if (mark != Mark::None)
            tableMark_ = mark;
        else
            mark = tableMark_ != Mark::None ? tableMark_ : decimalCommaTaken_ ? Mark::Comma : Mark::Point;
        const auto discharge = calc::computeDischarge(dischargeInputs(value));
        if (discharge)
            result = calc::formatResult(*discharge, mark == Mark::Comma ? "," : ".");
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

std::size_t Batch::heldBytes() const
{
    return pending_.capacity() + unquoted_.capacity() + cells_.capacity() * sizeof(std::string_view);
}

// A record comes out as it came, with its missing cells, a closing quote, the two added
// cells and its line ending; a reason is a short line, its quotes doubled at most.
std::size_t Batch::outputBound() const
{
    return limits_.outputBytes + limits_.recordBytes + limits_.headerCells + 2 * kReasonBytes;
}

// A string grows by doubling: the record waiting for its end, and a quoted cell's copy,
// each to twice the record's limit at most; the cells to twice the header's.
std::size_t Batch::memoryBound() const
{
    return 4 * limits_.recordBytes + 2 * (limits_.headerCells + 1) * sizeof(std::string_view);
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
