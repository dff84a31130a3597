// CD: what it hands to the desktop's dialogs, what it keeps between commands, and its
// conversions of filters, colours and fonts; plus the Qt services that need no modal loop.

#include "app/application.h"
#include "platform/common_dialog.h"
#include "platform/qt_backends.h"
#include "platform/run_time_error.h"
#include "platform/window_system.h"
#include "tests/support/scripted_platform.h"

#include <QApplication>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using testing_support::ScriptedDialogs;

class CommonDialogTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    QWidget owner;
    platform::CommonDialog* cd = new platform::CommonDialog(dialogs, &owner);
};

TEST(CommonDialogFilter, TranslatesToQtSyntax)
{
    const struct {
        QString classic;
        QString qt;
    } rows[] = {
        // "*.*" was every file, names without a dot included.
        {QStringLiteral("All Files (*.*)|*.*"), QStringLiteral("All Files (*.*) (*)")},
        {QStringLiteral("Textfiles|*.txt"), QStringLiteral("Textfiles (*.txt)")},
        {QStringLiteral("Text|*.txt|All|*.*"), QStringLiteral("Text (*.txt);;All (*)")},
        {QStringLiteral("Docs|*.doc;*.dot"), QStringLiteral("Docs (*.doc *.dot)")},
        {QString(), QString()},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::CommonDialog::toQtFilter(row.classic).toStdString(), row.qt.toStdString());
}

TEST_F(CommonDialogTest, StartsAtTheComponentDefaultsOnItsOwner)
{
    EXPECT_EQ(cd->objectName(), QStringLiteral("CD"));
    EXPECT_EQ(cd->parent(), &owner);
    EXPECT_FALSE(cd->CancelError);
    EXPECT_EQ(cd->Flags, 0);
    EXPECT_EQ(cd->Color, 0u);
    EXPECT_EQ(cd->FontSize, 8.0f);
}

TEST_F(CommonDialogTest, FileDialogsGetTitleFilterNameAndOverwriteQuestion)
{
    cd->DialogTitle = QStringLiteral("Open");
    cd->Filter = QStringLiteral("All Files (*.*)|*.*");
    cd->FileName = QStringLiteral("/tmp/before.txt");
    dialogs.fileAnswers.enqueue(QStringLiteral("/home/u/данные.xyz"));
    EXPECT_TRUE(cd->ShowOpen());
    EXPECT_EQ(cd->FileName, QStringLiteral("/home/u/данные.xyz"));

    // The title stays from the open command; the overwrite question follows flag 2 only.
    cd->Filter = QStringLiteral("Textfiles|*.txt");
    cd->Flags = 524290;
    cd->ShowSave();
    cd->Flags = 0x80000;
    cd->ShowSave();

    ASSERT_EQ(dialogs.requests.size(), 3);
    const auto& open = dialogs.requests[0];
    EXPECT_EQ(open.kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(open.title, QStringLiteral("Open"));
    EXPECT_EQ(open.filter, QStringLiteral("All Files (*.*) (*)"));
    EXPECT_EQ(open.initialName, QStringLiteral("/tmp/before.txt"));
    EXPECT_EQ(open.parent, &owner);
    EXPECT_EQ(dialogs.requests[1].kind, ScriptedDialogs::Kind::Save);
    EXPECT_EQ(dialogs.requests[1].title, QStringLiteral("Open"));
    EXPECT_EQ(dialogs.requests[1].initialName, QStringLiteral("/home/u/данные.xyz"));
    EXPECT_TRUE(dialogs.requests[1].confirmOverwrite);
    EXPECT_FALSE(dialogs.requests[2].confirmOverwrite);
}

TEST_F(CommonDialogTest, CancelLeavesNoNameAndRaisesOnlyWithCancelError)
{
    cd->FileName = QStringLiteral("/tmp/a.txt");
    EXPECT_FALSE(cd->ShowOpen());
    EXPECT_TRUE(cd->FileName.isEmpty());

    cd->CancelError = true;
    cd->FileName = QStringLiteral("/tmp/a.txt");
    EXPECT_THROW(cd->ShowSave(), platform::RunTimeError);
    EXPECT_TRUE(cd->FileName.isEmpty());
}

TEST_F(CommonDialogTest, ColourHasRedInTheLowByteBothWays)
{
    const struct {
        std::uint32_t classic;
        QColor qt;
    } rows[] = {{0x0000FF, QColor(255, 0, 0)}, {0x00FF00, QColor(0, 255, 0)},
                {0xFF0000, QColor(0, 0, 255)}, {0x563412, QColor(0x12, 0x34, 0x56)}};
    cd->Flags = 2;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.qt.name().toStdString());
        dialogs.requests.clear();
        cd->Color = row.classic;
        EXPECT_FALSE(cd->ShowColor()); // a cancel keeps the colour
        EXPECT_EQ(cd->Color, row.classic);
        ASSERT_EQ(dialogs.requests.size(), 1);
        EXPECT_EQ(dialogs.requests[0].initialColor, row.qt);
        EXPECT_TRUE(dialogs.requests[0].showCustomColors);

        cd->Color = 0x123456;
        dialogs.colorAnswers.enqueue(row.qt);
        EXPECT_TRUE(cd->ShowColor());
        EXPECT_EQ(cd->Color, row.classic);
    }
}

