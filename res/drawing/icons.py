"""Small pictures drawn as shapes: the three program icons (and the
program's mark that the main window's title shows), and the 16 x 16 pictures
of the tray icon and its menu.

Shapes are laid out on a 48-unit square and drawn at any size through
`vector`; at 16 pixels some marks are drawn simpler or bolder, as thin lines
vanish there."""

import math

from PIL import ImageChops

from drawing.kit import *  # noqa: F401,F403 - the kit is this module's vocabulary

DESIGN = 48            # units across a vector picture
CLEAR = (0, 0, 0, 0)
MAGENTA = (255, 0, 255)

# The three programs share one tile shape, each in its own colour.
QUELMAIN_TILE = ((96, 140, 206), (34, 64, 122))
VANTREL_TILE = ((64, 168, 170), (18, 92, 104))
FENNICK_TILE = ((150, 112, 196), (70, 44, 120))
SWEEP_BLUE = (46, 98, 182)
BADGE_GREEN = (46, 160, 72)
BADGE_AMBER = (232, 160, 28)
ALERT_RED = (204, 52, 44)
WINDOW_BLUE = (58, 104, 178)


def vector(size, paint):
    """An RGBA picture size pixels square.  paint(draw, u) draws on a layer
    SUPERSAMPLE times larger; u maps design units to that layer's pixels (a
    number, or several numbers as a tuple)."""
    s = SUPERSAMPLE
    k = size * s / DESIGN
    big = Image.new("RGBA", (size * s, size * s), CLEAR)

    def u(*v):
        return v[0] * k if len(v) == 1 else tuple(c * k for c in v)
    paint(ImageDraw.Draw(big), u)
    return big.resize((size, size), Image.BOX)


def gradient_shape(size, paint_mask, top, bottom, box=(0, 0, DESIGN, DESIGN)):
    """A vertical gradient from top to bottom (over the design box's height)
    shown through the shape that paint_mask draws in white."""
    mask = vector(size, paint_mask).getchannel("A")
    grad = Image.new("RGBA", (size, size), CLEAR)
    k = size / DESIGN
    y0, y1 = box[1] * k, box[3] * k
    draw = ImageDraw.Draw(grad)
    for y in range(size):
        t = min(max((y + 0.5 - y0) / max(y1 - y0, 1), 0), 1)
        draw.line((0, y, size - 1, y), fill=mix(top, bottom, t) + (255,))
    out = Image.new("RGBA", (size, size), CLEAR)
    out.paste(grad, (0, 0), mask)
    return out


