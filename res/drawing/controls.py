"""The pictures of the shared skinned controls: check boxes and radio buttons,
the scroll bar, and the progress window with its Cancel button."""

from drawing.kit import *  # noqa: F401,F403 - the kit is this module's vocabulary


# ---------------------------------------------------------------------------
# Check boxes and radio buttons: seven 15 x 15 images on white.
# ---------------------------------------------------------------------------

CELL = 15
BOX = (1, 1, 13, 13)              # the 13 x 13 check box inside a cell

CHECK_MARK = (
    "........#",
    ".......##",
    "#.....##.",
    "##...##..",
    ".##.##...",
    "..###....",
    "...#.....",
)


def check_box_frame(border, face, shade):
    img = new_image(CELL, CELL, WHITE)
    fill_box(img, BOX, face)
    outline_box(img, BOX, border)
    if shade is not None:
        l, t, r, b = BOX
        draw = ImageDraw.Draw(img)
        draw.line((l + 1, t + 1, r - 1, t + 1), fill=shade)
        draw.line((l + 1, t + 1, l + 1, b - 1), fill=shade)
    return img


# A smooth one-pixel ring looks fainter than the check box's hard one-pixel
# edge; a slightly thicker ring gives the two the same weight.
RING = 1.3


def radio(border, face, dot):
    img = new_image(CELL, CELL, WHITE)

    def paint(draw, s):
        inner = (1 + RING) * s, (14 - RING) * s - 1
        draw.ellipse((1 * s, 1 * s, 14 * s - 1, 14 * s - 1), fill=border)
        draw.ellipse((inner[0], inner[0], inner[1], inner[1]), fill=face)
        if dot is not None:
            draw.ellipse((4.5 * s, 4.5 * s, 10.5 * s - 1, 10.5 * s - 1), fill=dot)
    smooth(img, paint)
    return img


@picture("checkbox.bmp")
def draw_checkboxes():
    ticked = check_box_frame(BOX_BORDER, WHITE, BOX_SHADE)
    plot(ticked, (3, 4), CHECK_MARK, INK)

    clear = check_box_frame(BOX_BORDER, WHITE, BOX_SHADE)

    radio_on = radio(RADIO_RING, WHITE, INK)
    radio_off = radio(RADIO_RING, WHITE, None)
    grey_on = radio(GREY_BORDER, GREY_FACE, GREY_INK)
    grey_off = radio(GREY_BORDER, GREY_FACE, None)

    # Partly chosen: a solid square, unlike anything a tick could be mistaken for.
    mixed = check_box_frame(BOX_BORDER, WHITE, BOX_SHADE)
    fill_box(mixed, (4, 4, 10, 10), MIXED_FILL)

    return strip([ticked, clear, radio_on, radio_off, grey_on, grey_off, mixed])


# ---------------------------------------------------------------------------
# Scroll bar: up button, down button, track tile, slider; 15 x 15 each.
# ---------------------------------------------------------------------------

ARROW_UP = (
    "...#...",
    "..###..",
    ".#####.",
    "#######",
)


def steel_button(pressed=False):
    """The raised steel face shared by the scroll bar's buttons and slider."""
    img = new_image(CELL, CELL, TRACK_MID)
    full = (0, 0, CELL - 1, CELL - 1)
    face = new_image(CELL, CELL, STEEL_DARK)
    top, bottom = (STEEL_BOTTOM, STEEL_TOP) if pressed else (STEEL_TOP, STEEL_BOTTOM)
    vertical_gradient(face, (1, 1, CELL - 2, CELL - 2), top, bottom)
    if pressed:
        bevel(face, (1, 1, CELL - 2, CELL - 2), STEEL_SHADOW, STEEL_TOP)
    else:
        bevel(face, (1, 1, CELL - 2, CELL - 2), STEEL_LIGHT, STEEL_SHADOW)
    img.paste(face, (0, 0), rounded_mask(img.size, full, 2))
    return img


def arrow_button(rows, flip):
    img = steel_button()
    if flip:
        rows = tuple(reversed(rows))
    # Optical centre: the arrow's solid base sits half a pixel heavy, so
    # nudge it towards its point.
    plot(img, (4, 5 if not flip else 6), rows, INK)
    return img


