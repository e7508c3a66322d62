# Walks the accessibility tree of the running program over AT-SPI, as a
# screen reader sees it: every control that takes the focus and shows has a
# name of its own. Opens the class-set dialog through its menu item and walks
# it too. Exit status 0 when all is well; the faults on standard output.
#   /usr/bin/python3 scripts/a11y_walk.py APPLICATION-NAME
import subprocess
import sys
import time

import pyatspi


def find(predicate, root, wait=15.0):
    end = time.time() + wait
    while time.time() < end:
        for node in walk(root):
            if predicate(node):
                return node
        time.sleep(0.3)
    return None


def walk(node):
    if node is None:
        return
    yield node
    try:
        # A combo box's list is its popup, not a stop of its own.
        count = 0 if node.getRoleName() == "combo box" else node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            yield from walk(node.getChildAtIndex(i))
        except Exception:
            continue


def faults_of(window):
    faults, seen = [], {}
    for node in walk(window):
        state = node.getState()
        if not (state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SHOWING)):
            continue
        name = (node.name or "").strip()
        if not name:
            faults.append("%s without a name" % node.getRoleName())
        elif name in seen:
            faults.append("two controls named %r (%s, %s)" % (name, seen[name].getRoleName(), node.getRoleName()))
        seen[name] = node
    return faults, len(seen)


def open_menu_item(name, caption):
    desktop = pyatspi.Registry.getDesktop(0)
    app = find(lambda n: n.getRoleName() == "application" and n.name == name, desktop)
    item = find(lambda n: n.getRoleName() == "menu item" and (n.name or "").startswith(caption), app)
    try:
        item.queryAction().doAction(0)
    except Exception:
        pass  # no reply while the dialog was open
    return 0


def main():
    if sys.argv[1] == "--open":
        return open_menu_item(sys.argv[2], sys.argv[3])
    name = sys.argv[1]
    desktop = pyatspi.Registry.getDesktop(0)
    app = find(lambda n: n.getRoleName() == "application" and n.name == name, desktop)
    if app is None:
        print("the program never appeared on the accessibility bus")
        return 1
    window = find(lambda n: n.getRoleName() in ("frame", "window", "filler") and n.name == name and n.getState().contains(pyatspi.STATE_SHOWING), app)
    if window is None:
        print("the window never showed")
        return 1
    # Its controls come up a moment after the window itself.
    for _ in range(50):
        faults, named = faults_of(window)
        if named > 20:
            break
        time.sleep(0.2)
    print("window: %d named controls" % named)
    # The class-set dialog, opened through its menu item. The item's action
    # returns only when the modal dialog closes, so another process asks for it.
    opener = subprocess.Popen([sys.executable, __file__, "--open", name, "まとめて作成"])
    dialog = find(lambda n: n.getRoleName() == "dialog" and n.name == "まとめて作成", app)
    if dialog is None:
        faults.append("the class-set dialog did not open")
    else:
        time.sleep(0.5)
        more, named = faults_of(dialog)
        print("class-set dialog: %d named controls" % named)
        faults += ["class-set dialog: " + f for f in more]
        cancel = find(lambda n: n.getRoleName() == "push button" and n.name == "キャンセル", dialog)
        if cancel is not None:
            cancel.queryAction().doAction(0)
    try:
        opener.wait(timeout=30)
    except subprocess.TimeoutExpired:
        opener.kill()
    for fault in faults:
        print(fault)
    return 1 if faults else 0


sys.exit(main())
