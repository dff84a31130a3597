#pragma once
// Ending the program at once: no further window events, no close or unload handlers.

namespace platform {

class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    // Does not return in the program; a test double records the call and returns,
    // so callers must return straight after calling it.
    virtual void endNow() = 0;
};

} // namespace platform
