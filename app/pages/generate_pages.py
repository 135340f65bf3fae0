#!/usr/bin/env python3
"""Writes the six page designs of the main window (page_*.ui beside this file).

The .ui files are generated from the control tables below and from the field
catalogue: fields.json beside this file is what `zrv41k-cli fields --json
--design` prints, and a control that shows a catalogue field takes its binding
hint, its English caption (or its label's) and its items from there. Edit the
tables (or the catalogue, then refresh fields.json) and run
`python3 app/pages/generate_pages.py`, then commit all. Every control gets
its objectName, absolute geometry (designed for DejaVu Sans 9 pt), caption,
items, maximum length, design-time visibility and enabled state, and the
dynamic properties Tag (int), Hint (string) and designedClass (string).

Widgets are written in the order they are listed: that order is the creation
order the control registry walks, so families are listed in Tag order.
"""

from __future__ import annotations

import argparse
import json
import os
import re
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
# Where the generated files go: the source tree, or a folder given with --out.
OUT = {"pages": HERE, "editors": os.path.join(HERE, "..", "..", "editors")}
PAGE_W, PAGE_H = 1000, 600

# Designed class -> Qt class.
QT_CLASS = {
    "TLabel": "QLabel",
    "TStaticText": "QLabel",
    "TGroupBox": "QGroupBox",
    "TCheckBox": "QCheckBox",
    "TRadioButton": "QRadioButton",
    "TButton": "QPushButton",
    "TBitBtn": "QPushButton",
    "TComboBox": "QComboBox",
    "TEdit": "QLineEdit",
    "TMemo": "QPlainTextEdit",
    "TTrackBar": "QSlider",
    "TPanel": "QFrame",
}

ROW_H = 22  # height of a label, edit, combo box or check box row
BTN_H = 24


class W:
    """One control of a design."""

    def __init__(self, dclass, name, x, y, w, h, text=None, tag=0, hint="",
                 items=None, maxlen=None, hidden=False, disabled=False,
                 readonly=False, index=None, tooltip=None, props=None,
                 children=None, buddy=None, named_by=None, described_by=None,
                 spoken=None):
        self.dclass = dclass
        self.name = name
        self.geo = (x, y, w, h)
        self.text = text
        self.tag = tag
        self.hint = hint
        self.items = items
        self.maxlen = maxlen
        self.hidden = hidden
        self.disabled = disabled
        self.readonly = readonly
        self.index = index
        self.tooltip = tooltip
        self.props = props or []
        self.children = children or []
        self.autosize = False
        # What a screen reader says for the control (ui/kit/accessible_names.h):
        # the control a label stands beside, the control whose caption names
        # or describes this one, or a name of its own (English; the language
        # file holds it under "acc" + name).
        self.buddy = buddy
        self.named_by = named_by
        self.described_by = described_by
        self.spoken = spoken


# ---------------------------------------------------------------- builders

def label(name, text, x, y, w, h=ROW_H, autosize=None, **kw):
    """A label. It sizes itself to its caption (AutoSize) unless it shows an
    image value or is a fixed cell such as a centred column heading; the
    designed width w is what the English caption is laid out with, the room
    to its right must hold the widest caption of the factory catalogue."""
    made = W("TLabel", name, x, y, w, h, text=text, **kw)
    if autosize is None:
        centred = any(p[0] == "alignment" for p in made.props)
        autosize = made.hint != VALUE and not centred
    made.autosize = autosize
    return made


def edit(name, x, y, w, text="", maxlen=None, **kw):
    return W("TEdit", name, x, y, w, ROW_H, text=text, maxlen=maxlen, **kw)


def combo(name, x, y, w, items, index=0, **kw):
    return W("TComboBox", name, x, y, w, ROW_H, items=items, index=index, **kw)


def check(name, text, x, y, w, **kw):
    return W("TCheckBox", name, x, y, w, ROW_H, text=text, **kw)


def button(name, text, x, y, w, h=BTN_H, dclass="TButton", **kw):
    return W(dclass, name, x, y - 1, w, h, text=text, **kw)


def group(name, title, x, y, w, h, children, **kw):
    return W("TGroupBox", name, x, y, w, h, text=title, children=children, **kw)


def panel(name, x, y, w, h, children, **kw):
    return W("TPanel", name, x, y, w, h, children=children, **kw)


# ---------------------------------------------------------------- catalogue

def load_catalogue():
    """The catalogue's fields by the objectName of the control showing them."""
    with open(os.path.join(HERE, "fields.json"), encoding="utf-8") as f:
        return {row["objectName"]: row for row in json.load(f) if "objectName" in row}


CATALOGUE = load_catalogue()


def field(name):
    """The catalogue field that control `name` shows."""
    if name not in CATALOGUE:
        raise SystemExit(f"{name}: no catalogue field in fields.json "
                         "(add its row to the field table and refresh fields.json)")
    return CATALOGUE[name]


def bound_check(name, x, y, w, **kw):
    """A check box with its caption and binding hint from the catalogue."""
    f = field(name)
    return check(name, f["caption"], x, y, w, hint=f.get("hint", ""), **kw)


def bound_combo(name, x, y, w, index=0, **kw):
    """A combo box with its items and binding hint from the catalogue."""
    f = field(name)
    return combo(name, x, y, w, f["items"], index=index, hint=f.get("hint", ""), **kw)


def caption_label(control, x, y, w, **kw):
    """The label beside `control` carrying its field's caption."""
    f = field(control)
    return label(f["captionKey"], f["caption"], x, y, w, buddy=control, **kw)


