// Windows: a device (NUL, a port) opens like a file, without waiting for anyone.
#include "platform/device_file.h"

#include <cerrno>

namespace platform {

std::optional<DeviceRefusal> openDeviceForWriting(const QString& fileName, QFile& file)
{
    file.setFileName(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return DeviceRefusal{{}, errno, true};
    return std::nullopt;
}

} // namespace platform
