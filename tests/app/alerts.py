"""Prints, as a screen reader finds them over AT-SPI, the alerts an
application shows: "alert: TITLE | TEXTS". Waits up to SECONDS for one."""
import sys
import time

import pyatspi


def alerts(node, depth=0):
    if node is None or depth > 12:
        return
    try:
        role = node.getRoleName()
        children = list(node)
    except Exception:  # an object gone while it was read
        return
    if role == "alert":
        texts = [child.name for child in children if child is not None and child.name]
        yield "alert: %s | %s" % (node.name, " / ".join(texts))
    for child in children:
        yield from alerts(child, depth + 1)


def main(application, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == application:
                found = list(alerts(app))
                if found:
                    print("\n".join(found))
                    return 0
        time.sleep(0.3)
    print("no alert from %s" % application)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], float(sys.argv[2])))