# Labels that show image values rather than captions carry the NULL marker,
# so applying a language never replaces a shown value by a stale text.
VALUE = "NULL"

# ---------------------------------------------------------------- item lists

# Lists of the controls that show no single catalogue field (numbered
# families, the threshold trios, the fixed alert tone).
TUNES = ["Tone 1", "Tone 2", "Tone 3", "Tone 4"] + [f"Music {i}" for i in range(1, 9)]
MUSIC_TYPES = ["User"] + TUNES
ALERT_TONES = TUNES + ["Vibration", "Flash Only"]
RECHARGEABLE = ["2.68V", "2.65V", "2.62V", "2.59V", "2.55V", "2.52V", "2.49V",
                "2.46V", "2.42V", "2.40V", "2.35V"]
STANDARD = ["1.58V", "1.53V", "1.48V", "1.43V", "1.39V", "1.35V", "1.29V",
            "1.23V", "1.19V", "1.14V", "1.09V", "1.05V", "1.00V"]
KEY_CHOICES = ["Disable"] + [f"Key {i}" for i in range(1, 17)]
FUNCTION_BITS = "ABCD"


def page_items(count, per_page):
    return [f"Capcode {per_page * j + 1} - {per_page * j + per_page}"
            for j in range(count)]


# ---------------------------------------------------------------- panCF

def page_cf():
    freq = group("groupFrequency", "Frequency", 10, 10, 300, 170, [
        caption_label("cboFreq", 12, 26, 64),
        combo("cboFreq", 80, 26, 206, field("cboFreq")["items"]),
        caption_label("edtFreq", 12, 56, 64),
        edit("edtFreq", 80, 56, 80, "1530000", maxlen=7),
        label("lblFreqUnit", "00HZ", 164, 56, 44),
        caption_label("cboCtl0", 12, 86, 64),
        bound_combo("cboCtl0", 80, 86, 110, index=1),
        caption_label("cboPolarity", 12, 116, 64),
        bound_combo("cboPolarity", 80, 116, 110),
        bound_check("chkBand", 12, 142, 200),
    ])

    defaults = [1234567, 1234560, 1234561, 1234562, 1234563, 1234564, 1234565, 1234566]
    cap = [
        label("lblCCPage", "Capcode Page", 12, 24, 86, buddy="cboCCPage"),
        combo("cboCCPage", 124, 24, 130, page_items(2, 8)),
        # Stacked at the right, beside the column headings: each needs room
        # for "1. Rufnummer automatisch erhöhen".
        check("optAuto1", "1st Capcode Auto Increase", 420, 24, 246),
        check("optAuto2", "2nd Capcode Auto Increase", 420, 50, 246),
        label("lblHdrCapcode", "Capcode", 76, 54, 72, h=20),
        label("lblHdrPriority", "Priority", 214, 54, 54, h=20),
        label("lblHdrDisplay", "Display", 270, 54, 54, h=20),
        label("lblHdrType", "Type", 326, 54, 70, h=20),
    ]
    for i in range(8):
        y = 78 + 30 * i
        row = f"lblCCode{i}"  # names the capcode a control of the row belongs to
        cap += [
            label(f"lblCCode{i}", f"Cap #{i + 1}", 12, y, 60, tag=i, buddy=f"edtCap{i}"),
            edit(f"edtCap{i}", 76, y, 72, f"{defaults[i]:07d}", maxlen=7, tag=i),
            check(f"chkEnCap{i}", "ON", 156, y, 48, tag=i, described_by=row),
            panel(f"panCap{i}", 208, y - 3, 448, 28, tag=i, children=[
                edit(f"edtPri{i}", 4, 3, 50, "----", readonly=True, tag=i,
                     named_by="lblHdrPriority", described_by=row),
                edit(f"edtDisp{i}", 60, 3, 50, "AAAA", readonly=True, tag=i,
                     named_by="lblHdrDisplay", described_by=row),
                edit(f"edtType{i}", 116, 3, 70, "PPPP", readonly=True, tag=i,
                     named_by="lblHdrType", described_by=row),
                button(f"btnFunBit{i}", "Fun. Bit", 200, 3, 84, tag=i, described_by=row),
                check(f"chkManu{i}", "Manual", 300, 3, 90, tag=i, described_by=row),
            ]),
        ]
    capcodes = group("groupCapcode", "Capcode( Decimal Address )", 320, 10, 670, 326, cap)

    pll = panel("panPLL", 320, 344, 670, 32, props=[("frameShadow", "enum", "QFrame::Sunken")],
                children=[
        label("lblTitleBfreq", "BFreq:", 10, 5, 44),
        label("lblBfreq", "-------", 56, 5, 70, hint=VALUE),
        label("lblTitleINCD", "INCD:", 136, 5, 40),
        label("lblINCD", "02", 178, 5, 50, hint=VALUE),
        label("lblTitlePLLR", "PLL R:", 238, 5, 44),
        label("lblPLLR", "002801", 284, 5, 60, hint=VALUE),
        label("lblTitlePLLN", "PLL N:", 354, 5, 44),
        label("lblPLLN", "00B4A0", 400, 5, 60, hint=VALUE),
        label("lblTitleChannel", "Channel:", 470, 5, 56),
        label("lblChannel", "5KHz", 528, 5, 80, hint=VALUE),
    ])

    headings = ["PG"] + [f"M{c}" for c in "123456789ABCDEF"]
    status = [button("btnSelect", "Alert Length Select", 12, 30, 140, h=48)]
    for i, text in enumerate(headings):
        status.append(label(f"lblMsgType{i}", text, 250 + 34 * i, 26, 30,
                            props=[("alignment", "set", "Qt::AlignCenter")]))
    status.append(label("lblTAlertLen", "Alert Length", 164, 56, 82))
    for i in range(16):
        status.append(label(f"lblLength{i}", "00", 250 + 34 * i, 56, 30, tag=i, hint=VALUE,
                            props=[("alignment", "set", "Qt::AlignCenter")]))
    status += [
        caption_label("textPass", 800, 56, 58),
        edit("textPass", 890, 56, 80, "000000", maxlen=6),
    ]
    msg = group("groupMsgTypeStatus", "Message Type Status", 10, 390, 980, 96, status)
    return [freq, capcodes, pll, msg]


