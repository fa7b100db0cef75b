# The program as a screen reader sees it, through AT-SPI. Run with Debian's /usr/bin/python3
# (pyatspi is a Debian package) on the session bus of the program under test.
# Usage: atspi_client.py COMMAND [ARGS...]; exits non-zero with a message when a check fails.
import sys
import time

import re
import pyatspi

APP = "telekado"

PERSONS = ["adózó", "1. tulajdonostárs", "2. tulajdonostárs", "3. tulajdonostárs"]
OWNER_FIELDS = ["neve", "cime", "adószáma", "adóazonositó jele", "tulajdoni hányada"]

# Every field of the form: name, description (whose field it is), in the order of the form.
FIELDS = (
    [(n, PERSONS[0]) for n in OWNER_FIELDS + ["vagyoni értékű joga"]]
    + [(n, p) for p in PERSONS[1:] for n in OWNER_FIELDS]
    + [(n, "") for n in [
        "fekvési cime",
        "helyrajzi száma",
        "művelési ága",
        "aranykorona értéke",
        "A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év)",
        "a. az ingatlannyilvántartásba bejegyzett földterület teljes területe",
        "b. épület és épületnek nem minősülő épitmény alapterülete",
        "d. épület által elfoglalt hasznos alapterület",
        "e. épületnek nem minősülő épitmény által lefedett földrészlet",
        "f: helyi és helyközi menetrend szerinti közlekedés szerinti közlekedési tevékenység céjára használt "
        "(a tv. 19.§.b. pontja szerinti) földrészlet",
        "g. védő (biztonsági) terület (tv. 19.§.e. pontja szerinti) földrészlet",
        "h. erdő művelési ágban nyilvántartott terület (tv. 19.§.f. pontja szerinti)",
        "i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont)",
        "Tulajdonba kerülés, illetve változás dátuma",
        "Előző tulajdonos neve",
        "Előző tulajdonos cime",
        "Bevallás kitöltőjének neve",
        "Telefonszáma",
        "Megjegyzés",
    ]]
)

GROUPS = {
    "Változás oka": ["tulajdonjog szerzés", "ingatlan adataiban bekövetkezett változás"],
    "Az adó alanya": ["magánszemély", "jogi személyiség nélküli gazdasági társaság", "jogi személy",
                      "a magánszemélyek jogi személyiséggel nem rendelkező személyi egyesülése"],
    "Használat tipusa": ["kizárólagos tulajdonos", "résztulajdonos", "haszonélvező", "kezelői jogot gyakorló",
                         "bérlő", "egyéb"],
}

SECTIONS = ["I. AZ ADÓ ALANYA", "II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)", "III. AZ ADÓ MEGÁLLAPITÁSA", "EGYÉB"]

VALUES = ["c. beépitetlen belterületi földrészlet (a-b)", "j. levonás összesen", "k. Adóalap", "fizetendő adó"]


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == APP:
            return a
    return None


def walk(obj):
    """The object and its descendants. An object that goes while it is walked (a notification the
    program told and removes again) is left out, as a screen reader leaves it."""
    try:
        count = obj.childCount
        role = obj.getRole()
    except Exception:
        return
    if role == pyatspi.ROLE_NOTIFICATION:
        return
    yield obj
    for i in range(count):
        try:
            child = obj.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from walk(child)


def objects():
    app = application()
    if app is None:
        fail("the program is not on the accessibility bus")
    return list(walk(app))


def whose(obj):
    """The description's part that says whose field it is; a field's warning follows it after ": ",
    the form a masked field expects after "; "."""
    return re.split(": |; ", obj.description or "", 1)[0]


def named(obj, name):
    """A computed value's name carries the value after its row: "k. Adóalap: 1.250 nm2"."""
    return obj.name == name or (name in VALUES
                                and re.fullmatch(re.escape(name) + r": [0-9.]+ (nm2|Ft\.)", obj.name or ""))


def find(role, name, description=None, among=None):
    found = [o for o in (among if among is not None else objects())
             if o.getRole() == role and named(o, name)
             and (description is None or whose(o) == description)]
    if len(found) != 1:
        fail("%d objects of role %s named %r (%r), not one" % (len(found), role, name, description))
    return found[0]


def text_of(obj):
    return obj.queryText().getText(0, -1)


def until(seconds, what, check):
    end = time.time() + seconds
    while True:
        result = check()
        if result:
            return result
        if time.time() > end:
            fail("timed out waiting for " + what)
        time.sleep(0.1)


