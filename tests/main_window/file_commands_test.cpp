// The exit question, File -> Open and File -> Save through scripted dialogs and boxes.

#include "output/report.h"
#include "platform/common_dialog.h"
#include "platform/run_time_error.h"
#include "tests/support/report_texts.h"
#include "tests/support/scripted_platform.h"
#include "ui/main_window/file_commands.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using testing_support::ScriptedDialogs;

namespace {

using testing_support::readAll;
const QString& kTitle = testing_support::kReportTitle;
const QString& kCaption = testing_support::kVolumeCaption;

} // namespace

class FileCommands : public ::testing::Test {
protected:
    testing_support::ScriptedPlatform platform;
    QWidget window;
    platform::CommonDialog* cd = new platform::CommonDialog(platform.dialogs, &window);
    QTemporaryDir dir;
};

TEST_F(FileCommands, ExitAsksOnceAndEndsOnlyOnYes)
{
    for (const auto& [answer, ends] : {std::pair{platform::Answer::No, 0}, std::pair{platform::Answer::Yes, 1}}) {
        platform.messages.shown.clear();
        platform.messages.answers.enqueue(answer);
        ui::confirmExit(platform.messages, platform.process, &window);
        ASSERT_EQ(platform.messages.shown.size(), 1);
        const auto& box = platform.messages.shown.first();
        // Two lines joined by CR LF; the second starts with the Latin capital A.
        EXPECT_EQ(box.text, QStringLiteral("Хотите выйти?\r\n") + QChar(0x0041)
                                + QStringLiteral(" может подумаете?"));
        EXPECT_EQ(box.buttons, platform::Buttons::YesNo);
        EXPECT_EQ(box.icon, platform::Icon::Question);
        EXPECT_TRUE(box.title.isEmpty());
        EXPECT_EQ(box.parent, &window);
        EXPECT_EQ(platform.process.endNowCalls, ends);
    }
}

TEST_F(FileCommands, OpenCancelledDoesNothingAndAChosenFileEndsUnread)
{
    cd->CancelError = true; // the command turns it off, so a cancel must not raise
    EXPECT_NO_THROW(ui::openCommand(*cd, platform.process));
    EXPECT_EQ(platform.process.endNowCalls, 0);
    ASSERT_EQ(platform.dialogs.requests.size(), 1);
    EXPECT_EQ(platform.dialogs.requests[0].kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(platform.dialogs.requests[0].title, QStringLiteral("Open"));
    EXPECT_EQ(platform.dialogs.requests[0].filter, QStringLiteral("All Files (*.*) (*)"));

    // Neither a missing file nor one nobody may read is opened.
    const QString locked = dir.filePath(QStringLiteral("закрыт"));
    QFile file(locked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    file.setPermissions(QFileDevice::Permissions());
    for (const QString& chosen : {dir.filePath(QStringLiteral("нет такого.abc")), locked}) {
        platform.process.endNowCalls = 0;
        platform.dialogs.fileAnswers.enqueue(chosen);
        EXPECT_NO_THROW(ui::openCommand(*cd, platform.process));
        EXPECT_EQ(platform.process.endNowCalls, 1);
    }
}

TEST_F(FileCommands, SaveCancelledWritesNothingAndAChoiceWritesTheGivenTexts)
{
    ui::saveReportCommand(*cd, kTitle, QStringLiteral("1000000"), kCaption);
    ASSERT_EQ(platform.dialogs.requests.size(), 1);
    const auto& r = platform.dialogs.requests[0];
    EXPECT_EQ(r.kind, ScriptedDialogs::Kind::Save);
    EXPECT_EQ(r.filter, QStringLiteral("Textfiles (*.txt)"));
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_TRUE(r.title.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const QString path = dir.filePath(QStringLiteral("отчёт.txt"));
    platform.dialogs.fileAnswers.enqueue(path);
    ui::saveReportCommand(*cd, kTitle, QStringLiteral("12,5"), kCaption);
    EXPECT_EQ(readAll(path), output::reportBytes(kTitle, QStringLiteral("12,5"), kCaption));
}

TEST_F(FileCommands, FailedSaveIsReportedOnceAndTheNextSaveWorks)
{
    const QString bad = dir.filePath(QStringLiteral("нет/отчёт.txt"));
    const QString good = dir.filePath(QStringLiteral("отчёт.txt"));
    platform.dialogs.fileAnswers.enqueue(bad);
    platform.dialogs.fileAnswers.enqueue(good);
    auto save = [&] { ui::saveReportCommand(*cd, kTitle, QStringLiteral("1"), kCaption); };

    platform::runHandler(platform.messages, &window, save);
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_EQ(platform.messages.shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(platform.messages.shown[0].text.contains(QDir::toNativeSeparators(bad)));

    platform::runHandler(platform.messages, &window, save);
    EXPECT_EQ(platform.messages.shown.size(), 1);
    EXPECT_EQ(readAll(good), output::reportBytes(kTitle, QStringLiteral("1"), kCaption));
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
