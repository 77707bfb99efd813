"""Quelmain's secondary windows: the cookie keep-list window, the report
window, the certificate window, the About box and the intro logo.  Each skin
has the size of its window; the places of the lists and buttons drawn here are
those the windows give their controls (app/CookiesForm.cpp, ReportForm.cpp,
IECertificateForm.cpp, AboutForm.cpp)."""

from drawing.kit import *  # noqa: F401,F403 - the kit is this module's vocabulary
from drawing import main_window as mw

GREEN_TOP = (120, 200, 110)
GREEN_BOTTOM = (46, 132, 52)
GREY_TOP = (206, 209, 215)
GREY_BOTTOM = (160, 165, 174)
ARROW_GREY = (96, 102, 114)


def skin(width, height, title, cap=30, wells=(), texts=()):
    """A window face with a title cap; wells are sunken boxes (l, t, r, b,
    fill) where lists sit, texts (x, y, text, size) headings on the face."""
    img = new_image(width, height, mw.BODY_BOTTOM)
    vertical_gradient(img, (0, 0, width - 1, height - 1), mw.BODY_TOP, mw.BODY_BOTTOM)
    vertical_gradient(img, (0, 0, width - 1, cap), mw.CAP_TOP, mw.CAP_BOTTOM)
    ImageDraw.Draw(img).line((0, cap + 1, width - 1, cap + 1), fill=mw.RIM_LIGHT)
    if title:
        text_left(img, 28, 0, cap, title, heading_font(15), WHITE)
    for l, t, r, b, fill in wells:
        fill_box(img, (l, t, r, b), fill)
        bevel(img, (l - 1, t - 1, r + 1, b + 1), mw.WELL_SHADOW, mw.WELL_LIGHT)
    for x, y, text, size in texts:
        ImageDraw.Draw(img).text((x, y), text, font=bold_font(size), fill=mw.CAPTION_INK)
    outline_box(img, (0, 0, width - 1, height - 1), mw.RIM_OUTER)
    return img


def face_button(cell, size, text, pressed, top=GREY_TOP, bottom=GREY_BOTTOM, ink=INK):
    """A push button of the shown size in the top-left corner of an image
    list cell; pressed ones are sunk and green."""
    img = new_image(cell[0], cell[1], mw.BODY_BOTTOM)
    w, h = size
    box = (0, 0, w - 1, h - 1)
    if pressed:
        top, bottom, ink = GREEN_TOP, GREEN_BOTTOM, WHITE
    vertical_gradient(img, box, top, bottom)
    if pressed:
        bevel(img, box, mw.WELL_DARK, mw.RIM_LIGHT)
    else:
        bevel(img, box, mw.RIM_LIGHT, mw.WELL_DARK)
    if text:
        text_centred(img, box, text, bold_font(11), ink, (1, 1) if pressed else (0, 0))
    return img


def arrow_button(cell, size, right, pressed):
    img = face_button(cell, size, "", pressed)
    w, h = size
    cx, cy = w // 2, h // 2
    colour = WHITE if pressed else ARROW_GREY
    if not pressed:
        colour = ARROW_GREY
    pts = [(cx - 4, cy - 7), (cx + 4, cy), (cx - 4, cy + 7)] if right else \
          [(cx + 4, cy - 7), (cx - 4, cy), (cx + 4, cy + 7)]
    ImageDraw.Draw(img).polygon(pts, fill=colour)
    return img


