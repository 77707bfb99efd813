"""Quelmain's main window: the skin, every picture button on it, the item
groups' header strip and icons, their two buttons, and the settings page.

Places come from app/MainLayout.h.  A button's pictures are drawn over a copy
of the skin where the button sits, so a button and its surroundings always
meet without a seam, and a label's place on the skin is one flat colour, the
one it is told to fill with."""

import math
import os
import re

from drawing.kit import *  # noqa: F401,F403 - the kit is this module's vocabulary
from drawing import icons
from drawing.layout import Layout

LAYOUT = Layout()
SKIN_W, SKIN_H = LAYOUT.size("Form")

PAGE = LAYOUT.colour("PageColor")
HEADER = LAYOUT.colour("HeaderColor")
HEADER_INK = LAYOUT.colour("HeaderTextColor")
DISPLAY = LAYOUT.colour("DisplayColor")

BODY_TOP = (192, 195, 201)        # the window's face, lit from above
BODY_BOTTOM = (154, 158, 166)
CAP_TOP = (86, 106, 138)          # the title cap
CAP_BOTTOM = (44, 58, 82)
RIM_OUTER = (36, 42, 52)
RIM_LIGHT = (228, 232, 238)
RIM_MID = (178, 183, 191)
WELL_SHADOW = (116, 122, 134)     # sunken edges: the outer line and the line inside it
WELL_DARK = (74, 80, 92)
WELL_LIGHT = (236, 239, 243)
PANEL_TOP = (210, 213, 219)
PANEL_BOTTOM = (190, 194, 201)
PANEL_EDGE = (128, 134, 146)
DISPLAY_EDGE = (20, 24, 32)
CAPTION_INK = (52, 60, 74)        # texts drawn on the panels
SOFT_INK = (88, 96, 112)
ACCENT = icons.SWEEP_BLUE
ACCENT_TOP = (92, 152, 232)
ACCENT_BOTTOM = (36, 86, 170)
ACCENT_EDGE = (22, 50, 104)
CLOSE_RED = (206, 64, 52)

# Where the cap ends, and the panels that the layout's controls sit in; each
# grows from the controls inside it, so moving a control moves its panel.
CAP_BOTTOM_ROW = 57


def _grow(box, dx, dy=None):
    dy = dx if dy is None else dy
    l, t, r, b = box
    return (l - dx, t - dy, r + dx, b + dy)


def _union(*boxes):
    return (min(b[0] for b in boxes), min(b[1] for b in boxes),
            max(b[2] for b in boxes), max(b[3] for b in boxes))


WELL = _grow(_union(LAYOUT.box("MainFrame"), LAYOUT.box("StretchScroll1")), 2)
GROUP_DISPLAY = _grow(LAYOUT.box("MyGraphicLabel3"), 6, 4)
_WIPES = _union(*(LAYOUT.box(n) for n in ("MyGraphicBtn4", "MyGraphicBtn5", "MyGraphicBtn8")))
# The wipe-mode panel starts level with the page buttons and has its title above the modes.
WIPE_PANEL = (_WIPES[0] - 6, LAYOUT.rect("WhatClBtn")[1], _WIPES[2] + 6, _WIPES[3] + 8)


def _time_display(label):
    l, t, r, b = LAYOUT.box(label)
    return (WIPE_PANEL[0] + 6, t - 6, WIPE_PANEL[2] - 6, b + 8)


LAST_DISPLAY = _time_display("MyGraphicLabel4")
NEXT_DISPLAY = _time_display("MyGraphicLabel5")
TIMES_PANEL = (WIPE_PANEL[0], WIPE_PANEL[3] + 8, WIPE_PANEL[2], WELL[3])
HINT_DISPLAY = (WELL[0] + 4, LAYOUT.box("MyGraphicBtn3")[1], WELL[2], LAYOUT.box("MyGraphicBtn3")[3])


# ---------------------------------------------------------------------------
# The outline: the rounded corners and the notch that the window's region
# cuts (controls/Tifacecreator), read from there so the two cannot part.
# ---------------------------------------------------------------------------

CONTROLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "controls")