# ---------------------------------------------------------------- panAS

def page_as():
    left = 12
    lw = 176  # label width
    cx = 192  # combo x
    rows = [
        ("lblReadTimeOut", field("cboCtl6")["caption"], None),
        ("lblReminderDuration", field("cboRDC")["caption"], None),
        ("lblSequentialLockout", field("cboSLC")["caption"],
         "The pager ignores duplicate transmissions that occur within the selected time period."),
        ("lblBatHigh", "Battery Gauge Level-Hight", None),
        ("lblBatMed", "Battery Gauge Level-Med", None),
        ("lblBatLow", "Battery Gauge Level-Low", None),
        ("lblContrast", field("TrackBar1")["caption"], None),
        ("lblPagingDisplay", field("cboCtl4")["caption"], None),
        ("lblOutOfRange", field("cboOSC")["caption"], None),
        ("lblDateFormat", field("cboCtl7")["caption"], None),
    ]
    ys = [26 + 28 * i for i in range(len(rows))]
    st = []
    # The control each row label stands beside; the battery levels share
    # their three labels between two trios and name themselves from them.
    beside = {"lblReadTimeOut": "cboCtl6", "lblReminderDuration": "cboRDC",
              "lblSequentialLockout": "cboSLC", "lblContrast": "TrackBar1",
              "lblPagingDisplay": "cboCtl4", "lblOutOfRange": "cboOSC", "lblDateFormat": "cboCtl7"}
    for (name, text, user_hint), y in zip(rows, ys):
        st.append(label(name, text, left, y, lw, hint=user_hint or "", tooltip=user_hint,
                        buddy=beside.get(name)))
    y = dict(zip([r[0] for r in rows], ys))
    st += [
        bound_combo("cboCtl6", cx, y["lblReadTimeOut"], 120),
        combo("cboRDC", cx, y["lblReminderDuration"], 120, field("cboRDC")["items"]),
        combo("cboSLC", cx, y["lblSequentialLockout"], 120, field("cboSLC")["items"]),
    ]
    # The two threshold trios share the same three places; the threshold
    # refresh brings the trio of the battery type in force to the front.
    places = ["lblBatLow", "lblBatMed", "lblBatHigh"]
    for t in range(6):
        st.append(combo(f"cboBatLev{t}", cx, y[places[t % 3]], 120,
                        RECHARGEABLE if t < 3 else STANDARD, index=-1, tag=t,
                        named_by=places[t % 3]))
    st += [
        W("TTrackBar", "TrackBar1", cx, y["lblContrast"], 120, ROW_H + 4, props=[
            ("orientation", "enum", "Qt::Horizontal"), ("minimum", "number", 1),
            ("maximum", "number", 8), ("value", "number", 4), ("pageStep", "number", 1),
            ("tickPosition", "enum", "QSlider::TicksBelow")]),
        label("lblValue", "4", cx + 128, y["lblContrast"], 24, hint=VALUE),
        bound_combo("cboCtl4", cx, y["lblPagingDisplay"], 120),
        combo("cboOSC", cx, y["lblOutOfRange"], 120, field("cboOSC")["items"]),
        bound_combo("cboCtl7", cx, y["lblDateFormat"], 120),
    ]
    top = ys[-1] + 38
    # Check boxes by name and Tag; caption and hint come from the catalogue.
    left_col = [
        ("chkCtl0", 0),
        ("chkCtl12", 12),
        ("chkDuplicateMsgDetect", 0),
        ("chkBeepAndVibration", 0),
        ("chkCtl11", 11),
        ("chkDiscardErrMsg", 0),
        ("chkCtl10", 10),
        ("chkPushKeyLampOn", 0),
        ("chkAirProgram", 0),
    ]
    # Right column, by row: the boxes that "Push Key Lamp On Enable" reveals
    # sit beside it, so hiding them leaves no gap among the others.
    right_col = [
        (0, "CheckBox3", 0, False),
        (1, "chkKeyboardInterlock", 0, False),
        (2, "chkGupCodeDisable", 0, False),
        (3, "CheckBox4", 0, False),
        # Never shown: the pager-off key option and the battery type, which
        # arrives with a loaded or read image.
        (4, "chkRDKeyPagerOff", 0, True),
        (5, "chkCtl22", 22, True),
        (7, "chkRDKeyDel", 0, False),
        (8, "CheckBox1", 0, False),
    ]
    # "Direct Show Lamp On" appears beside the paging display mode "Direct".
    st.append(bound_check("chkDirectShowLampOn", cx + 128, y["lblPagingDisplay"], 170))
    for k, (name, tag) in enumerate(left_col):
        st.append(bound_check(name, left, top + 25 * k, 238, tag=tag))
    for k, name, tag, hidden in right_col:
        st.append(bound_check(name, 256, top + 25 * k, 230, tag=tag, hidden=hidden))
    alert_status = group("groupAlertStatus", "Alerts and Status", 8, 8, 500, 584, st)

    prompts = group("groupPrompts", "Prompts", 520, 8, 472, 112, [
        label("lblPrompt0", "Power Up Logo", 12, 26, 100, buddy="edtPrompt0"),
        edit("edtPrompt0", 116, 26, 186, "", maxlen=21, hint="0x100,0"),
        button("btnLeft1", "Left", 306, 26, 50, dclass="TBitBtn", described_by="lblPrompt0"),
        button("btnCenter1", "Center", 358, 26, 52, dclass="TBitBtn", described_by="lblPrompt0"),
        button("btnRight1", "Right", 412, 26, 54, dclass="TBitBtn", described_by="lblPrompt0"),
        bound_check("chkLogoLargeFont", 116, 54, 160),
        caption_label("cboLogo", 12, 82, 100),
        bound_combo("cboLogo", 116, 82, 100, index=3),
        caption_label("cboLng", 240, 82, 110),
        combo("cboLng", 352, 82, 108, field("cboLng")["items"], index=3),
    ])

    menu = []
    row = 0
    for k in range(8):
        if k == 4:
            # "Auto Sleep Off" is never shown; it carries its state from the image.
            menu.append(bound_check("chkMenu4", 240, 24 + 25 * 5, 200, tag=4, hidden=True))
            continue
        menu.append(bound_check(f"chkMenu{k}", 12, 24 + 25 * row, 124 if k == 6 else 200, tag=k))
        if k == 6:
            # The fixed alert tone appears beside "Set Alert Off" while that
            # menu item is switched off.
            menu.append(combo("cboTone", 138, 24 + 25 * row, 92, ALERT_TONES, hidden=True,
                              spoken="Alert tone", described_by=f"chkMenu{k}"))
        row += 1
    for r, (name, tag, hidden) in enumerate([
        ("chkCtl16", 16, False),
        ("chkCtl15", 15, False),
        ("chkCtl18", 18, False),
        ("chkMoveToMemo", 0, False),
        ("chkCtl17", 17, True),
    ]):
        menu.append(bound_check(name, 240, 24 + 25 * r, 200, tag=tag, hidden=hidden))
    menu_group = group("groupMenuOfPager", "Menu Of Pager", 520, 128, 472, 204, menu)

    manual = group("GroupBox4", "Manual Write", 520, 340, 472, 80, [
        bound_check("chkManualWEn", 12, 24, 220, tag=0),
        bound_check("chkFreqMEn", 12, 50, 220),
        bound_check("chkPwdREn", 240, 24, 224),
        bound_check("chkPwdMEn", 240, 50, 224),
    ])
    return [alert_status, prompts, menu_group, manual]