def track_tile():
    """Every row is the same, so the tile repeats down the bar without a seam:
    a shallow groove, darker at the sides."""
    img = new_image(CELL, CELL, TRACK_MID)
    half = (CELL - 1) / 2
    for x in range(CELL):
        t = abs(x - half) / half
        colour = mix(TRACK_MID, TRACK_EDGE, t * t)
        ImageDraw.Draw(img).line((x, 0, x, CELL - 1), fill=colour)
    draw = ImageDraw.Draw(img)
    draw.line((0, 0, 0, CELL - 1), fill=STEEL_SHADOW)
    draw.line((CELL - 1, 0, CELL - 1, CELL - 1), fill=STEEL_LIGHT)
    return img


def slider():
    img = steel_button()
    draw = ImageDraw.Draw(img)
    # Grip ridges: a dark line with a light one under it reads as a groove.
    for y in (4, 7, 10):
        draw.line((4, y, 10, y), fill=STEEL_SHADOW)
        draw.line((4, y + 1, 10, y + 1), fill=STEEL_LIGHT)
    return img


@picture("scrollbar.bmp")
def draw_scrollbar():
    return strip([arrow_button(ARROW_UP, False), arrow_button(ARROW_UP, True),
                  track_tile(), slider()])


# ---------------------------------------------------------------------------
# The "cleaning in progress" window.
# ---------------------------------------------------------------------------

PROGRESS_SIZE = (313, 97)
PROGRESS_TEXT = (13, 12, 299, 60)     # three label rows, 17 px each
PROGRESS_BAR = (13, 66, 217, 85)      # the progress bar control, 205 x 20


@picture("progress_skin.bmp")
def draw_progress_skin():
    w, h = PROGRESS_SIZE
    img = new_image(w, h, WINDOW_BASE)

    # No system frame: a dark edge and a soft two-line bevel stand in for it.
    outline_box(img, (0, 0, w - 1, h - 1), FRAME_OUTER)
    bevel(img, (1, 1, w - 2, h - 2), FRAME_HIGH, FRAME_LOW)
    bevel(img, (2, 2, w - 3, h - 3), mix(FRAME_HIGH, WINDOW_BASE, 0.5),
          mix(FRAME_LOW, WINDOW_BASE, 0.5))

    # Panel under the labels, a few pixels wider than they are so the text
    # does not touch its edge.
    l, t, r, b = PROGRESS_TEXT
    rounded_panel(img, (l - 5, t - 4, r + 5, b + 2), 4, PANEL, PANEL_LINE)
    fill_box(img, PROGRESS_TEXT, PANEL)

    # Sunken frame hugging the progress bar.
    l, t, r, b = PROGRESS_BAR
    bevel(img, (l - 1, t - 1, r + 1, b + 1), FRAME_LOW, FRAME_HIGH)
    fill_box(img, PROGRESS_BAR, PANEL)
    return img


# ---------------------------------------------------------------------------
# Cancel button of the progress window: normal and pressed, 71 x 20 each.
# ---------------------------------------------------------------------------

BUTTON_SIZE = (71, 20)


def push_button(label, pressed):
    w, h = BUTTON_SIZE
    full = (0, 0, w - 1, h - 1)
    face = new_image(w, h, STEEL_DARK)
    inner = (1, 1, w - 2, h - 2)
    if pressed:
        vertical_gradient(face, inner, mix(STEEL_BOTTOM, STEEL_DARK, 0.25), STEEL_BOTTOM)
        bevel(face, inner, mix(STEEL_SHADOW, STEEL_DARK, 0.3), STEEL_BOTTOM)
    else:
        vertical_gradient(face, inner, STEEL_LIGHT, STEEL_BOTTOM)
        bevel(face, inner, WHITE, STEEL_SHADOW)

    # The button sits on the window's base colour; round it off against that.
    img = new_image(w, h, WINDOW_BASE)
    img.paste(face, (0, 0), rounded_mask(img.size, full, 3))

    shift = (1, 1) if pressed else (0, 0)
    text_centred(img, full, label, bold_font(11), INK, shift)
    return img


@picture("progress_cancel.bmp")
def draw_progress_cancel():
    return strip([push_button("Cancel", False), push_button("Cancel", True)])