def _outline_numbers():
    with open(os.path.join(CONTROLS, "Tifacecreator.h"), encoding="utf-8") as f:
        m = re.search(r"class TMFmClass.*?TCornerKeeper\((\d+),\s*(\d+),\s*(\d+),\s*(\d+)\)",
                      f.read(), re.S)
    diameters = [int(v) for v in m.groups()]
    with open(os.path.join(CONTROLS, "Tifacecreator.cpp"), encoding="utf-8") as f:
        body = f.read()
    notch = []
    for x, y in re.findall(r"points\[\d\]\s*=\s*\{([^,]+),([^}]+)\};", body):
        values = []
        for expr in (x, y):
            expr = expr.strip().replace("height", str(SKIN_H)).replace("/", "//")
            assert re.fullmatch(r"[\d\s+\-*/()]+", expr), expr
            values.append(eval(expr))    # digits and arithmetic only, checked above
        notch.append(tuple(values))
    return diameters, notch[:3]


def _outline_path():
    """The outline as a clockwise polygon in continuous coordinates (pixel
    (x, y) covers x..x+1, y..y+1)."""
    (d0, d1, d2, d3), notch = _outline_numbers()
    w, h = SKIN_W, SKIN_H
    pts = []

    def arc(cx, cy, r, a0, a1):
        n = max(8, int(abs(a1 - a0) * r))
        for i in range(n + 1):
            a = a0 + (a1 - a0) * i / n
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))

    arc(d0 / 2, d0 / 2, d0 / 2, math.pi, 1.5 * math.pi)
    arc(w - d1 / 2, d1 / 2, d1 / 2, 1.5 * math.pi, 2 * math.pi)
    arc(w - d2 / 2, h - d2 / 2, d2 / 2, 0, 0.5 * math.pi)
    arc(d3 / 2, h - d3 / 2, d3 / 2, 0.5 * math.pi, math.pi)
    # The notch, met going up the left edge: its lower end first.
    pts += sorted(notch, key=lambda p: -p[1])[:1] + [max(notch, key=lambda p: p[0])] + \
        sorted(notch, key=lambda p: p[1])[:1]
    clean = []
    for p in pts:
        if not clean or math.hypot(p[0] - clean[-1][0], p[1] - clean[-1][1]) > 1e-6:
            clean.append(p)
    return clean


def _inset(path, d):
    """The polygon moved inwards by d: each corner along its bisector."""
    n = len(path)
    out = []
    for i in range(n):
        (x0, y0), (x1, y1), (x2, y2) = path[i - 1], path[i], path[(i + 1) % n]
        normals = []
        for ax, ay, bx, by in ((x0, y0, x1, y1), (x1, y1, x2, y2)):
            length = math.hypot(bx - ax, by - ay)
            normals.append((-(by - ay) / length, (bx - ax) / length))
        mx, my = normals[0][0] + normals[1][0], normals[0][1] + normals[1][1]
        ml = math.hypot(mx, my)
        mx, my = mx / ml, my / ml
        scale = d / max(mx * normals[0][0] + my * normals[0][1], 0.3)
        out.append((x1 + mx * scale, y1 + my * scale))
    return out


def outline_mask(inset=0.0):
    """An L mask of the window's outline moved in by inset pixels, with soft
    edges."""
    s = 4
    big = Image.new("L", (SKIN_W * s, SKIN_H * s), 0)
    ImageDraw.Draw(big).polygon([(x * s, y * s) for x, y in _inset(_outline_path(), inset)],
                                fill=255)
    return big.resize((SKIN_W, SKIN_H), Image.BOX)


# ---------------------------------------------------------------------------
# Parts of the skin.
# ---------------------------------------------------------------------------

def sunken_well(img, box):
    """Two-line sunken edge around box (the lines are part of box)."""
    l, t, r, b = box
    draw = ImageDraw.Draw(img)
    draw.line((l, t, r - 1, t), fill=WELL_SHADOW)
    draw.line((l, t, l, b - 1), fill=WELL_SHADOW)
    draw.line((l, b, r, b), fill=WELL_LIGHT)
    draw.line((r, t, r, b), fill=WELL_LIGHT)
    draw.line((l + 1, t + 1, r - 2, t + 1), fill=WELL_DARK)
    draw.line((l + 1, t + 1, l + 1, b - 2), fill=WELL_DARK)


