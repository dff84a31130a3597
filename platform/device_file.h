#pragma once
// A report target that is not a regular file, such as a device, is written in place: it
// cannot be replaced by renaming a temporary file over it. How it is opened differs per
// system (posix/, windows/).

#include <QFile>
#include <QString>

#include <optional>

namespace platform {

struct DeviceRefusal {
    QString notAFile; // why the target is no file to write, in Russian; else empty
    int code = 0;     // errno of a failed open, when the descriptor could not be had
    bool byQt = false; // the descriptor was had, but `file` did not take it
};

// Opens `fileName` for writing in place into `file`, without waiting for a reader. On
// success `file` is open and owns what was opened; otherwise says why not.
std::optional<DeviceRefusal> openDeviceForWriting(const QString& fileName, QFile& file);

} // namespace platform