TEST_F(CommonDialogTest, FontStartsFromThePropertiesAndReturnsTheChoice)
{
    cd->FontName = QStringLiteral("Liberation Serif");
    cd->FontSize = 14.0f;
    cd->FontBold = true;
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPointSizeF(9.75);
    chosen.setBold(false);
    dialogs.fontAnswers.enqueue(chosen);

    EXPECT_TRUE(cd->ShowFont());
    ASSERT_EQ(dialogs.requests.size(), 1);
    const QFont& initial = dialogs.requests[0].initialFont;
    EXPECT_EQ(initial.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(initial.pointSizeF(), 14.0);
    EXPECT_TRUE(initial.bold());
    EXPECT_EQ(cd->FontName, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(cd->FontSize, 9.75f);
    EXPECT_FALSE(cd->FontBold);

    EXPECT_FALSE(cd->ShowFont()); // a cancel keeps the last choice
    EXPECT_EQ(cd->FontName, QStringLiteral("Liberation Sans"));
}

TEST(QtServices, MessageTextLineBreaksTitleAndMissingHelpFile)
{
    EXPECT_EQ(platform::QtMessageBoxes::displayText(QStringLiteral("Хотите выйти?\r\nA\rB")),
              QStringLiteral("Хотите выйти?\nA\nB"));
    QCoreApplication::setApplicationName(QStringLiteral("Зельм"));
    EXPECT_EQ(platform::QtMessageBoxes::displayTitle(QString()), QStringLiteral("Зельм"));

    platform::QtHelpViewer help;
    EXPECT_EQ(help.winHelp(nullptr, QByteArray(), platform::kHelpPartialKey, QByteArray()),
              std::optional<QString>(QStringLiteral("Файл справки не найден.")));
}

// Qt's own texts the user meets read in Russian, on Windows too, whose Qt is linked in.
TEST(QtServices, QtsOwnTextsAreRussian)
{
    ASSERT_TRUE(app::installQtTranslations(*qApp));
    const struct {
        const char* context;
        const char* english;
    } rows[] = {
        {"QColorDialog", "Select Color"},
        {"QColorDialog", "&Basic colors"},
        {"QPlatformTheme", "Cancel"},
        {"QFileDialog", "Save As"},
        {"QSaveFile", "Existing file %1 is not writable"},
    };
    for (const auto& row : rows) {
        const QString shown = QCoreApplication::translate(row.context, row.english);
        EXPECT_TRUE(shown.contains(QRegularExpression(QStringLiteral("[а-яА-Я]")))) << row.english;
    }
}

// XWayland is chosen only when the user chose no platform and an X server is there.
TEST(WindowSystem, PlatformArgumentOnlyWhereNothingIsChosen)
{
    const struct {
        const char* name;
        QStringList argv;
        const char* display; // nullptr: unset
        const char* qpa;
        QStringList expected;
    } rows[] = {
        {"X server, nothing chosen", {"zelm"}, ":0", nullptr, {"zelm", "-platform", "xcb"}},
        {"arguments kept after it", {"zelm", "-x"}, ":0", "", {"zelm", "-platform", "xcb", "-x"}},
        {"no X server", {"zelm"}, nullptr, nullptr, {"zelm"}},
        {"platform chosen by environment", {"zelm"}, ":0", "wayland", {"zelm"}},
        {"platform chosen by argument", {"zelm", "-platform", "wayland"}, ":0", nullptr,
         {"zelm", "-platform", "wayland"}},
    };
    const auto saved = [](const char* name) {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<QByteArray>& value) {
        value ? qputenv(name, *value) : qunsetenv(name);
    };
    const auto savedDisplay = saved("DISPLAY");
    const auto savedQpa = saved("QT_QPA_PLATFORM");
    for (const auto& row : rows) {
        row.display ? qputenv("DISPLAY", row.display) : qunsetenv("DISPLAY");
        row.qpa ? qputenv("QT_QPA_PLATFORM", row.qpa) : qunsetenv("QT_QPA_PLATFORM");
        std::vector<QByteArray> storage;
        std::vector<char*> argv;
        for (const QString& a : row.argv)
            storage.push_back(a.toUtf8());
        for (QByteArray& a : storage)
            argv.push_back(a.data());
        const std::vector<char*> made =
            platform::applicationArguments(static_cast<int>(argv.size()), argv.data());
        QStringList got;
        for (std::size_t i = 0; i + 1 < made.size(); ++i)
            got << QString::fromUtf8(made[i]);
        EXPECT_EQ(got.join(' ').toStdString(), row.expected.join(' ').toStdString()) << row.name;
        EXPECT_EQ(made.back(), nullptr) << row.name;
    }
    restore("DISPLAY", savedDisplay);
    restore("QT_QPA_PLATFORM", savedQpa);
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
