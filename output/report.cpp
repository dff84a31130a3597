#include "output/report.h"

#include "platform/device_file.h"
#include "platform/qt_code_page_1251.h"
#include "platform/run_time_error.h"
#include "text/system_error_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <string_view>

namespace output {

namespace {

const QByteArray kLineEnd("\r\n");

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A missing folder on the way, or a file standing where a folder should be: both make
// the open fail with a bare code, so say which part of the path is wrong.
QString pathReason(const QFileInfo& target)
{
    if (target.isDir())
        return QStringLiteral("это папка, а не файл");
    if (target.exists() && !target.isWritable())
        return QStringLiteral("файл защищён от записи");

    QFileInfo ancestor(target.absolutePath());
    if (ancestor.isDir())
        return {};
    const QString missing = ancestor.absoluteFilePath();
    while (!ancestor.exists() && !ancestor.isRoot()) {
        const QString up = ancestor.absolutePath();
        if (up == ancestor.absoluteFilePath())
            break;
        ancestor.setFile(up);
    }
    if (ancestor.exists() && !ancestor.isDir())
        return QStringLiteral("«%1» — это файл, а не папка").arg(native(ancestor.absoluteFilePath()));
    return QStringLiteral("папка «%1» не существует").arg(native(missing));
}

QString errnoReason(int code)
{
    const std::string_view reason = text::describeSystemError(code);
    return QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size()));
}

QString fileErrorReason(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ResourceError:
        return QStringLiteral("не хватает места на диске или системных ресурсов");
    case QFileDevice::PermissionsError:
        return errnoReason(EACCES);
    case QFileDevice::RenameError:
        return QStringLiteral("не удалось заменить прежний файл");
    case QFileDevice::OpenError:
        return QStringLiteral("файл не удалось открыть для записи");
    default:
        return QStringLiteral("ошибка записи");
    }
}

// What went wrong, taken from the device at the moment of the failure.
struct Failure {
    QFileDevice::FileError error;
    QString systemText;
    int code;
};

Failure failureOf(const QFileDevice& file, int code)
{
    return {file.error(), file.errorString(), code};
}

QString failureText(const QString& fileName, const QString& reason)
{
    return QStringLiteral("Не удалось сохранить файл «%1»: %2.")
        .arg(native(QFileInfo(fileName).absoluteFilePath()), reason);
}

[[noreturn]] void fail(const QString& fileName, const Failure& failure)
{
    QString reason = pathReason(QFileInfo(fileName));
    if (reason.isEmpty())
        reason = errnoReason(failure.code);
    if (reason.isEmpty())
        reason = fileErrorReason(failure.error);
    QString text = failureText(fileName, reason);
    if (!failure.systemText.isEmpty())
        text += QStringLiteral(" (%1)").arg(failure.systemText);
    throw platform::RunTimeError(text);
}

// A device chosen as the target cannot be replaced by renaming a temporary file over it
// (that would swap /dev/full for a regular file): write it in place instead.
void writeInPlace(const QString& fileName, const QByteArray& bytes)
{
    QFile file;
    if (const auto refused = platform::openDeviceForWriting(fileName, file)) {
        if (!refused->notAFile.isEmpty())
            throw platform::RunTimeError(failureText(fileName, refused->notAFile));
        if (refused->byQt)
            fail(fileName, failureOf(file, refused->code));
        fail(fileName, {QFileDevice::OpenError, QString(), refused->code});
    }
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush())
        fail(fileName, failureOf(file, errno));
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(fileName, failureOf(file, errno));
}

} // namespace

QByteArray reportBytes(const QString& titleLine, const QString& volumeText,
                       const QString& volumeCaption)
{
    QByteArray bytes = platform::toCp1251(titleLine);
    bytes += kLineEnd;
    bytes += kLineEnd;
    bytes += platform::toCp1251(volumeText + volumeCaption);
    bytes += kLineEnd;
    return bytes;
}

void writeReport(const QString& fileName, const QByteArray& bytes)
{
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        writeInPlace(fileName, bytes);
        return;
    }

    QSaveFile file(fileName);
    // Never write over the old file directly: a failure must leave it whole.
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fail(fileName, failureOf(file, errno));
    errno = 0;
    // flush() before commit(): a full disk shows itself when the buffer is written out.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const Failure failure = failureOf(file, errno);
        file.cancelWriting();
        fail(fileName, failure);
    }
    errno = 0;
    if (!file.commit())
        fail(fileName, failureOf(file, errno));
}

} // namespace output
