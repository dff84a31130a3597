#pragma once
// The real desktop behind every seam: Qt's message boxes, file, colour and font dialogs,
// the process end, the help viewer, and starting programs detached.

#include "platform/services.h"

#include <memory>

namespace platform {

class QtServices {
public:
    QtServices();
    ~QtServices();
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    Services services();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