# ---------------------------------------------------------------- panPE

# Tag, image offset and label of every prompt box; None marks a box that the
# window never shows (its record is still refreshed).
PROMPTS = [
    (0, "0x100", "Power Up Logo"),
    (1, "0x114", "NO PAGES ------->"),
    (2, "0x204", "TONE ONLY ------> "),
    (3, "0x218", "BEEP -----------> "),
    (4, "0x22C", "SILENT --------->"),
    (5, "0x330", "ZOOM OUT ------->"),
    (6, "0x1A0", "SET SCROLL ----->"),
    (7, "0x1B4", "SET TIME ------->"),
    (8, "0x1C8", "SET ALARM ------>"),
    (9, "0x2B8", None),
    (10, "0x1F0", "PAGER OFF ------>"),
    (11, "0x240", "PAGER OFF ? ---->"),
    (12, "0x1DC", "SET ALERT ------>"),
    (13, "0x128", "ESCAPE --------->"),
    (14, "0x164", "DELETE --------->"),
    (15, "0x254", "DELETE? -------->"),
    (16, "0x178", "DELETE ALL ----->"),
    (17, "0x290", "ALARM SET ------>"),
    (18, "0x2A4", "SCROLL SET ----->"),
    (19, "0x27C", "TIME SET ------->"),
    (20, "0x13C", "MESSAGE LOCK --->"),
    (21, "0x308", "SILENT THEN BEEP>"),
    (22, "0x2E0", None),
    (23, "0x4E4", None),
    (24, "0x3B8", "SET HISTORY----->"),
    (25, "0x3CC", "HISTORY SET----->"),
    (26, "0x400", "KEY UNLOCKED ? >"),
    (27, "0x414", "KEY LOCKED - --->"),
    (28, "0x0A0", "FLASH ONLY ----->"),
    (29, "0x268", "DELETE ALL ? --->"),
    (30, "0x31C", "ZOOM IN -------->"),
    (31, "0x150", "MESSAGE UNLOCK ->"),
    (32, "0x2CC", None),
    (33, "0x4B8", "SET CAPCODE ---->"),
    (34, "0x18C", "MOVE TO MEMO --->"),
    (35, "0x4A4", "CAPCODE SET ---->"),
    (36, "0x43C", "KEY LOCKED ? --->"),
    (37, "0x48D", None),
    (38, "0x479", None),
    (39, "0x45C", None),
    (40, "0x0EC", None),
    (41, "0x0B4", "OUT OF RANGE --->"),
    (42, "0x428", "CHARGING ------->"),
    (43, "0xFE9", "DISCRETE ------->"),
]
SPECIAL_PROMPTS = {3, 4, 21, 28, 43}  # 18 characters wide; the others 21