def raised_panel(img, box, radius=6):
    """A lighter panel standing a little off the window's face."""
    on_region(img, box, lambda part, local: _raised_panel(part, local, radius))


def _raised_panel(img, box, radius):
    l, t, r, b = box
    rounded_panel(img, (l, t + 1, r, b + 1), radius, (250, 251, 253))      # lit lower lip
    mask = rounded_mask(img.size, box, radius)
    edge = img.copy()
    fill_box(edge, box, PANEL_EDGE)
    img.paste(edge, (0, 0), mask)
    inner = (l + 1, t + 1, r - 1, b - 1)
    gradient_through(img, inner, PANEL_TOP, PANEL_BOTTOM, rounded_mask(img.size, inner, radius - 1))
    ImageDraw.Draw(img).line((l + radius, t + 1, r - radius, t + 1), fill=(236, 238, 242))


def display(img, box, radius=4):
    """A dark recessed display; inside its edge it is one flat colour."""
    on_region(img, box, lambda part, local: _display(part, local, radius))


def _display(img, box, radius):
    l, t, r, b = box
    rounded_panel(img, (l, t, r, b + 1), radius, mix(BODY_BOTTOM, WHITE, 0.55))   # lit lip
    rounded_panel(img, box, radius, DISPLAY_EDGE)
    rounded_panel(img, (l + 1, t + 1, r - 1, b - 1), radius - 1, DISPLAY)


def glyph_clock(img, cx, cy, colour):
    on_region(img, (cx - 8, cy - 8, cx + 8, cy + 8),
              lambda part, local: _glyph_clock(part, local[0] + 8, local[1] + 8, colour))


def _glyph_clock(img, cx, cy, colour):
    def paint(draw, s):
        draw.ellipse(((cx - 6.5) * s, (cy - 6.5) * s, (cx + 6.5) * s, (cy + 6.5) * s), outline=colour,
                     width=int(1.6 * s))
        draw.line(((cx) * s, (cy - 4) * s, cx * s, cy * s, (cx + 3) * s, cy * s), fill=colour,
                  width=int(1.6 * s))
    smooth(img, paint)


def glyph_hourglass(img, cx, cy, colour):
    on_region(img, (cx - 8, cy - 8, cx + 8, cy + 8),
              lambda part, local: _glyph_hourglass(part, local[0] + 8, local[1] + 8, colour))


def _glyph_hourglass(img, cx, cy, colour):
    def paint(draw, s):
        draw.polygon([((cx - 5) * s, (cy - 7) * s), ((cx + 5) * s, (cy - 7) * s),
                      (cx * s, cy * s), ((cx + 5) * s, (cy + 7) * s),
                      ((cx - 5) * s, (cy + 7) * s), (cx * s, cy * s)], fill=colour)
        draw.polygon([((cx - 3) * s, (cy - 5.3) * s), ((cx + 3) * s, (cy - 5.3) * s),
                      (cx * s, (cy - 1.5) * s)], fill=DISPLAY)
    smooth(img, paint)


def glyph_info(img, cx, cy, colour, ink):
    on_region(img, (cx - 9, cy - 9, cx + 9, cy + 9),
              lambda part, local: _glyph_info(part, local[0] + 9, local[1] + 9, colour, ink))


def _glyph_info(img, cx, cy, colour, ink):
    def paint(draw, s):
        draw.ellipse(((cx - 7) * s, (cy - 7) * s, (cx + 7) * s, (cy + 7) * s), fill=colour)
        draw.ellipse(((cx - 1.3) * s, (cy - 4.8) * s, (cx + 1.3) * s, (cy - 2.2) * s), fill=ink)
        draw.rectangle(((cx - 1.2) * s, (cy - 0.8) * s, (cx + 1.2) * s, (cy + 4.6) * s), fill=ink)
    smooth(img, paint)