def wait_app(seconds="20"):
    until(float(seconds), "the program's main window on the accessibility bus",
          lambda: application() is not None and application().childCount > 0)


def check_tree(moment="untouched"):
    """The whole form by name and role; "untouched" also checks that nothing is chosen yet."""
    objs = objects()
    for name, description in FIELDS:
        field = find(pyatspi.ROLE_TEXT, name, description, objs)
        field.queryText()
        if not field.getState().contains(pyatspi.STATE_SHOWING):
            fail("field %r (%r) is not showing" % (name, description))
    for group, options in GROUPS.items():
        g = find(pyatspi.ROLE_PANEL, group, None, objs)
        buttons = [g.getChildAtIndex(i) for i in range(g.childCount)]
        if [b.getRole() for b in buttons] != [pyatspi.ROLE_RADIO_BUTTON] * len(options):
            fail("%r does not hold its radio buttons" % group)
        if [b.name for b in buttons] != options:
            fail("options of %r are %r" % (group, [b.name for b in buttons]))
        if moment == "untouched" and any(b.getState().contains(pyatspi.STATE_CHECKED) for b in buttons):
            fail("an option of %r is checked before any choice" % group)
    for section in SECTIONS:
        find(pyatspi.ROLE_PANEL, section, None, objs)
    for value in VALUES:
        label = find(pyatspi.ROLE_LABEL, value, None, objs)
        if moment == "untouched" and text_of(label) != "0":
            fail("%r reads %r" % (value, text_of(label)))
    # Nothing the user can reach is unnamed, and no name carries an accelerator marker.
    for o in objs:
        state = o.getState()
        reachable = state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_FOCUSABLE)
        if o.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_MENU_ITEM) and reachable \
                and not o.name:
            fail("an unnamed %s" % o.getRoleName())
        if "&" in (o.name or ""):
            fail("the name %r shows the accelerator marker" % o.name)
    menu = [o.name for o in objs if o.getRole() == pyatspi.ROLE_MENU_ITEM]
    if menu[:3] != ["Nyomtatás", "Kitöltési útmutató", "Kilépés"] and menu[-3:] != ["Nyomtatás", "Kitöltési útmutató",
                                                                                    "Kilépés"]:
        fail("menu items %r" % menu)
    print("%d objects; %d fields, %d groups, %d sections, %d values found by name"
          % (len(objs), len(FIELDS), len(GROUPS), len(SECTIONS), len(VALUES)))


def focused(name, description):
    def check():
        for o in objects():
            if o.getState().contains(pyatspi.STATE_FOCUSED) and o.getRole() == pyatspi.ROLE_TEXT:
                return o.name == name and whose(o) == description
        return False
    until(10, "the focus on %r (%r)" % (name, description), check)


def text_is(name, description, expected):
    role = pyatspi.ROLE_LABEL if name in VALUES else pyatspi.ROLE_TEXT
    until(10, "%r (%r) to read %r" % (name, description, expected),
          lambda: text_of(find(role, name, description or None)) == expected)


def focus(name, description):
    field = find(pyatspi.ROLE_TEXT, name, description or None)
    field.queryComponent().grabFocus()
    focused(name, description)


def press(name):
    button = find(pyatspi.ROLE_RADIO_BUTTON, name)
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail("%r offers %r" % (name, names))
    action.doAction(names.index("Press"))


def checked(name):
    until(10, "%r to be checked" % name,
          lambda: find(pyatspi.ROLE_RADIO_BUTTON, name).getState().contains(pyatspi.STATE_CHECKED))
    group = find(pyatspi.ROLE_RADIO_BUTTON, name).parent
    others = [group.getChildAtIndex(i) for i in range(group.childCount)]
    if sum(o.getState().contains(pyatspi.STATE_CHECKED) for o in others) != 1:
        fail("more than one option of %r is checked" % group.name)