def page_pe():
    out = []
    shown = [p for p in PROMPTS if p[0] > 0 and p[2] is not None]
    per_col = (len(shown) + 1) // 2
    pos = {}
    for n, (tag, _, _) in enumerate(shown):
        col, row = divmod(n, per_col)
        pos[tag] = (16 + 492 * col, 16 + 28 * row)
    hidden_slot = 0
    boxes = []
    for tag, offset, text in PROMPTS[1:]:
        maxlen = 18 if tag in SPECIAL_PROMPTS else 21
        if text is None:
            # Never shown: parked in the free corner at the bottom right.
            x, y = 560 + 52 * hidden_slot, 540
            hidden_slot += 1
            boxes.append(edit(f"edtPrompt{tag}", x, y, 48, maxlen=maxlen, tag=tag,
                              hint=f"{offset},0", hidden=True))
            continue
        x, y = pos[tag]
        # Out of range (41) is shown by start-up, charging (42) by Open.
        hidden = tag in (41, 42)
        out.append(label(f"lblPrompt{tag}", text, x, y, 140, hidden=hidden,
                         buddy=f"edtPrompt{tag}"))
        boxes.append(edit(f"edtPrompt{tag}", x + 146, y, 190, maxlen=maxlen, tag=tag,
                          hint=f"{offset},0", hidden=hidden))
    # Labels first, then the boxes in Tag order, then the alignment buttons.
    out += boxes
    out += [
        button("btnLeft0", "Align Left", 16, 548, 100, dclass="TBitBtn", tag=1,
               hint="Align Left", tooltip="Align Left"),
        button("btnCenter0", "Align Center", 124, 548, 100, dclass="TBitBtn", tag=1,
               hint="Align Center", tooltip="Align Center"),
        button("btnRight0", "Align Right", 232, 548, 100, dclass="TBitBtn", tag=1,
               hint="Align Right", tooltip="Align Right"),
    ]
    return out


# ---------------------------------------------------------------- pnlSource

def page_source():
    out = [
        caption_label("cboSource", 16, 14, 80),
        combo("cboSource", 100, 14, 100, field("cboSource")["items"]),
        label("lblSrcPage", "Capcode Page", 230, 14, 90, buddy="cboSrcPage"),
        combo("cboSrcPage", 344, 14, 130, page_items(4, 4)),
    ]
    boxes, lines = [], []
    for k in range(16):
        i, j = divmod(k, 4)  # capcode row, function bit
        col = i // 2
        block = (i % 2) * 4 + j
        x = 16 + 500 * col
        y = 74 + 56 * block + (14 if i % 2 else 0)
        caption = f"Cap #{i + 1}: Source {FUNCTION_BITS[j]}"
        byte, bit = divmod(k, 8)
        boxes.append(check(f"chkSource{2 * k}", caption, x, y, 146, tag=2 * k,
                           hint=f"0x{0x7C0 + byte:03X},{7 - bit},1,chkSource"))
        # The odd-numbered boxes belong to the registry but are never shown.
        boxes.append(check(f"chkSource{2 * k + 1}", caption + " 2", x, y + 26, 146,
                           tag=2 * k + 1, hidden=True))
        # Each line is named by its check box; the second by the hidden one below it.
        lines.append(edit(f"txtSource{2 * k}", x + 150, y, 190, maxlen=21, tag=2 * k,
                          named_by=f"chkSource{2 * k}"))
        lines.append(edit(f"txtSource{2 * k + 1}", x + 150, y + 26, 190, maxlen=21,
                          tag=2 * k + 1, named_by=f"chkSource{2 * k + 1}"))
    # The two logo lines are part of the registry; no visible control edits them.
    bold = [("font", "font", "bold")]
    lines.append(edit("txtSource32", 700, 14, 130, maxlen=16, tag=32, hidden=True, props=bold))
    lines.append(edit("txtSource33", 840, 14, 130, maxlen=16, tag=33, hidden=True, props=bold))
    # Family order: the check boxes by Tag, then the text lines by Tag.
    return out + boxes + lines


# ---------------------------------------------------------------- pnlMusic

