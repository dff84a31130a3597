// A table whose folder and file are named in Cyrillic, as Russian users name theirs, is
// opened by that name and comes back byte for byte.
#include "tests/cli/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FileNames, CyrillicFolderAndFile)
{
    const fs::path cases = ZELM_CLI_CASES;
    const fs::path folder = fs::temp_directory_path() / fs::path(u8"Створы зельма");
    const fs::path table = folder / fs::path(u8"таблица 1251.csv");
    fs::create_directories(folder);
    fs::copy_file(cases / "cp1251.csv", table, fs::copy_options::overwrite_existing);
    const std::u8string name = table.u8string();
    const Finished run = runProgram(ZELM_CALC, {"--batch", std::string(name.begin(), name.end())}, "");
    fs::remove_all(folder);
    EXPECT_EQ(run.out, readFile(cases / "cp1251.expected.csv"));
    EXPECT_EQ(run.status, 1); // its one bad row, as read from any other name
}

} // namespace
