// Any bytes as a table for zelm-calc --batch: reading never fails, and
// - the table written, and the lines named in messages, are the same whether the input
//   comes whole or in small pieces, so no record is lost or split where one piece ends
//   and the next begins;
// - what the reader holds, and what one call of it writes, never pass the bounds its
//   limits set, however the input runs; a second reading with limits small enough for
//   the fuzzer's lengths checks this where records, headers and output pass them;
// - when no header is written the table was refused; otherwise the table written reads
//   back as as many records as were read, one for each, so the added cells never open a
//   quote or a line of their own.
#include "cli/batch.h"
#include "cli/encoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

struct Read {
    std::string written;
    int status;
    std::size_t records;
};

// Gives the reader the bytes until it has read them all, holding it to its bounds after
// every call.
void readAll(cli::Batch& batch, std::string_view bytes, std::string& out)
{
    while (!bytes.empty() && !batch.stopped()) {
        const std::size_t before = out.size();
        const std::size_t read = batch.read(bytes, out);
        check(read > 0 && read <= bytes.size(), "a call of read() reads nothing or too much");
        check(batch.heldBytes() <= batch.memoryBound(), "the reader holds more than its limits allow");
        check(out.size() - before <= batch.outputBound(), "one call of read() writes more than its limit");
        bytes.remove_prefix(read);
    }
}

// The input read whole, then again in pieces of `piece` bytes; both readings must agree.
Read readBothWays(std::string_view input, cli::Encoding encoding, cli::BatchLimits limits, std::size_t piece)
{
    cli::Batch whole(encoding, limits);
    std::string written;
    readAll(whole, input, written);
    whole.finish(written);

    cli::Batch pieces(encoding, limits);
    std::string writtenInPieces;
    for (std::size_t at = 0; at < input.size() && !pieces.stopped(); at += piece)
        readAll(pieces, input.substr(at, piece), writtenInPieces);
    pieces.finish(writtenInPieces);
    check(writtenInPieces == written, "the table depends on how the input was cut");
    check(pieces.status() == whole.status(), "the exit status depends on how the input was cut");
    check(pieces.messages() == whole.messages(), "the messages depend on how the input was cut");
    return {written, whole.status(), whole.records()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    cli::EncodingGuess guess;
    guess.read(input);
    const cli::Encoding encoding = guess.encoding(true);
    // The piece size and the small limits come from the input, so that the fuzzer
    // explores where pieces end and where limits fall.
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 7;
    const std::size_t knob = size > 1 ? data[1] : 0;
    readBothWays(input, encoding,
                 {.recordBytes = 16 + knob * 4, .headerCells = 4 + knob % 8, .outputBytes = 1 + knob % 64},
                 piece);

    const Read read = readBothWays(input, encoding, {}, piece);
    const std::string_view written = read.written;
    const std::string_view unmarked = written.starts_with("\xEF\xBB\xBF") ? written.substr(3) : written;
    if (unmarked.find_first_not_of("\r\n") == std::string_view::npos) {
        check(read.status == 2, "no header written, yet the table was taken");
        return 0;
    }
    cli::Batch again(encoding);
    std::string rewritten;
    readAll(again, written, rewritten);
    again.finish(rewritten);
    check(again.status() != 2, "the table written has no usable header");
    check(again.records() == read.records, "not one record written for each record read");
    return 0;
}
