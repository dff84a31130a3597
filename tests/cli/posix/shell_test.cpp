// zelm-calc inside a shell's redirections: standard input a file the shell has already
// read a line of, and standard output a full disk.
#include "tests/cli/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

TEST(Shell, RedirectedStreams)
{
    namespace fs = std::filesystem;
    const fs::path table = fs::temp_directory_path() / ("zelm-shell-" + std::to_string(::getpid()) + ".csv");
    std::ofstream(table, std::ios::binary) << "a line read by the shell\nW;B;H;Q\n1000000;100;16;10\n";
    const std::string skipOne = "{ read -r skip; \"$0\" --batch; } < \"$1\"";
    const struct {
        const char* name;
        std::string script;
        std::string out;
        std::string err;
        int status;
    } rows[] = {
        {"standard input read on from where it stood", skipOne, "W;B;H;Q;R;Ошибка\n1000000;100;16;10;1240,769;\n",
         "", 0},
        {"standard output a full disk", skipOne + " > /dev/full", "",
         "zelm-calc: не удалось записать результат: нет места на диске\n", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Finished run = runProgram("/bin/sh", {"-c", row.script, ZELM_CALC, table.string()}, "");
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.status, row.status);
    }
    fs::remove(table);
}

} // namespace