def page_music():
    rows = [
        label("lblCapMTPage", "Capcode Page", 12, 26, 90, buddy="cboMTPage"),
        combo("cboMTPage", 124, 26, 130, page_items(4, 4)),
    ]
    for r in range(16):
        i, j = divmod(r, 4)
        y = 60 + 30 * r + 8 * i
        rows += [
            label(f"lblCapMusic{r}", f"Cap #{i + 1}: Music Type {FUNCTION_BITS[j]}", 12, y, 150,
                  tag=r, buddy=f"cboMusicType{r}"),
            combo(f"cboMusicType{r}", 166, y, 100, MUSIC_TYPES, tag=r),
            edit(f"edtMusicType{r}", 272, y, 160, maxlen=16, tag=r, spoken="User music",
                 described_by=f"lblCapMusic{r}"),
            button(f"btnPreview{r}", "Preview", 438, y, 70, tag=r, described_by=f"lblCapMusic{r}"),
            button(f"btnStop{r}", "Stop", 512, y, 56, tag=r, disabled=True,
                   described_by=f"lblCapMusic{r}"),
        ]
    music = group("groupMusicTone", "Music and Tone of Capcode", 8, 8, 584, 584, rows)

    types = [
        bound_check("chkCapMusicType", 12, 24, 300),
        check("chkCME", "Capcode User Music Enable", 200, 232, 180, hint="0x02F,0,1,chkN",
              hidden=True),
        bound_check("chkPriMusicType", 12, 52, 200),
        combo("cboPriType", 216, 52, 100, TUNES, named_by="chkPriMusicType"),
        bound_check("chkGupMusicType", 12, 80, 200),
        combo("cboGroupType", 216, 80, 100, TUNES, named_by="chkGupMusicType"),
        bound_check("chkAlarmMusicType", 12, 108, 300),
    ]
    for a in range(5):
        types.append(label(f"lblAlarm{a + 1}", f"Alarm {a + 1}", 32, 134 + 26 * a, 60,
                           buddy=f"cboAlarmType{a}"))
    for a in range(5):
        types.append(combo(f"cboAlarmType{a}", 96, 134 + 26 * a, 100, TUNES, tag=a))
    type_group = group("groupMusicTypes", "Music Type Enable", 604, 8, 388, 268, types)

    # Out-of-range alert: made visible by start-up.
    oor = group("grouOutOfRange", "Out Of Range", 604, 284, 388, 110, hidden=True, children=[
        bound_check("CheckBox2", 12, 24, 200, hidden=True),
        caption_label("cboORAAlert", 12, 52, 90),
        combo("cboORAAlert", 106, 52, 100, field("cboORAAlert")["items"], hidden=True),
        edit("edtOORMusic", 12, 80, 190, maxlen=16, hidden=True, spoken="User music",
             described_by="grouOutOfRange"),
        button("btnPreview16", "Preview", 210, 80, 86, tag=16, hidden=True,
               described_by="grouOutOfRange"),
        button("btnStop16", "Stop", 300, 80, 76, tag=16, hidden=True, disabled=True,
               described_by="grouOutOfRange"),
    ])
    reminder = group("GroupBox3", "Reminder Select Tone", 604, 402, 388, 110, [
        bound_check("chkReminderSelectTone", 12, 24, 200),
        caption_label("cboRToneType", 12, 52, 90),
        combo("cboRToneType", 106, 52, 100, field("cboRToneType")["items"]),
        edit("edtReminderMusic", 12, 80, 190, maxlen=16, spoken="User music",
             described_by="GroupBox3"),
        button("btnPreview17", "Preview", 210, 80, 86, tag=17, described_by="GroupBox3"),
        button("btnStop17", "Stop", 300, 80, 76, tag=17, disabled=True, described_by="GroupBox3"),
    ])
    return [music, type_group, oor, reminder]


# ---------------------------------------------------------------- panAES

# Six key lists carry an extra 0 in their names.
AES_COMBO_NAMES = {6: "cboAESKey06", 7: "cboAESKey07", 14: "cboAESKey014",
                   19: "cboAESKey019", 23: "cboAESKey023", 28: "cboAESKey028"}


def page_aes():
    cap = [
        label("lblECPage", "Capcode Page", 12, 26, 90, buddy="cboECPage"),
        combo("cboECPage", 124, 26, 130, page_items(1, 8)),
    ]
    for b in range(4):
        cap.append(label(f"lblHdrFunBit{FUNCTION_BITS[b]}", FUNCTION_BITS[b],
                         186 + 112 * b, 56, 106, props=[("alignment", "set", "Qt::AlignCenter")]))
    for i in range(8):
        cap.append(label(f"lblECAP{i}", f"Capcode {i + 1} Function Bit", 12, 82 + 30 * i, 168,
                         tag=i))
    for n in range(32):
        row, b = divmod(n, 4)
        # Wide enough for the German "Schlüssel 16".
        # Named by its capcode's row, described by its function bit's column.
        cap.append(combo(AES_COMBO_NAMES.get(n, f"cboAESKey{n}"), 186 + 112 * b, 82 + 30 * row,
                         106, KEY_CHOICES, tag=n, named_by=f"lblECAP{row}",
                         described_by=f"lblHdrFunBit{FUNCTION_BITS[b]}"))
    capcodes = group("groupEncryCapcode", "Encryption Capcode", 8, 8, 640, 330, cap)

    keys = []
    for k in range(16):
        keys.append(label(f"lblAESKey{k}", f"Key {k + 1}", 12, 26 + 30 * k, 52,
                          buddy=f"edtAESKey{k}"))
    for k in range(16):
        keys.append(edit(f"edtAESKey{k}", 100, 26 + 30 * k, 200,
                         "ABCDEFGHIJKLMNOP" if k == 0 else "", maxlen=16, tag=k))
    key_group = group("groupEncryKey", "Encryption Key", 656, 8, 336, 516, keys)

    options = [
        bound_check("chkAESEN", 16, 348, 280),
        bound_check("chkOTAEN", 16, 374, 280),
        bound_check("chkCtl14", 16, 400, 280, tag=14),
        label("lblDBName", "", 300, 348, 270, hint=VALUE),
    ]
    serial = group("groupPagerSN", "Pager Serial Number", 8, 432, 640, 60, [
        label("lblSN", "Serial No.", 12, 26, 80, buddy="txtSN"),
        edit("txtSN", 96, 26, 140, maxlen=12),
    ])
    # Read by the over-the-air window; never shown.
    ota = group("groupOTAFeatures", "OTA Features", 8, 500, 640, 92, hidden=True, children=[
        label("lblSSN", "SSN", 12, 24, 36, buddy="edtSSN"),
        edit("edtSSN", 52, 24, 250, "0" * 16),
        label("lblPSN", "PSN", 312, 24, 36, buddy="edtPSN"),
        edit("edtPSN", 352, 24, 200, "0" * 12),
        label("lblRTCCtl", "Control Capcode", 12, 56, 104, buddy="edtRTCCtl"),
        edit("edtRTCCtl", 134, 56, 70, maxlen=8, tag=8),
        check("chkReminder", "Reminder", 212, 56, 90),
        edit("txtReminder", 304, 56, 60, "0", maxlen=5, named_by="chkReminder"),
        check("chkMailDropAlert", "Mail Drop Alert", 376, 56, 180),
    ])
    return capcodes, key_group, options, serial, ota


