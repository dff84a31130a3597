"""What a screen reader is told, read on the AT-SPI bus while xdotool drives the window.

Prints "focus ROLE «NAME» — DESCRIPTION" for each control that takes the focus (NAME is
its label's caption where a label names it, as a reader speaks it) and "inserted «TEXT»
into «NAME»" for text written into a field without the focus, which Orca does not speak.
Checks that each Tab stop is heard in order by its name and none as a frame, that
Enter on the worked example writes the result into the result field, whose description
says where the result appears, and shows exactly one notification named by the result,
which answers every call at once, as its parent does; and that a focused field's text,
read by its attribute runs as Orca reads a line, is its whole value.
Usage: screen_reader.py READY PIDFILE
Listens first and then creates READY; zelm is started after that, and its PID written to
PIDFILE once its window shows. A program started before the listener can miss the
registration of a kind of event and never send it.
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

ready_file, pid_file = sys.argv[1], sys.argv[2]
pid = None
heard = []
failures = []


def ours(accessible):
    try:
        return accessible.get_process_id() == pid
    except Exception:
        return False


def spoken_name(accessible):
    """The caption a reader speaks: the label's, where a label names the control."""
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return accessible.name


def read_by_runs(accessible):
    """The text as Orca 43 speaks a line: by attribute runs, joined while the language
    stays the same, from the first run's start to the last one's end."""
    text = accessible.queryText()
    runs = []
    offset = 0
    while offset < text.characterCount:
        attributes, start, end = text.getAttributeRun(offset)
        language = dict(a.split(":", 1) for a in attributes).get("language", "")
        if runs and runs[-1][2] == language:
            runs[-1][1] = end
        else:
            runs.append([max(start, offset), end, language])
        offset = max(end, offset + 1)
    return "".join(text.getText(start, end) for start, end, _ in runs)


def field_texts(accessible):
    """(whole text, text read by runs) of a focused field, or of a combo box's edit part."""
    fields = [accessible] + [child for child in accessible
                             if child and child.getRole() == pyatspi.ROLE_TEXT]
    return [(f.queryText().getText(0, -1), read_by_runs(f)) for f in fields
            if f.getRole() == pyatspi.ROLE_TEXT]


def unanswered(notice):
    """The calls a reader makes on a notification and around it that fail or time out."""
    # From here on a call fails after 2 s, even while zelm counts as starting (15 s): a
    # reader asking a hung program would hang with it.
    pyatspi.setTimeout(2000, 2000)
    failed = []

    def ask(what, call):
        try:
            return call()
        except Exception as error:
            failed.append(f"{what}: {error}")
            return None

    parent = ask("parent", lambda: notice.parent)
    for who, obj in (("notification", notice), ("its parent", parent)):
        if obj is None:
            continue
        calls = [("name", lambda: obj.name), ("description", lambda: obj.description),
                 ("role", obj.getRole), ("role name", obj.getRoleName),
                 ("localized role name", obj.getLocalizedRoleName), ("state", obj.getState),
                 ("attributes", obj.getAttributes), ("relations", obj.getRelationSet),
                 ("application", obj.getApplication), ("interfaces", obj.get_interfaces),
                 ("children", lambda: [obj.getChildAtIndex(i) for i in range(obj.childCount)])]
        for what, call in calls:
            ask(f"{who} {what}", call)
    index = ask("index in parent", notice.getIndexInParent)
    if parent is not None and index is not None:
        if ask("child at its index", lambda: parent.getChildAtIndex(index)) != notice:
            failed.append(f"its parent does not list it at its index {index}")
    # Up to the application, as a reader looks for the window it belongs to.
    ancestor = parent
    while ancestor is not None and ask("ancestor role", ancestor.getRole) not in (
            None, pyatspi.ROLE_APPLICATION):
        ancestor = ask("ancestor's parent", lambda: ancestor.parent)
    return failed


def on_event(event):
    if not ours(event.source):
        return
    source = event.source
    if event.type.startswith("object:state-changed:focused") and event.detail1:
        heard.append(("focus", source.getRole(), spoken_name(source), source.description))
        for whole, read in field_texts(source):
            if read != whole:
                failures.append(f"«{spoken_name(source)}» holds «{whole}», read as «{read}»")
    elif (event.type.startswith("object:state-changed:showing") and event.detail1
          and source.getRole() == pyatspi.ROLE_NOTIFICATION):
        heard.append(("notification", source.name, unanswered(source), ""))
    elif (event.type.startswith("object:text-changed:insert")
          and not source.getState().contains(pyatspi.STATE_FOCUSED)):
        # Text written into a field without the focus, which Orca does not speak.
        heard.append(("inserted", str(event.any_data), spoken_name(source), source.description))


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)