def cross_button(cell, size, lit=False):
    img = new_image(cell[0], cell[1], mw.CAP_BOTTOM)
    w, h = size
    vertical_gradient(img, (0, 0, w - 1, h - 1), mw.CAP_TOP, mw.CAP_BOTTOM)
    box = (w // 2 - 8, h // 2 - 7, w // 2 + 7, h // 2 + 6)
    fill_box(img, box, mw.CLOSE_RED if lit else (150, 60, 56))
    bevel(img, box, (236, 150, 140), (90, 24, 20))
    d = ImageDraw.Draw(img)
    l, t, r, b = box
    d.line((l + 4, t + 4, r - 4, b - 4), fill=WHITE, width=2)
    d.line((l + 4, b - 4, r - 4, t + 4), fill=WHITE, width=2)
    return img


# ---------------------------------------------------------------------------
# The cookie keep-list window.
# ---------------------------------------------------------------------------

@picture("cookies_skin.bmp")
def draw_cookies_skin():
    return skin(420, 230, "COOKIES - select", wells=(
        (31, 63, 196, 192, (223, 227, 241)),
        (243, 63, 392, 192, (193, 202, 232))),
        texts=((33, 44, "delete", 12), (245, 44, "to not delete", 12)))


@picture("cookies_buttons.bmp")
def draw_cookies_buttons():
    cell = (71, 33)
    return strip([
        cross_button(cell, (28, 21)),
        arrow_button(cell, (25, 33), True, False),
        arrow_button(cell, (25, 33), True, True),
        arrow_button(cell, (25, 33), False, False),
        arrow_button(cell, (25, 33), False, True),
        face_button(cell, (71, 17), "OK", False),
        face_button(cell, (71, 17), "OK", True),
        face_button(cell, (71, 17), "Cancel", False),
        face_button(cell, (71, 17), "Cancel", True),
    ])


# ---------------------------------------------------------------------------
# The report window: no title, a list and a Close button.
# ---------------------------------------------------------------------------

@picture("report_skin.bmp")
def draw_report_skin():
    return skin(368, 268, "", cap=10, wells=((15, 20, 352, 233, (223, 227, 241)),))


@picture("close_buttons.bmp")
def draw_close_buttons():
    cell = (70, 21)
    return strip([
        cross_button(cell, (28, 18)),
        face_button(cell, (68, 17), "Close", False),
        face_button(cell, (68, 17), "Close", True),
        face_button(cell, (70, 17), "Remove", False),
        face_button(cell, (70, 17), "Remove", True),
    ])


# ---------------------------------------------------------------------------
# The certificate window.
# ---------------------------------------------------------------------------

@picture("certificates_skin.bmp")
def draw_certificates_skin():
    img = skin(442, 303, "CERTIFICATES", wells=(
        (28, 56, 323, 185, (223, 227, 241)),
        (24, 201, 320, 271, (193, 202, 232))),
        texts=((30, 38, "stored certificates", 12), (346, 82, "store", 12)))
    fill_box(img, (350, 98, 425, 203), (181, 181, 181))
    bevel(img, (349, 97, 426, 204), mw.WELL_SHADOW, mw.WELL_LIGHT)
    return img


@picture("radio_buttons.bmp")
def draw_radio_buttons():
    from drawing.controls import radio, RADIO_RING

    def on_panel(img):
        out = new_image(15, 15, (181, 181, 181))
        mask = Image.new("L", (15, 15), 0)
        for y in range(15):
            for x in range(15):
                if img.getpixel((x, y)) != WHITE or (x - 7) ** 2 + (y - 7) ** 2 <= 36:
                    mask.putpixel((x, y), 255)
        out.paste(img, (0, 0), mask)
        return out
    return strip([on_panel(radio(RADIO_RING, WHITE, INK)), on_panel(radio(RADIO_RING, WHITE, None))])


# ---------------------------------------------------------------------------
# About and intro.
# ---------------------------------------------------------------------------

def logo(width, height):
    img = new_image(width, height, mw.CAP_BOTTOM)
    vertical_gradient(img, (0, 0, width - 1, height - 1), mw.CAP_TOP, mw.CAP_BOTTOM)
    size = max(18, height // 4)
    text_centred(img, (0, 0, width - 1, height * 2 // 3), "Quelora", logo_font(size), WHITE)
    text_centred(img, (0, height // 2, width - 1, height - 1), "privacy cleaner",
                 regular_font(max(11, size // 2)), mw.RIM_LIGHT)
    outline_box(img, (0, 0, width - 1, height - 1), mw.RIM_OUTER)
    return img


@picture("about_logo.bmp")
def draw_about_logo():
    """The name below, and the place of the version label (112, 41 in the box,
    so 96, 24 here, 47 x 15) in the window's RGB 251, 252, 255."""
    img = new_image(238, 90, mw.CAP_BOTTOM)
    vertical_gradient(img, (0, 0, 237, 89), mw.CAP_TOP, mw.CAP_BOTTOM)
    text_left(img, 16, 6, 20, "Quelora privacy cleaner", bold_font(11), mw.RIM_LIGHT)
    text_left(img, 44, 24, 38, "version", regular_font(11), WHITE)
    fill_box(img, (96, 24, 142, 38), (251, 252, 255))
    text_centred(img, (0, 46, 237, 84), "Quelora", logo_font(26), WHITE)
    outline_box(img, (0, 0, 237, 89), mw.RIM_OUTER)
    return img


@picture("about_ok.bmp")
def draw_about_ok():
    cell = (70, 19)
    return strip([face_button(cell, cell, "OK", False), face_button(cell, cell, "OK", True)])


@picture("intro_logo.bmp")
def draw_intro_logo():
    return logo(301, 218)
