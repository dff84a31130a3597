#pragma once
// The batch table of zelm-calc: a header naming the columns W, B, H, Q and optionally L,
// k, K, in any order, then one calculation per row. Every input cell and line ending is
// written back as it came, with two columns added: "R", the result in "0.000" form with
// the table's decimal mark, and "Ошибка", the reason a row could not be computed. Blank
// lines are written back as they came, without the two cells.
//
// The input is read piece by piece and every record is written as soon as it is
// complete. Records follow RFC 4180 (quoted cells may hold separators, quotes and line
// breaks) and end with LF, CR LF or a lone CR. A record and a header have a limit, so
// memory stays within memoryBound() whatever the input holds: a record past its limit
// ends the reading, with the records before it written.

#include "cli/encoding.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct BatchLimits {
    std::size_t recordBytes = std::size_t{1} << 20; // one record, its line ending aside
    std::size_t headerCells = 16384;                // as many columns as a spreadsheet has
    // What one call of read() appends before it returns: a wide header pads each short
    // row with empty cells, so a little input can make much output.
    std::size_t outputBytes = std::size_t{1} << 20;
};

class Batch {
public:
    explicit Batch(Encoding encoding, BatchLimits limits = {});

    // Reads the next piece of the input and appends to `out` the records it completes.
    // Once it has appended the limit's worth of output it stops after a record, and says
    // how many bytes it read: the caller writes `out` away and gives it the rest again.
    std::size_t read(std::string_view bytes, std::string& out);
    // Ends the input: the last record, when no line ending closed it.
    void finish(std::string& out);

    // The input cannot be used from here on: nothing more is read. When the header was the
    // cause, nothing but blank lines was written.
    bool stopped() const { return stopped_; }
    // 0 every row computed, 1 some row failed (every row still written), 2 the input
    // cannot be used.
    int status() const;
    // Records read so far, the header and blank lines among them.
    std::size_t records() const { return records_; }
    // For standard error, in UTF-8: each failure with its line number, the first few of
    // them, how many there were beyond, and why the reading ended early, if it did.
    std::vector<std::string> messages() const;

    // What the reader holds on the heap for the records, and what the limits allow it to
    // come to. The messages are a few short lines besides.
    std::size_t heldBytes() const;
    std::size_t memoryBound() const;
    // The most one call of read() appends.
    std::size_t outputBound() const;

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    enum class Mark { None, Point, Comma };
    // What one separator makes of the header.
    struct HeaderColumns {
        std::array<long, 7> cells{}; // of W, B, H, Q, L, k, K, or -1
        std::size_t required = 0;    // how many of W, B, H, Q it found
        std::string_view twice;      // a name heading two cells
    };
    struct HeaderSearch {
        HeaderColumns best;
        char separator = ';';
        std::size_t cells = 0;
        bool tooWide = false; // some separator made more cells than a header may have
    };

    std::size_t joinLineFeedAfterCr(std::string_view bytes, std::string& out);
    std::size_t skipByteOrderMark(std::string_view bytes, std::size_t i);
    std::size_t scanToLineEnd(std::string_view bytes, std::size_t i, std::size_t end, State& state, bool& crInside);
    std::string_view takeLineEnding(std::string_view bytes, std::size_t& i);
    void overflow();
    void completeRecord(std::string_view record, std::string_view ending, bool unclosed, std::string& out);
    void readHeader(std::string_view record, std::string_view ending, bool unclosed, std::string& out);
    HeaderSearch searchHeader(std::string_view names);
    HeaderColumns namedColumns();
    std::string headerFault(const HeaderSearch& search) const;
    void adoptHeader(const HeaderSearch& search);
    void readRow(std::string_view record, std::string_view ending, bool unclosed, std::string& out);
    std::size_t splitCells(std::string_view record, char separator, std::size_t kept);
    std::string_view cellValue(std::size_t cell);
    void fail(std::string message);
    void writeRowEnd(std::string_view record, bool unclosed, std::size_t cells, std::string_view result,
                     std::string_view error, std::string_view ending, std::string& out) const;

    Encoding encoding_;
    BatchLimits limits_;
    // Reading records.
    State state_ = State::FieldStart;
    // What each byte means outside quotes: until the header is read, any of the separators
    // tried ends a cell.
    std::array<unsigned char, 256> kind_{};
    std::size_t bomLeft_ = 3;     // bytes of a byte order mark still possible at the start
    bool afterCr_ = false;        // a lone CR ended the last record; an LF next joins it
    bool crInside_ = false;       // the last byte was a CR inside quotes
    std::string pending_;         // the start of a record not yet complete
    std::size_t line_ = 1;        // where the record being read starts
    std::size_t linesInside_ = 0; // line breaks inside its quoted cells
    // The header.
    bool headerRead_ = false;
    char separator_ = ';';
    bool decimalCommaTaken_ = false;
    Mark tableMark_ = Mark::None; // the decimal mark of the last row that wrote one
    std::size_t headerCells_ = 0;
    std::array<long, 7> columns_{}; // the cell of W, B, H, Q, L, k, K, or -1
    // One record's cells, reused from record to record.
    std::vector<std::string_view> cells_;
    std::string unquoted_;
    // Outcome.
    bool stopped_ = false;
    std::size_t records_ = 0;
    std::size_t failedRows_ = 0;
    std::vector<std::string> messages_; // the first failed rows
    std::string stopReason_;            // why the reading ended early, last of all
};

} // namespace cli
