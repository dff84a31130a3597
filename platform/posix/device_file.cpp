// POSIX: a named pipe opened for writing waits until some program opens it for reading,
// which may be never, and the window would wait with it; a socket cannot be opened at
// all. Both are refused by name. Devices such as /dev/null are written as before.
#include "platform/device_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString notAFileReason(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("это именованный канал, а не файл");
    if (S_ISSOCK(mode))
        return QStringLiteral("это сокет, а не файл");
    return {};
}

} // namespace

// Opened without waiting, and what was opened is looked at again, so that a pipe put in
// the target's place after the first look cannot hold the window either.
std::optional<DeviceRefusal> openDeviceForWriting(const QString& fileName, QFile& file)
{
    struct stat status {};
    errno = 0;
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (::stat(QFile::encodeName(fileName).constData(), &status) == 0)
            if (QString reason = notAFileReason(status.st_mode); !reason.isEmpty())
                return DeviceRefusal{reason, code, false};
        return DeviceRefusal{{}, code, false};
    }
    // `file` closes the descriptor from here on, a refusal included.
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        const int code = errno;
        ::close(fd);
        return DeviceRefusal{{}, code, true};
    }
    if (::fstat(fd, &status) == 0)
        if (QString reason = notAFileReason(status.st_mode); !reason.isEmpty())
            return DeviceRefusal{reason, 0, false};
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::nullopt;
}

} // namespace platform
