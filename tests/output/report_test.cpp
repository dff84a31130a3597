// The report file: its exact bytes, the code page, replacing, and failures that must be
// reported and must leave an existing file whole.

#include "output/report.h"
#include "platform/qt_code_page_1251.h"
#include "platform/run_time_error.h"
#include "tests/support/report_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <optional>
#include <sys/wait.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using testing_support::readAll;
const QString& kTitle = testing_support::kReportTitle;
const QString& kCaption = testing_support::kVolumeCaption;

QString failureOf(const QString& target, const QByteArray& bytes)
{
    try {
        output::writeReport(target, bytes);
    } catch (const platform::RunTimeError& e) {
        return e.description();
    }
    return {};
}

// What a save by another user than root reports: permission bits do not bind root, so
// under root the save runs in a child that becomes nobody. Nothing where no other user
// can be had.
std::optional<QString> failureAsOrdinaryUser(const QString& target, const QByteArray& bytes)
{
    if (geteuid() != 0)
        return failureOf(target, bytes);
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;
    constexpr int noOtherUser = 77;
    if (child == 0) {
        close(channel[0]);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(noOtherUser);
        const QByteArray description = failureOf(target, bytes).toUtf8();
        const auto size = static_cast<ssize_t>(description.size());
        _exit(write(channel[1], description.constData(), size_t(size)) == size ? 0 : 1);
    }
    close(channel[1]);
    QByteArray received;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        received.append(buffer, n);
    close(channel[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == noOtherUser)
        return std::nullopt;
    return QString::fromUtf8(received);
}

int openHandles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).count());
}

} // namespace

TEST(ReportBytes, AreTheThreeLinesInCodePage1251)
{
    // Line 1 with its 19 blanks, CR LF, an empty line, then the volume and the caption.
    const QByteArray head = QByteArray::fromHex(
        "d0e0f1f5eee420e2eee4fb20eef220e7e5ebfcece020efebeef2e8edfb20e4ebff20f1f2e2eef0e0"
        "20202020202020202020202020202020202020" "0d0a0d0a");
    const QByteArray tail = QByteArray::fromHex("cee1fab8ec20e2eee42df9e0202857292c20ec2eeaf3e1" "0d0a");
    const struct {
        const char* name;
        QString volume;
        QByteArray bytes;
    } rows[] = {
        {"typical", QStringLiteral("1000000"), "1000000"},
        {"empty", QString(), ""},
        {"commaLocale", QStringLiteral("12,5"), "12,5"}, // the field's text, not a number
        // One "?" per character outside the code page; the emoji is a surrogate pair.
        {"outsideCodePage", QStringLiteral("ẞ😀中1"), "???1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(output::reportBytes(kTitle, row.volume, kCaption).toHex().toStdString(),
                  (head + row.bytes + tail).toHex().toStdString());
    }
}

TEST(CodePage1251, IrregularEntriesMapBothWays)
{
    const struct {
        char16_t character;
        unsigned char byte;
    } rows[] = {{u'Ё', 0xA8}, {u'ё', 0xB8}, {u'№', 0xB9}, {u'€', 0x88}, {u'«', 0xAB},
                {u'»', 0xBB}, {u'—', 0x97}, {u'–', 0x96}, {u'Ђ', 0x80}, {u'\u00A0', 0xA0},
                {u'А', 0xC0}, {u'я', 0xFF}, {u'\x7F', 0x7F}};
    for (const auto& row : rows) {
        const QString text(QChar(row.character));
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(platform::toCp1251(text), QByteArray(1, char(row.byte)));
        EXPECT_EQ(platform::fromCp1251(QByteArray(1, char(row.byte))), text);
    }
    // A lone surrogate and U+FFFD are not in the code page either.
    EXPECT_EQ(platform::toCp1251(QString(QChar(0xD800)) + QChar(0xFFFD) + u'é'), "???");
}

TEST(CodePage1251, EveryAssignedByteReadsBackUnchanged)
{
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (b != 0x98) // unassigned
            all.append(char(b));
    }
    EXPECT_EQ(platform::toCp1251(platform::fromCp1251(all)), all);
}

TEST(ReportFile, SavingTwiceReplacesTheFileWhole)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("отчёт.txt"));
    output::writeReport(target, "a much longer first report\r\n");
    output::writeReport(target, "second\r\n");
    EXPECT_EQ(readAll(target), "second\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("отчёт.txt")});
}

