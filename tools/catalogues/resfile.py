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
