// Any bytes as a table for zelm-calc --batch: reading never fails, and
// - the table written is the same whether the input comes whole or in small pieces, so
//   no record is lost or split where one piece ends and the next begins;
// - when the header cannot be used nothing is written; otherwise the table written reads
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    cli::EncodingGuess guess;
    guess.read(input);
    const cli::Encoding encoding = guess.encoding(true);

    cli::Batch whole(encoding);
    std::string written;
    whole.read(input, written);
    whole.finish(written);

    // The piece size comes from the input, so that the fuzzer explores where pieces end.
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 7;
    cli::Batch pieces(encoding);
    std::string writtenInPieces;
    for (std::size_t at = 0; at < size && !pieces.stopped(); at += piece)
        pieces.read(input.substr(at, piece), writtenInPieces);
    pieces.finish(writtenInPieces);
    check(writtenInPieces == written, "the table depends on how the input was cut");
    check(pieces.status() == whole.status(), "the exit status depends on how the input was cut");

    if (whole.status() == 2) {
        check(written.empty(), "a table was written from an unusable header");
        return 0;
    }
    cli::Batch again(encoding);
    std::string rewritten;
    again.read(written, rewritten);
    again.finish(rewritten);
    check(again.status() != 2, "the table written has no usable header");
    check(again.records() == whole.records(), "not one record written for each record read");
    return 0;
}
