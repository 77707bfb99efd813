"""Reads the main window's layout from app/MainLayout.h, the one place that
says where its controls sit, so the pictures are drawn where the program puts
them.  Only the forms that header uses are understood: one constant per line,
inside namespaces that open with `namespace Name {` and close with `}`."""

import os
import re

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                      "..", "..", "app", "MainLayout.h")

_NAMESPACE = re.compile(r"^\s*namespace\s+(\w+)\s*\{")
_RECT = re.compile(r"constexpr\s+Rect\s+(\w+)\{\s*(-?\d+),\s*(-?\d+),\s*(-?\d+),\s*(-?\d+)\s*\};")
_COLOUR = re.compile(r"constexpr\s+unsigned\s+long\s+(\w+)\s*=\s*Rgb\((\d+),\s*(\d+),\s*(\d+)\);")
_INTS = re.compile(r"(\w+)\s*=\s*(-?\d+)")


class Layout:
    """Rectangles as (left, top, width, height), colours as (r, g, b) and
    whole numbers, each under its name with the namespaces inside MainLayout
    before it: "MyGraphicBtn3", "IETFrame.MyGraphicBtn2", "Header.Image"."""

    def __init__(self, path=HEADER):
        self.rects, self.colours, self.ints = {}, {}, {}
        scope = []   # one entry per open brace: a namespace's name, or None
        with open(path, encoding="utf-8") as f:
            for line in f:
                code = line.split("//", 1)[0]
                opened = _NAMESPACE.match(code)
                names = [n for n in scope[1:] if n]
                prefix = "".join(n + "." for n in names)
                for ch in code:
                    if ch == "{":
                        scope.append(opened.group(1) if opened else None)
                        opened = None
                    elif ch == "}" and scope:
                        scope.pop()
                m = _RECT.search(code)
                if m:
                    self.rects[prefix + m.group(1)] = tuple(int(v) for v in m.group(2, 3, 4, 5))
                    continue
                m = _COLOUR.search(code)
                if m:
                    self.colours[prefix + m.group(1)] = tuple(int(v) for v in m.group(2, 3, 4))
                    continue
                if re.search(r"constexpr\s+int\s", code):
                    for name, value in _INTS.findall(code):
                        self.ints[prefix + name] = int(value)

    def rect(self, name):
        return self.rects[name]

    def box(self, name, origin=(0, 0)):
        """The rectangle as an inclusive box, moved by origin."""
        l, t, w, h = self.rects[name]
        return (l + origin[0], t + origin[1], l + origin[0] + w - 1, t + origin[1] + h - 1)

    def size(self, name):
        return self.rects[name][2:]

    def colour(self, name):
        return self.colours[name]