def bezier(p0, p1, p2, steps=16):
    """Points of a quadratic curve from p0 to p2 pulled towards p1."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        a, b, c = (1 - t) ** 2, 2 * t * (1 - t), t * t
        pts.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
    return pts


# ---------------------------------------------------------------------------
# The tile behind each program's mark.
# ---------------------------------------------------------------------------

TILE = (2, 2, 46, 46)


def tile(size, colours):
    top, bottom = colours
    edge = mix(bottom, (0, 0, 0), 0.35)

    def outline(draw, u):
        draw.rounded_rectangle(u(*TILE), radius=u(10), fill=edge + (255,))

    def face(draw, u):
        draw.rounded_rectangle(u(3.2, 3.2, 44.8, 44.8), radius=u(9), fill=WHITE + (255,))

    def gloss(draw, u):
        # A soft sheen over the upper half reads as a lit, slightly domed face.
        draw.rounded_rectangle(u(5, 4.5, 43, 24), radius=u(8), fill=(255, 255, 255, 46))

    out = vector(size, outline)
    out.alpha_composite(gradient_shape(size, face, top, bottom, TILE))
    out.alpha_composite(vector(size, gloss))
    return out


# ---------------------------------------------------------------------------
# Quelmain's mark: a shield swept clean, with a glint.
# ---------------------------------------------------------------------------

def shield_points(u, inset=0.0):
    top, side, tip = 9 + inset, 12 + inset, 40 - inset * 1.4
    left, right = 12 + inset, 36 - inset
    pts = [(24, top)]
    pts += bezier((24, top), (30, top + 3), (right, side + 1))[1:]
    pts += bezier((right, side + 1), (right + 0.5, 30), (24, tip))[1:]
    pts += bezier((24, tip), (left - 0.5, 30), (left, side + 1))[1:]
    pts += bezier((left, side + 1), (18, top + 3), (24, top))[1:]
    return [u(*p) for p in pts]


def sparkle(draw, u, cx, cy, r, colour):
    """A four-pointed glint."""
    pts = []
    for i in range(8):
        a = math.pi / 4 * i - math.pi / 2
        rr = r if i % 2 == 0 else r * 0.3
        pts.append(u(cx + rr * math.cos(a), cy + rr * math.sin(a)))
    draw.polygon(pts, fill=colour)


def quelora_mark(size, small=False):
    def shield(draw, u):
        draw.polygon(shield_points(u), fill=WHITE + (255,))

    def sweep(draw, u):
        # The sweep: a bold band across the shield, clipped to it below.
        w = 7.5 if small else 5.5
        draw.line([u(12, 33), u(37, 14)], fill=SWEEP_BLUE + (255,), width=int(round(u(w))))

    def glint(draw, u):
        if not small:
            sparkle(draw, u, 36.5, 9.5, 6.5, WHITE + (255,))

    out = vector(size, shield)
    band = vector(size, sweep)
    band.putalpha(ImageChops.multiply(band.getchannel("A"), out.getchannel("A")))
    out.alpha_composite(band)
    out.alpha_composite(vector(size, glint))
    return out


def quelmain_icon(size):
    out = tile(size, QUELMAIN_TILE)
    out.alpha_composite(quelora_mark(size, small=size < 24))
    return out


# ---------------------------------------------------------------------------
# Vantrel's mark: a page cut into strips.  Fennick's: an index page with a
# clock, as it waits for the next logon.
# ---------------------------------------------------------------------------

PAGE = (14, 8, 34, 40)


def page(draw, u, colour, fold=6, bottom=None):
    l, t, r, b = PAGE
    b = b if bottom is None else bottom
    draw.polygon([u(l, t), u(r - fold, t), u(r, t + fold), u(r, b), u(l, b)], fill=colour)


def vantrel_icon(size):
    small = size < 24

    def sheet(draw, u):
        page(draw, u, WHITE + (255,), bottom=26)
        # The shredded part: strips that drift apart as they fall.
        strips = 3 if small else 5
        width = (PAGE[2] - PAGE[0]) / strips
        for i in range(strips):
            l = PAGE[0] + i * width
            drop = 40 - (i % 2) * 3
            shift = (i - (strips - 1) / 2) * (0.8 if small else 0.6)
            draw.polygon([u(l + 0.6, 27.5), u(l + width - 0.6, 27.5),
                          u(l + width - 0.6 + shift, drop), u(l + 0.6 + shift, drop)],
                         fill=WHITE + (255,))

    def lines(draw, u):
        if small:
            return
        for y in (15, 19, 23):
            draw.line([u(17, y), u(31 if y > 15 else 26, y)], fill=VANTREL_TILE[1] + (255,),
                      width=max(1, int(u(1.6))))

    out = tile(size, VANTREL_TILE)
    out.alpha_composite(vector(size, sheet))
    out.alpha_composite(vector(size, lines))
    return out


def fennick_icon(size):
    small = size < 24

    def sheet(draw, u):
        page(draw, u, WHITE + (255,))

    def lines(draw, u):
        if small:
            return
        for y in (15, 19, 23, 27):
            draw.line([u(17, y), u(26 if y == 15 else 31, y)], fill=FENNICK_TILE[1] + (255,),
                      width=max(1, int(u(1.6))))

    def clock(draw, u):
        cx, cy, r = (32, 33, 10) if not small else (31, 32, 12)
        draw.ellipse(u(cx - r, cy - r, cx + r, cy + r), fill=FENNICK_TILE[1] + (255,))
        draw.ellipse(u(cx - r + 2.2, cy - r + 2.2, cx + r - 2.2, cy + r - 2.2), fill=WHITE + (255,))
        hand = max(1, int(round(u(2.6 if small else 2))))
        draw.line([u(cx, cy), u(cx, cy - r + 4.5)], fill=FENNICK_TILE[1] + (255,), width=hand)
        draw.line([u(cx, cy), u(cx + r - 4.5, cy)], fill=FENNICK_TILE[1] + (255,), width=hand)

    out = tile(size, FENNICK_TILE)
    out.alpha_composite(vector(size, sheet))
    out.alpha_composite(vector(size, lines))
    out.alpha_composite(vector(size, clock))
    return out


ICON_SIZES = (16, 32, 48)


@picture("quelmain.ico")
def draw_quelmain_icon():
    return {s: quelmain_icon(s) for s in ICON_SIZES}


@picture("vantrel.ico")
def draw_vantrel_icon():
    return {s: vantrel_icon(s) for s in ICON_SIZES}


@picture("fennick.ico")
def draw_fennick_icon():
    return {s: fennick_icon(s) for s in ICON_SIZES}


# ---------------------------------------------------------------------------
# The tray icon and its menu: 16 x 16 pictures on magenta, which the program
# treats as see-through.
# ---------------------------------------------------------------------------

def badge(size, colour, mark):
    """A round badge in the lower right corner, with a white rim so it stands
    off the tile."""
    def paint(draw, u):
        draw.ellipse(u(23, 23, 48, 48), fill=WHITE + (255,))
        draw.ellipse(u(26, 26, 45, 45), fill=colour + (255,))
        mark(draw, u)
    return vector(size, paint)


def check_mark(draw, u):
    draw.line([u(30, 36), u(34, 40), u(41, 31)], fill=WHITE + (255,), width=int(round(u(3.6))),
              joint="curve")


def pause_mark(draw, u):
    draw.rectangle(u(31, 30.5, 34, 40.5), fill=WHITE + (255,))
    draw.rectangle(u(37, 30.5, 40, 40.5), fill=WHITE + (255,))


def blocker_shield(size, on):
    """The blocker's menu picture: a plain grey shield while it is off, a
    green one with a tick while it is on."""
    def grown(u):
        # The mark's shield, grown to fill the picture.
        return lambda x, y: u(24 + (x - 24) * 1.42, 24.5 + (y - 24.5) * 1.42)

    def paint(draw, u):
        g = grown(u)
        ring = (96, 104, 118, 255) if not on else mix(BADGE_GREEN, (0, 0, 0), 0.35) + (255,)
        inner = (214, 218, 226, 255) if not on else BADGE_GREEN + (255,)
        draw.polygon(shield_points(lambda *p: g(*p)), fill=ring)
        draw.polygon(shield_points(lambda *p: g(*p), inset=2.2), fill=inner)
        if on:
            draw.line([u(14, 24), u(21, 31), u(34, 17)], fill=WHITE + (255,),
                      width=int(round(u(5.5))), joint="curve")
        else:
            draw.line([u(16, 16), u(32, 32)], fill=(96, 104, 118, 255), width=int(round(u(4.5))))
    return vector(size, paint)


def window_glyph(size, arrow_down):
    def paint(draw, u):
        draw.rectangle(u(3, 6, 45, 42), fill=(40, 56, 86, 255))
        draw.rectangle(u(6, 9, 42, 17), fill=WINDOW_BLUE + (255,))
        draw.rectangle(u(6, 18, 42, 39), fill=WHITE + (255,))
        ink = (40, 56, 86, 255)
        if arrow_down:
            draw.polygon([u(14, 22), u(34, 22), u(24, 34)], fill=ink)
        else:
            draw.polygon([u(14, 35), u(34, 35), u(24, 22)], fill=ink)
    return vector(size, paint)


def broom(size):
    """A broom sweeping down to the left: handle, binding, bristles."""
    def paint(draw, u):
        draw.line([u(43, 3), u(25, 23)], fill=(96, 58, 26, 255), width=int(round(u(8))))
        draw.line([u(43, 3), u(25, 23)], fill=(168, 110, 52, 255), width=int(round(u(4))))
        draw.polygon([u(15, 21), u(29, 35), u(20, 46), u(2, 46), u(2, 34)], fill=(124, 84, 18, 255))
        draw.polygon([u(16, 25), u(25, 34), u(18, 42), u(6, 42), u(6, 35)], fill=(244, 196, 70, 255))
        draw.polygon([u(19, 17), u(33, 31), u(29, 35), u(15, 21)], fill=(196, 52, 40, 255))
    return vector(size, paint)


def round_sign(size, colour, mark):
    def paint(draw, u):
        draw.ellipse(u(3, 3, 45, 45), fill=mix(colour, (0, 0, 0), 0.3) + (255,))
        draw.ellipse(u(6, 6, 42, 42), fill=colour + (255,))
        mark(draw, u)
    return vector(size, paint)


def info_mark(draw, u):
    draw.ellipse(u(20.5, 10, 27.5, 17), fill=WHITE + (255,))
    draw.rectangle(u(20.5, 20, 27.5, 37), fill=WHITE + (255,))


def cross_mark(draw, u):
    w = int(round(u(6)))
    draw.line([u(16, 16), u(32, 32)], fill=WHITE + (255,), width=w)
    draw.line([u(32, 16), u(16, 32)], fill=WHITE + (255,), width=w)


def with_badge(base, size, colour, mark):
    out = base.copy()
    out.alpha_composite(badge(size, colour, mark))
    return out


def on_key(img, under=(212, 214, 218)):
    """Flattens an RGBA picture onto the magenta key: pixels at least half
    covered keep their colour (laid over a light menu grey, so soft edges do
    not turn pink); the rest become the key."""
    out = new_image(img.width, img.height, MAGENTA)
    for y in range(img.height):
        for x in range(img.width):
            r, g, b, a = img.getpixel((x, y))
            if a >= 128:
                t = a / 255
                out.putpixel((x, y), tuple(int(round(c * t + k * (1 - t)))
                                           for c, k in zip((r, g, b), under)))
    return out


@picture("menu_images.bmp")
def draw_menu_images():
    s = 16
    emblem = quelmain_icon(s)
    pictures = [
        blocker_shield(s, False),                                     # 0 blocker off
        blocker_shield(s, True),                                      # 1 blocker on
        emblem,                                                       # 2 tray, normal
        with_badge(emblem, s, BADGE_GREEN, check_mark),              # 3 tray, blocker on
        with_badge(emblem, s, BADGE_AMBER, pause_mark),              # 4 tray, paused
        window_glyph(s, arrow_down=True),                             # 5 minimize
        window_glyph(s, arrow_down=False),                            # 6 restore
        broom(s),                                                     # 7 clean now
        round_sign(s, (52, 110, 200), info_mark),                     # 8 about
        round_sign(s, ALERT_RED, cross_mark),                         # 9 close
    ]
    return strip([on_key(p) for p in pictures])
