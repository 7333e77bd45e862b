#!/usr/bin/env python3
"""A --run window as a screen reader sees it, through the real accessibility
bus: the login form's text box is found by its label's name, its default
button by its state, and the window is answered through AT-SPI alone.

Usage: atspi_login.py ZARVO LOGIN_SCRIPT
Starts itself again under dbus-run-session and xvfb-run; exits 77 (skipped)
where those tools, pyatspi or the accessibility bus are missing.
"""
import os
import shutil
import subprocess
import sys
import time

SKIP = 77
INNER = "ZARVO_ATSPI_INNER"


def skip(reason):
    print("skipped: " + reason)
    sys.exit(SKIP)


def fail(reason):
    print("FAIL: " + reason)
    sys.exit(1)


def start_inside_session():
    tools = [shutil.which(name) for name in ("dbus-run-session", "xvfb-run")]
    if not all(tools):
        skip("dbus-run-session or xvfb-run is missing (scripts/deps installs them)")
    env = dict(os.environ, **{INNER: "1"})
    command = [tools[0], "--", tools[1], "-a", sys.executable, __file__] + sys.argv[1:]
    try:
        sys.exit(subprocess.run(command, env=env, timeout=120).returncode)
    except subprocess.TimeoutExpired:
        fail("the session did not end within 120 seconds")


def walk(accessible, depth=0):
    if accessible is None or depth > 20:
        return
    yield accessible
    for i in range(accessible.childCount):
        yield from walk(accessible.getChildAtIndex(i), depth + 1)


def find_window(pyatspi, deadline):
    """The application's accessible with its text box, once Qt exposes it."""
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
            if app is not None and app.name == "zarvo":
                if any(o.getRole() == pyatspi.ROLE_TEXT for o in walk(app)):
                    return app
        time.sleep(0.2)
    return None


def labelled_by(pyatspi, accessible):
    names = []
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def check_window(pyatspi, app):
    objects = list(walk(app))
    boxes = [o for o in objects if o.getRole() == pyatspi.ROLE_TEXT and o.name == "User:"]
    if not boxes:
        fail("no text box named 'User:'; text boxes: %r" %
             [o.name for o in objects if o.getRole() == pyatspi.ROLE_TEXT])
    if labelled_by(pyatspi, boxes[0]) != ["User:"]:
        fail("the text box is labelled by %r" % labelled_by(pyatspi, boxes[0]))
    defaults = [o for o in objects if o.getRole() == pyatspi.ROLE_PUSH_BUTTON
                and o.getState().contains(pyatspi.STATE_IS_DEFAULT)]
    if [o.name for o in defaults] != ["Log in"]:
        fail("default buttons: %r" % [o.name for o in defaults])
    boxes[0].queryEditableText().setTextContents("ada")
    action = defaults[0].queryAction()
    if action.nActions < 1 or not action.doAction(0):
        fail("the default button offers no action")


def main():
    if len(sys.argv) != 3:
        fail("usage: atspi_login.py ZARVO LOGIN_SCRIPT")
    if os.environ.get(INNER) != "1":
        start_inside_session()
    try:
        import pyatspi
        pyatspi.Registry.getDesktop(0)
    except Exception as error:  # no module, or no bus to reach
        skip("the accessibility bus cannot be reached: %s" % error)

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    if "ASAN_OPTIONS" in env:
        # libxkbcommon-x11 copies X atom names, which end without a NUL, with
        # strndup and their length; strict_string_checks reads on to a NUL.
        env["ASAN_OPTIONS"] += ":strict_string_checks=0"
    zarvo = subprocess.Popen([sys.argv[1], "--run", sys.argv[2]], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        app = find_window(pyatspi, time.monotonic() + 30)
        if app is None:
            zarvo.kill()
            fail("zarvo's window never appeared on the accessibility bus: %r" % (zarvo.communicate(),))
        check_window(pyatspi, app)
        out, err = zarvo.communicate(timeout=30)
    finally:
        if zarvo.poll() is None:
            zarvo.kill()
            zarvo.wait()
    expected = "txtUser='ada'\ncboServer='eu.example.org'\nchkRemember='0'\nbutton='cmdOk'\n"
    if zarvo.returncode != 0 or out != expected:
        fail("zarvo exited with %d, printed %r and on standard error %r" % (zarvo.returncode, out, err))
    print("ok: the text box is named by its label, and the default button answered the window")


if __name__ == "__main__":
    main()
