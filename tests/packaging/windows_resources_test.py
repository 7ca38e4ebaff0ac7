#!/usr/bin/env python3
"""The Windows resource script compiles with the MinGW resource compiler, and the
compiled resources are the application icon and the version block the game
carries, read back field by field.

Environment: TESSAROO_SOURCE_DIR (the source tree)."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import resource_file as rf  # noqa: E402

SOURCE = os.environ.get("TESSAROO_SOURCE_DIR", ".")
SCRIPT = os.path.join(SOURCE, "packaging/windows/tessaroo.rc")
ICO = os.path.join(SOURCE, "packaging/icons/tessaroo.ico")
WINDRES = "x86_64-w64-mingw32-windres"
ENGLISH_US = 1033

STRINGS = {
    "CompanyName": "Corvenna",
    "ProductName": "Tessaroo",
    "ProductVersion": "1.3",
    "FileVersion": "1.3",
    "FileDescription": "Puzzle game using your own pictures",
    "InternalName": "Tessaroo.exe",
    "OriginalFilename": "Tessaroo.exe",
    "LegalCopyright": "Copyright (C) Corvenna",
    "Email": "info@corvenna.example",
    "Website": "www.corvenna.example",
}

VERSION_1_3_0_0 = (1 << 16 | 3, 0)


def compile_script():
    """The resource script compiled to a .res file, as bytes."""
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "tessaroo.res")
        result = subprocess.run([WINDRES, "--preprocessor=cpp", "-O", "res", SCRIPT, output],
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise AssertionError(f"{WINDRES} failed:\n{result.stderr}")
        with open(output, "rb") as f:
            return f.read()


def ico_image():
    """The one image of the .ico file, as it should be stored in RT_ICON 1."""
    with open(ICO, "rb") as f:
        ico = f.read()
    size, offset = struct.unpack_from("<II", ico, 14)
    return ico[offset:offset + size]


def setUpModule():
    global RESOURCES
    if shutil.which(WINDRES) is None:
        raise AssertionError(f"{WINDRES} is missing: install binutils-mingw-w64-x86-64")
    RESOURCES = {(r.type, r.name, r.language): r.data
                 for r in rf.read_resources(compile_script())}


class WindowsResourcesTest(unittest.TestCase):

    def test_exactly_the_icon_its_group_and_the_version_block(self):
        self.assertEqual(sorted(RESOURCES), [(rf.RT_ICON, 1, ENGLISH_US),
                                             (rf.RT_GROUP_ICON, 1, ENGLISH_US),
                                             (rf.RT_VERSION, 1, ENGLISH_US)])

    def test_icon_is_one_32_by_32_image_of_16_colours(self):
        icon = RESOURCES[(rf.RT_ICON, 1, ENGLISH_US)]
        self.assertEqual(len(icon), 744)
        header = dict(zip(("size", "width", "height", "planes", "bits", "compression"),
                          struct.unpack_from("<IiiHHI", icon)))
        self.assertEqual(header, {"size": 40, "width": 32, "height": 64, "planes": 1,
                                  "bits": 4, "compression": 0})
        self.assertEqual(icon, ico_image(), "the icon differs from packaging/icons/tessaroo.ico")

    def test_group_lists_icon_1_as_its_only_image(self):
        group = RESOURCES[(rf.RT_GROUP_ICON, 1, ENGLISH_US)]
        self.assertEqual(len(group), 6 + 14)
        self.assertEqual(struct.unpack_from("<HHH", group), (0, 1, 1))
        entry = dict(zip(("width", "height", "colours", "reserved", "planes", "bits",
                          "bytes", "id"), struct.unpack_from("<BBBBHHIH", group, 6)))
        self.assertEqual(entry, {"width": 32, "height": 32, "colours": 16, "reserved": 0,
                                 "planes": 1, "bits": 4, "bytes": 744, "id": 1})

    def test_version_block(self):
        root = rf.read_version_node(RESOURCES[(rf.RT_VERSION, 1, ENGLISH_US)])
        self.assertEqual(root.key, "VS_VERSION_INFO")
        fixed = rf.fixed_file_info(root.value)
        self.assertEqual(fixed.pop("signature"), 0xFEEF04BD)
        self.assertEqual(fixed.pop("structure_version"), 0x00010000)
        self.assertEqual((fixed.pop("file_version_ms"), fixed.pop("file_version_ls")),
                         VERSION_1_3_0_0)
        self.assertEqual((fixed.pop("product_version_ms"), fixed.pop("product_version_ls")),
                         VERSION_1_3_0_0)
        self.assertEqual(fixed, {"flags_mask": 0, "flags": 0, "os": 0, "type": 0,
                                 "subtype": 0, "date_ms": 0, "date_ls": 0})

        self.assertEqual([child.key for child in root.children],
                         ["StringFileInfo", "VarFileInfo"])
        string_info, var_info = root.children

        self.assertEqual([table.key for table in string_info.children], ["000004b0"])
        strings = string_info.children[0].children
        self.assertEqual({s.key: s.value for s in strings}, STRINGS)
        self.assertEqual(len(strings), len(STRINGS), "a key appears twice")
        for string in strings:
            self.assertEqual(string.children, [], string.key)

        self.assertEqual([(var.key, var.value) for var in var_info.children],
                         [("Translation", struct.pack("<HH", 0x0000, 0x04B0))])


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[1:]])
