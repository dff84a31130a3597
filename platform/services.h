#pragma once
// Every platform service the windows use, handed in from outside: the program passes the
// real Qt implementations (qt_services.h), the tests scripted ones (tests/support).

namespace platform {

class MessageBoxes;
class ProcessControl;
class DialogBackend;
class HelpViewer;
class Launcher;

struct Services {
    MessageBoxes& messages;
    ProcessControl& process;
    DialogBackend& dialogs;
    HelpViewer& help;
    Launcher& launcher;
};

} // namespace platform