TEST(ReportFile, FailuresNameTheFileAndTheReasonAndTheNextSaveWorks)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    output::writeReport(plain, "not a folder");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const QString pipe = dir.filePath(QStringLiteral("канал"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString readPipe = dir.filePath(QStringLiteral("читаемый канал"));
    ASSERT_EQ(mkfifo(QFile::encodeName(readPipe).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(readPipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const QString socketPath = dir.filePath(QStringLiteral("socket"));
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path);
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const struct {
        QString target;
        QString reason;
    } rows[] = {
        {dir.filePath(QStringLiteral("нет/отчёт.txt")), QStringLiteral("не существует")},
        {dir.filePath(QStringLiteral("folder")), QStringLiteral("это папка")},
        {plain + QStringLiteral("/отчёт.txt"), QStringLiteral("это файл, а не папка")},
        // Written in place: renaming a temporary file over it would replace the device.
        {QStringLiteral("/dev/full"), QStringLiteral("нет места")},
        // Once went wrong: opening a pipe nobody reads waited for good.
        {pipe, QStringLiteral("именованный канал")},
        // With a reader attached, opening succeeds: what was opened is refused all the same.
        {readPipe, QStringLiteral("именованный канал")},
        {socketPath, QStringLiteral("сокет")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        const int handles = openHandles();
        const QString description = failureOf(row.target, "x\r\n");
        EXPECT_TRUE(description.contains(QDir::toNativeSeparators(row.target))) << description.toStdString();
        EXPECT_TRUE(description.contains(row.reason)) << description.toStdString();
        EXPECT_EQ(openHandles(), handles);
    }
    close(listening);
    ::close(reader);
    EXPECT_EQ(readAll(plain), "not a folder");
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists() && !QFileInfo(QStringLiteral("/dev/full")).isFile());
    output::writeReport(plain, "ok\r\n");
    EXPECT_EQ(readAll(plain), "ok\r\n");
}

// Root ignores permission bits, so the failure comes from a file-size limit: the write
// stops half-way as on a full disk.
TEST(ReportFile, FailedWriteKeepsTheExistingFileByteForByte)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("old.txt"));
    output::writeReport(target, "the old report\r\n");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString description =
        failureOf(target, output::reportBytes(kTitle, QStringLiteral("1000000"), kCaption));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(description.contains(QDir::toNativeSeparators(target))) << description.toStdString();
    EXPECT_TRUE(description.contains(QStringLiteral("размер"))) << description.toStdString();
    EXPECT_EQ(readAll(target), "the old report\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.txt")});
    output::writeReport(target, "new\r\n");
    EXPECT_EQ(readAll(target), "new\r\n");
}

// The report goes through a new temporary file: in a folder where the user may not create
// one, saving over a file the user may write is refused, and the file is not written in
// place instead, where a failure half-way would leave half a report. In a shared folder
// (the sticky bit, as /tmp), the temporary file is made but may not replace another
// user's file: the last step fails, and is reported as a failure all the same. A file the
// user may not write is refused even where the folder would let the rename replace it.
TEST(ReportFile, FileTheUserMayNotReplaceIsRefusedAndKept)
{
    const auto everyone = [](QFileDevice::Permissions owner, QFileDevice::Permissions other) {
        return owner | other | QFileDevice::Permissions::fromInt(other.toInt() << 4);
    };
    const auto readWrite = everyone(QFileDevice::ReadOwner | QFileDevice::WriteOwner,
                                    QFileDevice::ReadOther | QFileDevice::WriteOther);
    const auto readOnly = everyone(QFileDevice::ReadOwner, QFileDevice::ReadOther);
    const struct {
        const char* name;
        mode_t folder;
        bool anotherUsersFile; // only root can make one
        QFileDevice::Permissions file;
        QString reason;
    } rows[] = {
        {"a folder the user may not write in", 0555, false, readWrite, QStringLiteral("нет доступа")},
        {"a shared folder, the file another user's", 01777, true, readWrite, QStringLiteral("нет доступа")},
        {"a read-only file in a folder anyone may write in", 0777, false, readOnly,
         QStringLiteral("защищён от записи")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.anotherUsersFile && geteuid() != 0)
            continue;
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("old.txt"));
        output::writeReport(target, "the old report\r\n");
        ASSERT_TRUE(QFile::setPermissions(target, row.file));
        ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), row.folder), 0);

        const auto description = failureAsOrdinaryUser(target, "new\r\n");
        chmod(QFile::encodeName(dir.path()).constData(), 0755);
        if (!description)
            GTEST_SKIP() << "no user other than root to save as";
        EXPECT_TRUE(description->contains(QDir::toNativeSeparators(target))) << description->toStdString();
        EXPECT_TRUE(description->contains(row.reason)) << description->toStdString();
        EXPECT_EQ(readAll(target), "the old report\r\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.txt")});
    }
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