# ---------------------------------------------------------------- writer

def flatten(items):
    out = []
    for it in items:
        if isinstance(it, (list, tuple)):
            out += flatten(it)
        else:
            out.append(it)
    return out


def prop(name, kind, value, stdset=True, indent=""):
    attr = "" if stdset else ' stdset="0"'
    if kind == "string":
        body = f"<string notr=\"true\">{escape(value)}</string>" if not stdset else \
            f"<string>{escape(value)}</string>"
    elif kind == "number":
        body = f"<number>{value}</number>"
    elif kind == "bool":
        body = f"<bool>{'true' if value else 'false'}</bool>"
    elif kind == "enum":
        body = f"<enum>{value}</enum>"
    elif kind == "set":
        body = f"<set>{value}</set>"
    elif kind == "font":
        body = "<font><bold>true</bold></font>"
    else:
        raise ValueError(kind)
    return f'{indent}<property name="{name}"{attr}>{body}</property>\n'


def write_widget(w: W, indent: str) -> str:
    qt = QT_CLASS[w.dclass]
    s = f'{indent}<widget class="{qt}" name="{w.name}">\n'
    i2 = indent + " "
    x, y, ww, hh = w.geo
    s += (f'{i2}<property name="geometry"><rect><x>{x}</x><y>{y}</y>'
          f'<width>{ww}</width><height>{hh}</height></rect></property>\n')
    if w.hidden:
        s += prop("visible", "bool", False, indent=i2)
    if w.disabled:
        s += prop("enabled", "bool", False, indent=i2)
    if w.text is not None:
        if qt == "QGroupBox":
            s += prop("title", "string", w.text, indent=i2)
        elif qt in ("QLabel", "QCheckBox", "QPushButton", "QRadioButton", "QLineEdit"):
            s += prop("text", "string", w.text, indent=i2)
    if w.maxlen is not None:
        s += prop("maxLength", "number", w.maxlen, indent=i2)
    if w.readonly:
        s += prop("readOnly", "bool", True, indent=i2)
    if w.tooltip:
        s += prop("toolTip", "string", w.tooltip, indent=i2)
    if w.spoken:
        s += prop("accessibleName", "string", w.spoken, indent=i2)
    if w.buddy:
        s += f'{i2}<property name="buddy"><cstring>{w.buddy}</cstring></property>\n'
    if w.named_by:
        s += prop("NamedBy", "string", w.named_by, stdset=False, indent=i2)
    if w.described_by:
        s += prop("DescribedBy", "string", w.described_by, stdset=False, indent=i2)
    if qt == "QFrame":
        s += prop("frameShape", "enum", "QFrame::StyledPanel", indent=i2)
    if qt == "QLabel":
        # Captions come from the language file: never read them as markup.
        s += prop("textFormat", "enum", "Qt::PlainText", indent=i2)
    for name, kind, value in w.props:
        s += prop(name, kind, value, indent=i2)
    s += prop("Tag", "number", w.tag, stdset=False, indent=i2)
    s += prop("Hint", "string", w.hint, stdset=False, indent=i2)
    s += prop("designedClass", "string", w.dclass, stdset=False, indent=i2)
    if w.dclass == "TLabel":
        s += prop("AutoSize", "bool", w.autosize, stdset=False, indent=i2)
    if w.items is not None:
        for item in w.items:
            s += f'{i2}<item><property name="text"><string>{escape(item)}</string></property></item>\n'
        if w.index is not None:
            s += prop("currentIndex", "number", w.index, indent=i2)
    for c in w.children:
        s += write_widget(c, i2)
    s += f"{indent}</widget>\n"
    return s


def write_page(file_name, panel_name, children, tracks_mouse=False):
    s = '<?xml version="1.0" encoding="UTF-8"?>\n'
    s += "<!-- Generated by generate_pages.py; edit the tables there, not this file. -->\n"
    s += '<ui version="4.0">\n'
    s += f" <class>{panel_name}</class>\n"
    s += f' <widget class="QFrame" name="{panel_name}">\n'
    s += (f'  <property name="geometry"><rect><x>0</x><y>0</y><width>{PAGE_W}</width>'
          f'<height>{PAGE_H}</height></rect></property>\n')
    s += prop("frameShape", "enum", "QFrame::NoFrame", indent="  ")
    # A page hides the pages behind it, so it paints its own background.
    s += prop("autoFillBackground", "bool", True, indent="  ")
    if tracks_mouse:
        # Moving the mouse over these pages commits the field being edited.
        s += prop("mouseTracking", "bool", True, indent="  ")
    s += prop("Tag", "number", 0, stdset=False, indent="  ")
    s += prop("Hint", "string", "", stdset=False, indent="  ")
    s += prop("designedClass", "string", "TPanel", stdset=False, indent="  ")
    for w in flatten(children):
        s += write_widget(w, "  ")
    s += " </widget>\n <resources/>\n <connections/>\n</ui>\n"
    with open(os.path.join(OUT["pages"], file_name), "w", encoding="utf-8") as f:
        f.write(s)


