// The word-processor hand-off: which program is started with which arguments, where the
// template is looked for, and a real detached start of a stand-in soffice that records
// what reached it.

#include "output/word_handoff.h"
#include "platform/qt_backends.h"
#include "tests/support/scripted_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using testing_support::ScriptedLauncher;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

// Sets an environment variable until the returned guard goes out of scope.
[[nodiscard]] auto setEnv(const char* name, const QByteArray& value)
{
    const bool had = qEnvironmentVariableIsSet(name);
    const QByteArray old = qgetenv(name);
    qputenv(name, value);
    return qScopeGuard([=] { had ? qputenv(name, old) : qunsetenv(name); });
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class WordHandoffTest : public QObject {
    Q_OBJECT
private slots:
    void choosesProgramAndArguments_data();
    void choosesProgramAndArguments();
    void firstFolderHoldingTheTemplateWins();
    void repeatingAddsOneDocumentEachTime();
    void searchOrderStartsWithLibreOfficeAndEndsInCurrentFolder();
    void standInReceivesArgumentListWithoutShell_data();
    void standInReceivesArgumentListWithoutShell();
    void noWordProcessorOnPathDoesNothing();
    void wordFirstThenLibreOffice_data();
    void wordFirstThenLibreOffice();
};

void WordHandoffTest::choosesProgramAndArguments_data()
{
    QTest::addColumn<QStringList>("installed");   // programs findExecutable knows
    QTest::addColumn<QString>("templateName");    // file put in the template folder, or empty
    QTest::addColumn<QString>("expectedProgram"); // empty: nothing is started
    QTest::addColumn<bool>("expectNewDocument");

    QTest::addRow("soffice with template") << QStringList{"soffice", "libreoffice"}
                                           << "Canal.dot" << "/usr/bin/soffice" << true;
    QTest::addRow("only libreoffice") << QStringList{"libreoffice"} << "Canal.dot"
                                      << "/usr/bin/libreoffice" << true;
    QTest::addRow("template name in other case") << QStringList{"soffice"} << "CANAL.DOT"
                                                 << "/usr/bin/soffice" << true;
    QTest::addRow("template missing: word processor alone") << QStringList{"soffice"} << QString()
                                                            << "/usr/bin/soffice" << false;
    QTest::addRow("a different template is not taken") << QStringList{"soffice"} << "Canal.dotx"
                                                        << "/usr/bin/soffice" << false;
    QTest::addRow("no word processor") << QStringList{} << "Canal.dot" << QString() << false;
}

void WordHandoffTest::choosesProgramAndArguments()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, templateName);
    QFETCH(QString, expectedProgram);
    QFETCH(bool, expectNewDocument);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (!templateName.isEmpty())
        touch(folder.filePath(templateName));

    ScriptedLauncher launcher;
    launcher.find = [&](const QString& name) {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    };
    output::handOffToWordProcessor(launcher, {folder.path()});

    if (expectedProgram.isEmpty()) {
        QVERIFY(launcher.started.isEmpty());
        return;
    }
    QCOMPARE(launcher.started.size(), 1);
    QCOMPARE(launcher.started.first().program, expectedProgram);
    const QStringList expected = expectNewDocument
        ? QStringList{"-n", QDir::toNativeSeparators(QDir(folder.path()).absoluteFilePath(templateName))}
        : QStringList{};
    QCOMPARE(launcher.started.first().arguments, expected);
}

void WordHandoffTest::wordFirstThenLibreOffice_data()
{
    QTest::addColumn<bool>("wordPresent");
    QTest::addColumn<int>("libreOfficeStarts");
    QTest::addRow("Word reached: LibreOffice left alone") << true << 0;
    QTest::addRow("no Word: LibreOffice instead") << false << 1;
}

void WordHandoffTest::wordFirstThenLibreOffice()
{
    QFETCH(bool, wordPresent);
    QFETCH(int, libreOfficeStarts);
    ScriptedLauncher launcher;
    launcher.wordPresent = wordPresent;
    launcher.find = [](const QString& name) { return QStringLiteral("/usr/bin/") + name; };
    output::handOffToWordProcessor(launcher, {});
    // Word gets the bare name and finds the template by its own rule.
    QCOMPARE(launcher.wordTemplates, QStringList{"Canal.dot"});
    QCOMPARE(launcher.started.size(), libreOfficeStarts);
}

void WordHandoffTest::firstFolderHoldingTheTemplateWins()
{
    QTemporaryDir empty, first, second;
    touch(first.filePath("Canal.dot"));
    touch(second.filePath("Canal.dot"));
    QCOMPARE(output::findTemplate({empty.path(), first.path(), second.path()}),
             first.filePath("Canal.dot"));
    QCOMPARE(output::findTemplate({empty.path(), QString()}), QString());
}

