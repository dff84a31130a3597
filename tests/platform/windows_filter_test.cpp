// Windows' file dialogs get each command's filter as the classic control gave it: the
// pairs of the '|' list, each ended by a null, after the trip through Qt's syntax.
#include "platform/common_dialog.h"
#include "platform/windows/file_filter.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(WindowsFilter, IsTheClassicListAfterQtsSyntax)
{
    const struct {
        QString classic;
        std::wstring windows;
    } rows[] = {
        {QStringLiteral("All Files (*.*)|*.*"), L"All Files (*.*)\0*.*\0\0"s},
        {QStringLiteral("Textfiles|*.txt"), L"Textfiles\0*.txt\0\0"s},
        {QStringLiteral("Text|*.txt|All|*.*"), L"Text\0*.txt\0All\0*.*\0\0"s},
        {QStringLiteral("Docs|*.doc;*.dot"), L"Docs\0*.doc;*.dot\0\0"s},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::windowsFilter(platform::CommonDialog::toQtFilter(row.classic)), row.windows)
            << row.classic.toStdString();
}