# ------------------------------------------------------ control name header

# The family prefixes of the control registry, in the order a name is matched
# against them (the first match wins). The registry takes this list from the
# generated header, so it exists once.
FAMILIES = [
    "edtCap", "edtDisp", "edtType", "edtPri", "edtPrompt", "chkCtl",
    "lblLength", "cboBatLev", "chkMenu", "chkSource", "cboMusicType", "cboAlarmType",
    "txtSource", "edtMusicType", "btnPreview", "btnStop", "lblCapMusic", "edtAESKey",
    "cboAESKey", "lblCCode", "lblECAP", "chkManu", "chkEnCap",
]

# Widgets of the main window's own design (outside the pages) that editors use.
MAIN_WINDOW_UI = os.path.join(HERE, "..", "main_window.ui")
MAIN_WINDOW_SKIPPED = {"QMainWindow", "QWidget", "QMenuBar", "QMenu", "QStatusBar"}


def main_window_controls():
    """(name, Qt class) of the main window design's own controls."""
    import xml.etree.ElementTree as ET
    out = []
    for w in ET.parse(MAIN_WINDOW_UI).getroot().iter("widget"):
        if w.get("class") not in MAIN_WINDOW_SKIPPED:
            out.append((w.get("name"), w.get("class")))
    return out


def write_control_names(pages):
    """Writes editors/control_list.inc: one ZRV_CONTROL(class, name) line per
    control and one ZRV_FAMILY(class, prefix) line per registry family, which
    editors/control_names.h turns into typed constants, so a misspelt name is
    a compile error."""
    controls = []  # (name, qt class), first occurrence wins
    seen = set()

    def walk(ws):
        for w in flatten(ws):
            yield w
            yield from walk(w.children)

    for panel_name, children in pages:
        seen.add(panel_name)
        controls.append((panel_name, "QFrame"))
        for c in walk(children):
            if c.name not in seen:
                seen.add(c.name)
                controls.append((c.name, QT_CLASS[c.dclass]))
    for name, qt in main_window_controls():
        if name not in seen:
            seen.add(name)
            controls.append((name, qt))
    families = []
    for prefix in FAMILIES:
        # A name goes to the first family whose prefix starts it.
        members = [qt for name, qt in controls
                   if next((f for f in FAMILIES if name.startswith(f)), None) == prefix]
        qt = members[0] if members and all(m == members[0] for m in members) else "QWidget"
        families.append((prefix, qt))
    s = "// Generated by app/pages/generate_pages.py from the page tables and\n"
    s += "// app/main_window.ui; edit those and run the script, not this file.\n"
    s += "// The main window's controls in creation order, then the registry\n"
    s += "// families in matching order (see editors/control_names.h).\n"
    for name, qt in controls:
        s += f"ZRV_CONTROL({qt}, {name})\n"
    for prefix, qt in families:
        s += f"ZRV_FAMILY({qt}, {prefix})\n"
    path = os.path.join(OUT["editors"], "control_list.inc")
    with open(path, "w", encoding="utf-8") as f:
        f.write(s)
    write_control_meanings(controls)

# Controls whose objectName says nothing of their meaning ("chkCtl12"):
# code names them by their catalogue field instead.
NUMBERED_NAME = re.compile(r"(chkCtl|cboCtl|CheckBox)[0-9]+")


def meaning_name(field_name):
    """A catalogue field's name as a C++ name: "rd-key.switch-alert" -> "rdKeySwitchAlert"."""
    words = re.split(r"[-.]", field_name)
    return words[0] + "".join(w[:1].upper() + w[1:] for w in words[1:])


def write_control_meanings(controls):
    """Writes editors/control_meanings.inc: one ZRV_MEANING(class, meaning,
    objectName) line per catalogued control with a numbered name, which
    editors/control_names.h turns into constants named by meaning."""
    qt_of = dict(controls)
    s = "// Generated by app/pages/generate_pages.py from app/pages/fields.json;\n"
    s += "// edit the field catalogue and run the script, not this file.\n"
    s += "// Controls with a numbered objectName, named by their catalogue field.\n"
    for name, row in CATALOGUE.items():
        if NUMBERED_NAME.fullmatch(name):
            s += f"ZRV_MEANING({qt_of[name]}, {meaning_name(row['name'])}, {name})\n"
    with open(os.path.join(OUT["editors"], "control_meanings.inc"), "w", encoding="utf-8") as f:
        f.write(s)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", help="write every generated file into this folder instead")
    out = parser.parse_args().out
    if out:
        OUT["pages"] = OUT["editors"] = out
    write_page("page_cf.ui", "panCF", page_cf(), tracks_mouse=True)
    write_page("page_as.ui", "panAS", page_as(), tracks_mouse=True)
    write_page("page_pe.ui", "panPE", page_pe())
    write_page("page_source.ui", "pnlSource", page_source())
    write_page("page_music.ui", "pnlMusic", page_music(), tracks_mouse=True)
    write_page("page_aes.ui", "panAES", page_aes())
    write_control_names([("panCF", page_cf()), ("panAS", page_as()), ("panPE", page_pe()),
                         ("pnlSource", page_source()), ("pnlMusic", page_music()),
                         ("panAES", page_aes())])


if __name__ == "__main__":
    main()