def typed(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


# The Tab stops after the result field, in order, and the result field again. Roles are
# compared as AT-SPI's constants: their English names change between releases of at-spi2.
tab_stops = [
    (pyatspi.ROLE_TEXT, "Объём вод-ща (W), м.куб"),
    (pyatspi.ROLE_TEXT, "Ширина плотины (B), м"),
    (pyatspi.ROLE_TEXT, "Глубина (H)  у основания"),
    (pyatspi.ROLE_TEXT, "Ср.расход (Q) притока"),
    (pyatspi.ROLE_TEXT, "Расстояние (L) до перехода, м"),
    (pyatspi.ROLE_COMBO_BOX, "для новых плотин k-0.50 для других k-0.75"),
    (pyatspi.ROLE_COMBO_BOX, "Коэф.условия прохождения волны"),
    (pyatspi.ROLE_PUSH_BUTTON, "OK"),
    (pyatspi.ROLE_PUSH_BUTTON, "Выход"),
    (pyatspi.ROLE_IMAGE, "Верхний бьеф"),
    (pyatspi.ROLE_TEXT, "Расход воды, м.куб/сек"),
]
steps = [lambda: key("Tab")] * len(tab_stops) + [
    # The worked example from the volume on, and Enter in the inflow field.
    lambda: (key("Tab"), typed("1000000"), key("Tab"), typed("100"), key("Tab"), typed("16"),
             key("Tab"), typed("10")),
    lambda: key("Return"),
    # Back to the result field, which must be read whole.
    lambda: key("shift+Tab"), lambda: key("shift+Tab"), lambda: key("shift+Tab"),
    lambda: key("shift+Tab"),
    lambda: key("F9"),
]


# The first key after a second, then each next one once the last has been heard from and
# 300 ms have passed without another event (5 s at most, for a key nobody hears).
pace = {"heard": 0, "quiet": 0, "waited": -1000, "answered": True}


def tick():
    global pid
    if pid is None:
        try:
            with open(pid_file) as f:
                pid = int(f.read())
        except (OSError, ValueError):
            return True
    pace["quiet"] = pace["quiet"] + 100 if len(heard) == pace["heard"] else 0
    pace["answered"] = pace["answered"] or len(heard) > pace["heard"]
    pace["heard"] = len(heard)
    pace["waited"] += 100
    if (pace["answered"] and pace["quiet"] >= 300 and pace["waited"] >= 0) or pace["waited"] >= 5000:
        if not steps:
            pyatspi.Registry.stop()
            return False
        pace.update(waited=0, quiet=0, answered=False)
        steps.pop(0)()
    return True


pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused",
                                       "object:state-changed:showing",
                                       "object:text-changed:insert")
GLib.timeout_add(100, tick)
open(ready_file, "w").close()
pyatspi.Registry.start()

for line in heard:
    what, a, b, description = line
    if what == "notification":
        print(f"notification «{a}»")
        continue
    print(f"{what} {a} «{b}»" + (f" — {description}" if description and what == "focus" else "")
          if what == "focus" else f"inserted «{a}» into «{b}»")

focus = [(role, name) for what, role, name, _ in heard if what == "focus"]
if any(role == pyatspi.ROLE_FRAME for role, _ in focus):
    failures.append("a Tab stop is spoken as a frame")
# Each Tab stop in order, as the first focus after its key (a combo box's edit part and the
# box may both report it).
seen = iter(focus)
for stop in tab_stops:
    if stop not in seen:
        failures.append(f"Tab stop {stop} not heard in order: {focus}")
        break
inserted = [(text, name, description) for what, text, name, description in heard
            if what == "inserted"]
# The worked example's result, in a point or a comma locale.
results = ("1240.769", "1240,769")
result = [i for i in inserted if i[0] in results and i[1] == "Расход воды, м.куб/сек"]
if not result:
    failures.append(f"the result was not written into the result field: {inserted}")
elif "OK" not in result[0][2]:
    failures.append(f"the result field does not say where the result appears: {result[0][2]}")
notices = [(name, failed) for what, name, failed, _ in heard if what == "notification"]
if len(notices) != 1 or notices[0][0] not in results:
    failures.append(f"not exactly one notification of the result: {notices}")
for name, failed in notices:
    if failed:
        failures.append(f"the notification «{name}» or its parent does not answer: {failed}")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
