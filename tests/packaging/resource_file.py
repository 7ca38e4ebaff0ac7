"""Reads a compiled Windows resource file (.res): its resources with type, name,
language and data, and the tree of a version block. Raises ValueError on a
truncated or inconsistent file instead of reading past its end."""
import struct
from typing import NamedTuple

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16


class Resource(NamedTuple):
    type: object      # a number, or a name for named types
    name: object      # a number, or a name
    language: int
    data: bytes


class VersionNode(NamedTuple):
    key: str
    value: object     # str for text values, bytes for binary ones
    children: list


def align4(offset):
    return (offset + 3) & ~3


def unpack_at(fmt, blob, offset, end=None):
    end = len(blob) if end is None else end
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > end:
        raise ValueError(f"{size} bytes at {offset} run past {end}")
    return struct.unpack_from(fmt, blob, offset)


def utf16_string(blob, offset, end):
    """A zero-terminated UTF-16LE string and the offset just after its zero."""
    position = offset
    while True:
        (unit,) = unpack_at("<H", blob, position, end)
        if unit == 0:
            return blob[offset:position].decode("utf-16-le"), position + 2
        position += 2


def name_or_number(blob, offset, end):
    """A resource type or name: 0xFFFF and a number, or a string."""
    (first,) = unpack_at("<H", blob, offset, end)
    if first == 0xFFFF:
        (number,) = unpack_at("<H", blob, offset + 2, end)
        return number, offset + 4
    return utf16_string(blob, offset, end)


def read_resources(blob):
    """Every resource of a .res file in file order, without the empty entry that
    opens a 32-bit resource file."""
    resources = []
    offset = 0
    while offset < len(blob):
        data_size, header_size = unpack_at("<II", blob, offset)
        header_end = offset + header_size
        data_end = header_end + data_size
        if header_size < 32 or data_end > len(blob):
            raise ValueError(f"resource entry at {offset} does not fit the file")
        kind, position = name_or_number(blob, offset + 8, header_end)
        name, position = name_or_number(blob, position, header_end)
        _, _, language, _, _ = unpack_at("<IHHII", blob, align4(position), header_end)
        if (kind, name, data_size) != (0, 0, 0):
            resources.append(Resource(kind, name, language, bytes(blob[header_end:data_end])))
        offset = align4(data_end)
    return resources


def read_version_node(blob, offset=0, end=None):
    """One node of a version block (VS_VERSIONINFO, StringFileInfo, a string
    table, a string, VarFileInfo, Var) with its children."""
    end = len(blob) if end is None else end
    length, value_length, value_type = unpack_at("<HHH", blob, offset, end)
    node_end = offset + length
    if length < 6 or node_end > end:
        raise ValueError(f"version node at {offset} does not fit its parent")
    key, position = utf16_string(blob, offset + 6, node_end)
    position = align4(position)
    if value_type == 1:  # text: the length counts UTF-16 units with the zero
        text = blob[position:position + 2 * value_length]
        if position + 2 * value_length > node_end:
            raise ValueError(f"text of {key!r} runs past its node")
        value = text.decode("utf-16-le").rstrip("\0")
        position += 2 * value_length
    else:
        if position + value_length > node_end:
            raise ValueError(f"value of {key!r} runs past its node")
        value = bytes(blob[position:position + value_length])
        position += value_length
    children = []
    position = align4(position)
    while position < node_end:
        child = read_version_node(blob, position, node_end)
        children.append(child)
        (child_length,) = unpack_at("<H", blob, position, node_end)
        position = align4(position + child_length)
    return VersionNode(key, value, children)


FIXED_FILE_INFO_FIELDS = (
    "signature", "structure_version", "file_version_ms", "file_version_ls",
    "product_version_ms", "product_version_ls", "flags_mask", "flags", "os",
    "type", "subtype", "date_ms", "date_ls")


def fixed_file_info(value):
    """The fixed part of a version block (VS_FIXEDFILEINFO) as a dictionary."""
    if len(value) != 52:
        raise ValueError(f"fixed version part of {len(value)} bytes, not 52")
    return dict(zip(FIXED_FILE_INFO_FIELDS, struct.unpack("<13I", value)))