void WordHandoffTest::repeatingAddsOneDocumentEachTime()
{
    QTemporaryDir folder;
    touch(folder.filePath("Canal.dot"));
    ScriptedLauncher launcher;
    launcher.find = [](const QString& name) { return QStringLiteral("/opt/lo/") + name; };

    output::handOffToWordProcessor(launcher, {folder.path()});
    output::handOffToWordProcessor(launcher, {folder.path()});

    QCOMPARE(launcher.started.size(), 2);
    for (const auto& start : launcher.started)
        QCOMPARE(start.arguments, (QStringList{"-n", QDir::toNativeSeparators(folder.filePath("Canal.dot"))}));
}

void WordHandoffTest::searchOrderStartsWithLibreOfficeAndEndsInCurrentFolder()
{
    QTemporaryDir home;
    const auto config = setEnv("XDG_CONFIG_HOME", home.path().toUtf8());
    const QString user = home.filePath("libreoffice/4/user/template");
    QVERIFY(QDir().mkpath(user));

    const QStringList folders = output::templateFolders();
    QVERIFY(folders.size() >= 2);
    QCOMPARE(folders.first(), user);
    QCOMPARE(folders.last(), QDir::currentPath());

    // A template in the current folder is used only when LibreOffice's folder has none.
    QTemporaryDir current;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    touch(current.filePath("Canal.dot"));
    const QString fromCurrent = output::findTemplate(output::templateFolders());
    touch(user + "/Canal.dot");
    const QString fromUser = output::findTemplate(output::templateFolders());
    QDir::setCurrent(before);

    QCOMPARE(QFileInfo(fromCurrent).canonicalFilePath(),
             QFileInfo(current.filePath("Canal.dot")).canonicalFilePath());
    QCOMPARE(fromUser, user + "/Canal.dot");
}

void WordHandoffTest::standInReceivesArgumentListWithoutShell_data()
{
    QTest::addColumn<QString>("folderName"); // the template's folder, empty: no template
    QTest::addRow("plain folder") << "templates";
    QTest::addRow("blanks and quotes") << "my \"Шаблоны\" 'x' $HOME; `ls` & *";
    QTest::addRow("template missing") << QString();
}

void WordHandoffTest::standInReceivesArgumentListWithoutShell()
{
    QFETCH(QString, folderName);

    QTemporaryDir bin, work;
    QVERIFY(bin.isValid() && work.isValid());
    const QString argsFile = work.filePath("args");
    const QString envFile = work.filePath("env");
    const QString doneFile = work.filePath("done");

    // The stand-in writes its arguments one per line and its environment, then a mark
    // that both are complete.
    const QString script = bin.filePath("soffice");
    {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\n"
                                  "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'\n"
                                  "env > '%2'\n"
                                  ": > '%3'\n")
                       .arg(argsFile, envFile, doneFile)
                       .toUtf8());
    }
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QString templatePath;
    QStringList folders{work.filePath("nothing here")};
    if (!folderName.isEmpty()) {
        const QString folder = work.filePath(folderName);
        QVERIFY(QDir().mkpath(folder));
        templatePath = folder + "/Canal.dot";
        touch(templatePath);
        folders.append(folder);
    }

    const auto path = setEnv("PATH", bin.path().toUtf8() + ":" + qgetenv("PATH"));
    const auto marker = setEnv("ZELM_HANDOFF_MARK", "inherited");

    platform::QtLauncher launcher;
    output::handOffToWordProcessor(launcher, folders);

    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(doneFile); }, 30000));
    const QStringList expected = templatePath.isEmpty() ? QStringList{}
                                                        : QStringList{"-n", templatePath};
    QCOMPARE(readLines(argsFile), expected);
    QVERIFY(readLines(envFile).contains("ZELM_HANDOFF_MARK=inherited"));
}

void WordHandoffTest::noWordProcessorOnPathDoesNothing()
{
    QTemporaryDir emptyBin, folder;
    touch(folder.filePath("Canal.dot"));
    const auto path = setEnv("PATH", emptyBin.path().toUtf8());

    const auto windowsBefore = QApplication::topLevelWidgets();
    platform::QtLauncher launcher;
    output::handOffToWordProcessor(launcher, {folder.path()});
    QCoreApplication::processEvents();

    // No message box or any other window came up.
    QCOMPARE(QApplication::topLevelWidgets(), windowsBefore);
    QVERIFY(launcher.findExecutable("soffice").isEmpty());
}

QTEST_MAIN(WordHandoffTest)
#include "tst_word_handoff.moc"