def probe():
    """Asks every text of the window for ranges and units out of bounds, at the ends and beyond;
    each must answer at once (a hung program times the call out) and sensibly."""
    bounds = [pyatspi.TEXT_BOUNDARY_CHAR, pyatspi.TEXT_BOUNDARY_WORD_START, pyatspi.TEXT_BOUNDARY_WORD_END,
              pyatspi.TEXT_BOUNDARY_SENTENCE_START, pyatspi.TEXT_BOUNDARY_SENTENCE_END,
              pyatspi.TEXT_BOUNDARY_LINE_START, pyatspi.TEXT_BOUNDARY_LINE_END]
    asked = 0
    for o in objects():
        try:
            t = o.queryText()
        except NotImplementedError:
            continue
        whole = t.getText(0, -1)
        n = t.characterCount
        if len(whole) != n:
            fail("%r: %d characters, but the text %r" % (o.name, n, whole))
        for start, end in [(-5, 1000), (n, n + 10), (1000, 5), (n + 1, -1), (-(2 ** 31), 2 ** 31 - 1)]:
            got = t.getText(start, end)
            if got not in whole:
                fail("%r: getText(%d, %d) gave %r" % (o.name, start, end, got))
            asked += 1
        for offset in [-1, 0, n, n + 1, 10 ** 6, -(10 ** 6)]:
            for b in bounds:
                for ask in (t.getTextAtOffset, t.getTextBeforeOffset, t.getTextAfterOffset):
                    got, s, e = ask(offset, b)
                    if got and got not in whole:
                        fail("%r: %s(%d, %d) gave %r" % (o.name, ask.__name__, offset, b, got))
                    asked += 1
            t.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
            t.getAttributeRun(offset)
        t.getOffsetAtPoint(-100000, -100000, pyatspi.DESKTOP_COORDS)
        if t.getText(0, -1) != whole:
            fail("%r changed while being read" % o.name)
    print("%d out-of-range requests answered" % asked)


ACTION_ROLES = {"menu-item": pyatspi.ROLE_MENU_ITEM, "button": pyatspi.ROLE_PUSH_BUTTON}
WINDOW_ROLES = (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW)


def act(role, name):
    """Does the first action of the showing menu item or button named so, as a screen reader
    presses it. A command that opens a modal window answers only once that closes: run it apart."""
    found = [o for o in objects() if o.getRole() == ACTION_ROLES[role] and o.name == name
             and o.getState().contains(pyatspi.STATE_SHOWING)]
    if not found:
        fail("no showing %s named %r" % (role, name))
    found[0].queryAction().doAction(0)


def windows():
    app = application()
    if app is None:
        return []
    return [app.getChildAtIndex(i) for i in range(app.childCount)
            if app.getChildAtIndex(i) is not None and app.getChildAtIndex(i).getRole() in WINDOW_ROLES]


def window(name, seconds="30"):
    until(float(seconds), "a window named %r" % name,
          lambda: any(w.name == name and w.getState().contains(pyatspi.STATE_SHOWING) for w in windows()))


def no_window(name, seconds="30"):
    until(float(seconds), "the window named %r to close" % name,
          lambda: not any(w.name == name and w.getState().contains(pyatspi.STATE_SHOWING) for w in windows()))


def listen():
    """Listens to what the program tells until killed; prints a line per event."""
    def on_event(event):
        print(event.type, flush=True)
    pyatspi.Registry.registerEventListener(on_event, "object:text-changed", "object:text-caret-moved",
                                           "object:state-changed", "object:property-change", "focus:")
    print("listening", flush=True)
    pyatspi.Registry.start()


def window_named(title):
    app = application()
    if app is None:
        fail("the program is not on the accessibility bus")
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == title and w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    fail("no window %r showing" % title)


def focused_control(title):
    """Prints the role, the name and the label's caption of the control of window TITLE that has
    the focus, tab-separated."""
    def find_focused():
        for o in walk(window_named(title)):
            if o.getState().contains(pyatspi.STATE_FOCUSED) and o.getRole() not in (
                    pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW):
                return o
        return None
    found = until(10, "a control with the focus", find_focused)
    # Its name, and the caption of the label that labels it (a list box is named by its value).
    label = ""
    for relation in found.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getNTargets() > 0:
            label = (relation.getTarget(0).name or "").strip()
    print("%s\t%s\t%s" % (found.getRoleName(), (found.name or "").strip(), label))


COMMANDS = {
    "focused-control": focused_control,
    "wait-app": wait_app,
    "check-tree": check_tree,
    "focused": focused,
    "text": text_is,
    "focus": focus,
    "press": press,
    "checked": checked,
    "probe": probe,
    "listen": listen,
    "act": act,
    "window": window,
    "no-window": no_window,
}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in COMMANDS:
        fail("usage: atspi_client.py %s [ARGS...]" % "|".join(COMMANDS))
    COMMANDS[sys.argv[1]](*sys.argv[2:])