def title(img):
    """The cap with the program's mark and name."""
    mark = icons.quelmain_icon(36)
    img.paste(mark, (36, 11), mark)
    big = logo_font(27)
    draw = ImageDraw.Draw(img)
    x, y = 82, 8
    draw.text((x + 1, y + 2), "Quelora", font=big, fill=mix(CAP_BOTTOM, (0, 0, 0), 0.4))
    draw.text((x, y), "Quelora", font=big, fill=WHITE)
    text_left(img, x + 2, 40, 48, "PRIVACY CLEANER", bold_font(9), (176, 194, 222), spacing=2)


@picture("main_skin.bmp")
def draw_main_skin():
    return skin().copy()


def paint_skin():
    # The rim: a dark edge two pixels deep, so that it stays unbroken wherever
    # the system's region rounds the outline a pixel either way, then a lit line.
    img = new_image(SKIN_W, SKIN_H, RIM_OUTER)
    for inset, colour in ((2, RIM_LIGHT), (3, RIM_MID)):
        layer = new_image(SKIN_W, SKIN_H, colour)
        img.paste(layer, (0, 0), outline_mask(inset))
    body = outline_mask(4)
    gradient_through(img, (0, 0, SKIN_W - 1, SKIN_H - 1), BODY_TOP, BODY_BOTTOM, body)

    # The cap: darker steel across the top, ending in a lit edge.
    cap = Image.new("L", img.size, 0)
    cap.paste(outline_mask(2).crop((0, 0, SKIN_W, CAP_BOTTOM_ROW + 1)), (0, 0))
    gradient_through(img, (0, 0, SKIN_W - 1, CAP_BOTTOM_ROW), CAP_TOP, CAP_BOTTOM, cap)
    lip = Image.new("L", img.size, 0)
    lip.paste(body.crop((0, CAP_BOTTOM_ROW + 1, SKIN_W, CAP_BOTTOM_ROW + 2)),
              (0, CAP_BOTTOM_ROW + 1))
    img.paste(new_image(SKIN_W, SKIN_H, (214, 220, 230)), (0, 0), lip)
    title(img)

    # The page and the scroll bar's groove beside it.
    sunken_well(img, WELL)
    fill_box(img, LAYOUT.box("MainFrame"), PAGE)
    l, t, r, b = LAYOUT.box("StretchScroll1")
    for x in range(l, r + 1):
        half = (r - l) / 2
        k = abs(x - l - half) / half
        ImageDraw.Draw(img).line((x, t, x, b), fill=mix(TRACK_MID, TRACK_EDGE, k * k))

    display(img, GROUP_DISPLAY)

    raised_panel(img, WIPE_PANEL)
    top = WIPE_PANEL[1]
    text_left(img, WIPE_PANEL[0] + 8, top + 5, LAYOUT.rect("MyGraphicBtn4")[1] - 4,
              "WIPE MODE", bold_font(10), CAPTION_INK, spacing=1)

    raised_panel(img, TIMES_PANEL)
    for box, caption, glyph in ((LAST_DISPLAY, "LAST CLEAN", glyph_clock),
                                (NEXT_DISPLAY, "NEXT CLEAN IN", glyph_hourglass)):
        text_left(img, box[0] + 2, box[1] - 15, box[1] - 3, caption, bold_font(10), CAPTION_INK,
                  spacing=1)
        display(img, box)
        glyph(img, box[0] + 13, (box[1] + box[3]) // 2, (110, 140, 176))

    display(img, HINT_DISPLAY, radius=6)
    glyph_info(img, HINT_DISPLAY[0] + 11, (HINT_DISPLAY[1] + HINT_DISPLAY[3]) // 2,
               (92, 126, 178), DISPLAY)

    # Every label's place is flat, in the colour the label fills with.
    for name in ("MyGraphicLabel1", "MyGraphicLabel3", "MyGraphicLabel4", "MyGraphicLabel5"):
        fill_box(img, LAYOUT.box(name), DISPLAY)
    return img


_SKIN = []


def skin():
    """The skin, drawn once and shared by the buttons cut from it."""
    if not _SKIN:
        _SKIN.append(paint_skin())
    return _SKIN[0]


def place(name):
    """A copy of the skin where the control of that name sits."""
    return crop(skin(), LAYOUT.box(name))


# ---------------------------------------------------------------------------
# Push buttons: normal, lit under the pointer, pressed.
# ---------------------------------------------------------------------------

STATES = ("normal", "lit", "pressed")


def clean_button(state):
    img = place("MyGraphicBtn3")
    w, h = img.size
    box = (0, 0, w - 1, h - 1)
    top, bottom = {"normal": (ACCENT_TOP, ACCENT_BOTTOM),
                   "lit": (mix(ACCENT_TOP, WHITE, 0.18), mix(ACCENT_BOTTOM, ACCENT_TOP, 0.25)),
                   "pressed": (mix(ACCENT_BOTTOM, (0, 0, 0), 0.1), ACCENT_TOP)}[state]
    face = img.copy()
    fill_box(face, box, ACCENT_EDGE)
    img.paste(face, (0, 0), rounded_mask(img.size, box, 9))
    inner = (1, 1, w - 2, h - 2)
    gradient_through(img, inner, top, bottom, rounded_mask(img.size, inner, 8))
    if state != "pressed":
        gloss = img.copy()
        vertical_gradient(gloss, (2, 2, w - 3, h // 2), mix(top, WHITE, 0.35), mix(top, bottom, 0.45))
        img.paste(gloss, (0, 0), rounded_mask(img.size, (2, 2, w - 3, h // 2), 7))
    shift = 1 if state == "pressed" else 0
    font = heading_font(21)
    label = "Clean"
    tw = text_width(label, font)
    x = (w - tw - 26) // 2 + 26 + shift
    sweep = Image.new("RGBA", (22, 22), (0, 0, 0, 0))
    sweep.alpha_composite(icons.vector(22, lambda d, u: icons.sparkle(d, u, 24, 24, 22, (255, 255, 255, 255))))
    img.paste(sweep, (x - 30, (h - 22) // 2 + shift), sweep)
    small = Image.new("RGBA", (11, 11), (0, 0, 0, 0))
    small.alpha_composite(icons.vector(11, lambda d, u: icons.sparkle(d, u, 24, 24, 22, (255, 255, 255, 220))))
    img.paste(small, (x - 13, (h - 22) // 2 - 2 + shift), small)
    text_left(img, x + 1, shift + 1, h - 1 + shift + 1, label, font, ACCENT_EDGE)
    text_left(img, x, shift, h - 1 + shift, label, font, WHITE)
    return img


@picture("main_clean.bmp")
def draw_clean():
    return strip([clean_button(s) for s in STATES])


def cap_button(name, state, glyph, danger=False):
    img = place(name).convert("RGBA")
    w, h = img.size
    face = {"normal": (255, 255, 255, 34), "lit": (255, 255, 255, 70),
            "pressed": (0, 0, 0, 60)}[state]
    if danger and state != "normal":
        face = CLOSE_RED + (255,) if state == "lit" else mix(CLOSE_RED, (0, 0, 0), 0.25) + (255,)
    ring = (255, 255, 255, 90) if state != "pressed" else (0, 0, 0, 90)

    def paint(draw, s):
        draw.rounded_rectangle((0, 0, w * s - 1, h * s - 1), radius=5 * s, fill=ring)
        draw.rounded_rectangle((s, s, (w - 1) * s - 1, (h - 1) * s - 1), radius=4 * s, fill=face)
    layer = Image.new("RGBA", (w * SUPERSAMPLE, h * SUPERSAMPLE), (0, 0, 0, 0))
    paint(ImageDraw.Draw(layer), SUPERSAMPLE)
    img.alpha_composite(layer.resize((w, h), Image.BOX))
    img = img.convert("RGB")
    shift = 1 if state == "pressed" else 0
    glyph(img, shift)
    return img


def glyph_question(img, shift):
    text_centred(img, (0, 0, img.width - 1, img.height - 1), "?", heading_font(15), WHITE,
                 (shift, shift))


def glyph_minimize(img, shift):
    fill_box(img, (6 + shift, 14 + shift, 15 + shift, 16 + shift), WHITE)


def glyph_close(img, shift):
    def paint(draw, s):
        a, b = (6.5 + shift) * s, (15.5 + shift) * s
        draw.line((a, a, b, b), fill=WHITE, width=int(2.2 * s))
        draw.line((a, b, b, a), fill=WHITE, width=int(2.2 * s))
    smooth(img, paint)


@picture("main_help.bmp")
def draw_help():
    return strip([cap_button("MyGraphicBtn1", s, glyph_question) for s in STATES])


@picture("main_minimize.bmp")
def draw_minimize():
    return strip([cap_button("MyGraphicBtn7", s, glyph_minimize) for s in STATES])


@picture("main_close.bmp")
def draw_close():
    return strip([cap_button("MyGraphicBtn6", s, glyph_close, danger=True) for s in STATES])


# ---------------------------------------------------------------------------
# Latching buttons: the wipe modes and the two page tabs, up and chosen.
# ---------------------------------------------------------------------------

WIPE_MODES = (("MyGraphicBtn4", "0", "Fastest", "plain deletion"),
              ("MyGraphicBtn5", "1", "Medium", "1 pass"),
              ("MyGraphicBtn8", "5", "Slowest", "5 passes"))


def wipe_button(name, passes, caption, detail, chosen):
    img = place(name)
    w, h = img.size
    box = (0, 0, w - 1, h - 1)
    edge = ACCENT if chosen else (140, 147, 160)
    top, bottom = ((196, 216, 246), (170, 196, 238)) if chosen else ((246, 247, 249), (214, 218, 225))
    frame = img.copy()
    fill_box(frame, box, edge)
    img.paste(frame, (0, 0), rounded_mask(img.size, box, 6))
    inner = (1, 1, w - 2, h - 2)
    gradient_through(img, inner, top, bottom, rounded_mask(img.size, inner, 5))
    draw = ImageDraw.Draw(img)
    if chosen:
        # Pressed in: a shadow along the top inside edge.
        draw.line((4, 1, w - 5, 1), fill=mix(top, ACCENT, 0.45))
        draw.line((3, 2, w - 4, 2), fill=mix(top, ACCENT, 0.18))
    else:
        draw.line((4, 1, w - 5, 1), fill=WHITE)
    cx, cy, r = 20, h // 2, 12

    def ring(d, s):
        d.ellipse(((cx - r) * s, (cy - r) * s, (cx + r) * s - 1, (cy + r) * s - 1),
                  fill=ACCENT if chosen else (150, 158, 172))
        if not chosen:
            d.ellipse(((cx - r + 2) * s, (cy - r + 2) * s, (cx + r - 2) * s - 1, (cy + r - 2) * s - 1),
                      fill=(250, 251, 252))
    smooth(img, ring)
    text_centred(img, (cx - r, cy - r, cx + r - 1, cy + r - 1), passes, heading_font(15),
                 WHITE if chosen else SOFT_INK)
    ink = (20, 44, 96) if chosen else (36, 42, 54)
    text_left(img, 40, 6, 22, caption, heading_font(14), ink)
    text_left(img, 40, 24, 38, detail, regular_font(11), (44, 70, 122) if chosen else SOFT_INK)
    return img


@picture("wipe_modes.bmp")
def draw_wipe_modes():
    return strip([wipe_button(*mode, chosen) for mode in WIPE_MODES for chosen in (False, True)])


def glyph_list(img, x, y, colour):
    for i in range(3):
        fill_box(img, (x, y + i * 4, x + 1, y + i * 4 + 1), colour)
        fill_box(img, (x + 4, y + i * 4, x + 10, y + i * 4 + 1), colour)


def glyph_gear(img, x, y, colour, back):
    cx, cy = x + 5.5, y + 5.5

    def paint(draw, s):
        for i in range(8):
            a = math.pi / 4 * i
            draw.line(((cx + 3 * math.cos(a)) * s, (cy + 3 * math.sin(a)) * s,
                       (cx + 6 * math.cos(a)) * s, (cy + 6 * math.sin(a)) * s), fill=colour,
                      width=int(2.4 * s))
        draw.ellipse(((cx - 4.3) * s, (cy - 4.3) * s, (cx + 4.3) * s, (cy + 4.3) * s), fill=colour)
        draw.ellipse(((cx - 1.8) * s, (cy - 1.8) * s, (cx + 1.8) * s, (cy + 1.8) * s), fill=back)
    smooth(img, paint)


PAGES = (("WhatClBtn", "Items", glyph_list), ("OptBtn", "Settings", glyph_gear))


def page_tab(name, caption, glyph, chosen):
    img = place(name)
    w, h = img.size
    # The tab's body reaches the page's top edge; the chosen one runs into the
    # page, over the edge, the other stops above it.
    bottom = h - 1 if chosen else h - 3
    top = 0 if chosen else 3
    box = (0, top, w - 1, bottom + 8)
    mask = rounded_mask(img.size, box, 7)
    frame = img.copy()
    fill_box(frame, box, WELL_SHADOW)
    img.paste(frame, (0, 0), mask)
    inner = (1, top + 1, w - 2, bottom + 8)
    face_top, face_bottom = (PAGE, PAGE) if chosen else ((222, 225, 230), (200, 204, 211))
    if chosen:
        face_top = (244, 247, 251)
    gradient_through(img, inner, face_top, face_bottom, rounded_mask(img.size, inner, 6))
    if not chosen:
        # Below the tab the page's sunken edge goes on.
        img.paste(place(name).crop((0, h - 2, w, h)), (0, h - 2))
    ink = HEADER_INK if chosen else SOFT_INK
    font = heading_font(13)
    tw = text_width(caption, font)
    x = (w - tw - 16) // 2 + 16
    mid_top, mid_bottom = top + 2, bottom - 1
    text_left(img, x, mid_top, mid_bottom, caption, font, ink)
    gy = (mid_top + mid_bottom) // 2 - 5
    if glyph is glyph_gear:
        glyph(img, x - 17, gy, ACCENT if chosen else SOFT_INK, face_bottom if not chosen else PAGE)
    else:
        glyph(img, x - 16, gy + 1, ACCENT if chosen else SOFT_INK)
    return img


@picture("page_buttons.bmp")
def draw_page_buttons():
    return strip([page_tab(*p, chosen) for p in PAGES for chosen in (False, True)])


# ---------------------------------------------------------------------------
# The item groups: header strip, group icons, and the frames' two buttons.
# ---------------------------------------------------------------------------

def header_band(width):
    """The header strip of a group frame: a pale band on the page, flat
    inside so the header caption's background meets it."""
    img = new_image(width, LAYOUT.size("Header.Image")[1], PAGE)
    h = img.height
    box = (1, 1, width - 2, h - 3)
    rounded_panel(img, box, 6, (196, 204, 218))
    rounded_panel(img, (2, 2, width - 3, h - 4), 5, HEADER)
    ImageDraw.Draw(img).line((7, h - 2, width - 8, h - 2), fill=(238, 241, 246))
    return img


@picture("frame_header.bmp")
def draw_frame_header():
    return header_band(LAYOUT.size("Header.Image")[0])


def globe(draw, u):
    ink = (38, 110, 196, 255)
    draw.ellipse(u(5, 5, 43, 43), fill=ink)
    draw.ellipse(u(9, 9, 39, 39), fill=(214, 234, 252, 255))
    w = int(round(u(3)))
    draw.ellipse(u(16, 6, 32, 42), outline=ink, width=w)
    draw.line([u(6, 24), u(42, 24)], fill=ink, width=w)
    draw.line([u(9, 15), u(39, 15)], fill=ink, width=w)
    draw.line([u(9, 33), u(39, 33)], fill=ink, width=w)
    draw.line([u(24, 6), u(24, 42)], fill=ink, width=w)


def app_window(draw, u):
    draw.rounded_rectangle(u(4, 7, 44, 41), radius=u(3), fill=(40, 56, 86, 255))
    draw.rectangle(u(7, 10, 41, 17), fill=icons.WINDOW_BLUE + (255,))
    draw.rectangle(u(7, 19, 41, 38), fill=(250, 251, 253, 255))
    for i, c in enumerate(((214, 70, 52), (240, 180, 40), (70, 160, 80))):
        draw.rectangle(u(11 + i * 9, 23, 17 + i * 9, 34), fill=c + (255,))


def compass(draw, u):
    draw.ellipse(u(4, 4, 44, 44), fill=(24, 112, 120, 255))
    draw.ellipse(u(8, 8, 40, 40), fill=(226, 244, 244, 255))
    draw.polygon([u(24, 9), u(29, 24), u(24, 39), u(19, 24)], fill=(24, 112, 120, 255))
    draw.polygon([u(24, 9), u(29, 24), u(19, 24)], fill=(214, 70, 52, 255))
    draw.ellipse(u(22, 22, 26, 26), fill=(250, 251, 253, 255))


def gear(draw, u):
    ink = (84, 96, 116, 255)
    for i in range(8):
        a = math.pi / 4 * i + math.pi / 8
        draw.line([u(24 + 10 * math.cos(a), 24 + 10 * math.sin(a)),
                   u(24 + 20 * math.cos(a), 24 + 20 * math.sin(a))], fill=ink, width=int(round(u(8))))
    draw.ellipse(u(9, 9, 39, 39), fill=ink)
    draw.ellipse(u(17, 17, 31, 31), fill=HEADER + (255,))


GROUP_ICONS = (globe, app_window, compass, gear)


def group_icon(paint):
    size = LAYOUT.size("Header.GroupIcon")[0]
    img = new_image(size, size, HEADER).convert("RGBA")
    img.alpha_composite(icons.vector(size, paint))
    return img.convert("RGB")


@picture("group_icons.bmp")
def draw_group_icons():
    return strip([group_icon(p) for p in GROUP_ICONS])


FRAME_BUTTONS = ("Select Cookies to keep", "View stored Certificates")


def frame_button(caption, state):
    w, h = LAYOUT.size("IETFrame.MyGraphicBtn2")
    img = new_image(w, h, PAGE)
    box = (0, 0, w - 1, h - 1)
    edge, top, bottom, ink = {
        "normal": ((150, 160, 178), (250, 251, 253), (222, 227, 235), (44, 60, 92)),
        "lit": ((70, 120, 200), (238, 245, 255), (206, 223, 249), (20, 70, 170)),
        "pressed": ((50, 90, 160), (196, 212, 238), (222, 231, 246), (20, 56, 130)),
    }[state]
    frame = img.copy()
    fill_box(frame, box, edge)
    img.paste(frame, (0, 0), rounded_mask(img.size, box, 8))
    inner = (1, 1, w - 2, h - 2)
    gradient_through(img, inner, top, bottom, rounded_mask(img.size, inner, 7))
    shift = 1 if state == "pressed" else 0
    text_centred(img, (0, 0, w - 1, h - 1), caption, bold_font(11), ink, (shift, shift))
    return img


@picture("frame_buttons.bmp")
def draw_frame_buttons():
    return strip([frame_button(c, s) for c in FRAME_BUTTONS for s in STATES])


# ---------------------------------------------------------------------------
# The settings page: the title strip and a rule between the switches and the
# lists.
# ---------------------------------------------------------------------------

@picture("settings_page.bmp")
def draw_settings_page():
    w, h = LAYOUT.size("SettingsPage.Image")
    img = new_image(w, h, PAGE)
    band = header_band(w)
    img.paste(band, (0, 0))
    icon = LAYOUT.rect("Header.GroupIcon")
    img.paste(group_icon(gear), (icon[0] - 20, icon[1]))
    caption = LAYOUT.box("Header.Caption")
    text_left(img, caption[0] - 20, caption[1], caption[3], "Program settings", heading_font(14),
              HEADER_INK)
    above = LAYOUT.box("SettingsPage.MyRndRectBtn4")
    below = LAYOUT.box("SettingsPage.ComboBox1")
    y = (above[3] + below[1]) // 2
    draw = ImageDraw.Draw(img)
    draw.line((above[0], y, w - 1 - above[0], y), fill=(216, 221, 230))
    draw.line((above[0], y + 1, w - 1 - above[0], y + 1), fill=(246, 248, 251))
    return img
