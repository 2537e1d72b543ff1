"""Reads and writes the entries of a compiled resource file (.res)."""
import struct
from dataclasses import dataclass

RT_STRING, RT_MENU, RT_DIALOG = 6, 4, 5


@dataclass
class Entry:
    type: object  # an ordinal (int) or a name (str)
    name: object
    language: int
    header: bytes  # the whole header as read, so that an entry is written back unchanged
    data: bytes


def _name(blob, offset):
    (first,) = struct.unpack_from("<H", blob, offset)
    if first == 0xFFFF:
        return struct.unpack_from("<H", blob, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from("<H", blob, end)[0] != 0:
        end += 2
    return blob[offset:end].decode("utf-16-le"), end + 2


def read(path):
    blob = open(path, "rb").read()
    entries, offset = [], 0
    while offset < len(blob):
        data_size, header_size = struct.unpack_from("<II", blob, offset)
        kind, after = _name(blob, offset + 8)
        name, after = _name(blob, after)
        after = (after + 3) & ~3
        (language,) = struct.unpack_from("<H", blob, after + 6)
        header = blob[offset:offset + header_size]
        data = blob[offset + header_size:offset + header_size + data_size]
        entries.append(Entry(kind, name, language, header, data))
        offset = (offset + header_size + data_size + 3) & ~3
    return entries


def write(path, entries):
    with open(path, "wb") as out:
        for entry in entries:
            out.write(entry.header + entry.data + b"\0" * (-len(entry.data) % 4))


def _text(blob, offset):
    """A null-terminated UTF-16 string, or an ordinal (0xFFFF, number), or nothing (0)."""
    (first,) = struct.unpack_from("<H", blob, offset)
    if first == 0:
        return None, offset + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", blob, offset + 2)[0], offset + 4
    return _name(blob, offset)


def menu_levels(data):
    """The item texts of a menu template, one list per menu level (the bar, then each pop-up)."""
    levels = []

    def level(offset):
        texts = []
        levels.append(texts)
        while True:
            (flags,) = struct.unpack_from("<H", data, offset)
            offset += 2 if flags & 0x10 else 4  # MF_POPUP items have no id
            text, offset = _name(data, offset)
            if text:
                texts.append(text)
            if flags & 0x10:
                offset = level(offset)
            if flags & 0x80:  # MF_END
                return offset

    level(4)  # after the version and header size
    return levels


def dialog_texts(data):
    """The caption and the texts of the controls of a DIALOG or DIALOGEX template."""
    extended = struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    if extended:
        style, count = struct.unpack_from("<I", data, 12)[0], struct.unpack_from("<H", data, 16)[0]
        offset = 26
    else:
        style, count = struct.unpack_from("<I", data, 0)[0], struct.unpack_from("<H", data, 8)[0]
        offset = 18
    _, offset = _text(data, offset)  # menu
    _, offset = _text(data, offset)  # class
    caption, offset = _text(data, offset)
    if style & 0x40:  # DS_SETFONT: size (with weight, italic and charset in DIALOGEX) and face
        offset += 6 if extended else 2
        _, offset = _name(data, offset)
    controls = []
    for _ in range(count):
        offset = (offset + 3) & ~3
        offset += 24 if extended else 18
        _, offset = _text(data, offset)  # class
        title, offset = _text(data, offset)
        (extra,) = struct.unpack_from("<H", data, offset)
        offset += 2 + extra
        if isinstance(title, str) and title:
            controls.append(title)
    return caption, controls
