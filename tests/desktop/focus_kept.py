"""A dialog of ours closed while another program is active leaves that program the keyboard.

Under openbox: About opens over the main window, another program's window is activated as
a pager does, and once the program has been told it is no longer active, an assistive tool
presses About's OK over AT-SPI. The keyboard focus must stay on the other program.
Usage: focus_kept.py READY PIDFILE (as screen_reader.py)
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

ready_file, pid_file = sys.argv[1], sys.argv[2]


def x(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout.split()


def focused():
    return next(iter(x("xdotool", "getwindowfocus")), None)


def ours():
    return x("xdotool", "search", "--onlyvisible", "--pid", str(pid))


def others():
    return x("xdotool", "search", "--onlyvisible", "--classname", "other")


def fail(message):
    print("FAIL:", message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, ready, seconds=60):
    """Runs the main loop until ready() holds, or fails after SECONDS."""
    deadline = time.monotonic() + seconds
    found = []

    def poll():
        if ready():
            found.append(True)
            pyatspi.Registry.stop()
            return False
        if time.monotonic() > deadline:
            pyatspi.Registry.stop()
            return False
        return True

    GLib.timeout_add(100, poll)
    pyatspi.Registry.start()
    if not found:
        fail(f"{what} (focus on {focused()}, ours {ours()})")


pid = None
wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL)
inactive = []


def on_event(event):
    try:
        if event.type.startswith("window:deactivate") and event.source.get_process_id() == pid:
            inactive.append(event.source)
    except Exception:
        pass


# Qt sends a window's deactivation only to those who listen for its activation too.
pyatspi.Registry.registerEventListener(on_event, "window:activate", "window:deactivate")
wait_for("openbox manages the screen",
         lambda: x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")[-1:] != ["found."])
open(ready_file, "w").close()
wait_for("zelm started", lambda: os.path.exists(pid_file))
with open(pid_file) as f:
    pid = int(f.read())
wait_for("the main window has the keyboard", lambda: focused() in ours())
main = focused()
subprocess.run(["xdotool", "key", "F1"], check=True)
wait_for("About has the keyboard", lambda: focused() in ours() and focused() != main)
about = focused()

other = subprocess.Popen(["xmessage", "-name", "other", "Другая программа"],
                         stderr=subprocess.DEVNULL)
wait_for("the other program's window shows", others)
other_window = others()[0]
inactive.clear()
subprocess.run(["xdotool", "windowactivate", other_window], check=True)
wait_for("the program is told it is no longer active", lambda: inactive)
if focused() != other_window:
    fail(f"the other program lost the keyboard before About closed: {focused()}")
dialog = inactive[0]
buttons = pyatspi.findAllDescendants(dialog, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
if len(buttons) != 1:
    fail(f"About has {len(buttons)} buttons")
frame = next(w for w in dialog.getApplication() if w.getRole() == pyatspi.ROLE_FRAME)
buttons[0].queryAction().doAction(0)
wait_for("About closes", lambda: about not in ours())
# A call the program answers after what it queued as About went, a focus request included
# (AT-SPI caches no extents); the window manager then has a moment to carry that request out.
frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
for _ in range(10):
    if focused() != other_window:
        fail(f"About closed in the background took the keyboard to {focused()} (ours: {ours()})")
    time.sleep(0.1)
print("the other program kept the keyboard")
other.kill()
wm.terminate()
