#!/usr/bin/env python3
"""`cmake --install` into a scratch prefix puts the game, its desktop entry, its
icons in every theme size and its AppStream metadata where desktops look for
them, and the freedesktop validators accept what was installed.

Environment: TESSAROO_BUILD_DIR (the configured build), CMAKE_COMMAND (optional),
TESSAROO_WITH_GAME ("1" when the build has the game)."""
import configparser
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

BUILD = os.environ.get("TESSAROO_BUILD_DIR", "")
CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
WITH_GAME = os.environ.get("TESSAROO_WITH_GAME") == "1"
APP_ID = "example.corvenna.Tessaroo"
DESKTOP = f"share/applications/{APP_ID}.desktop"
METAINFO = f"share/metainfo/{APP_ID}.metainfo.xml"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def png_size(path):
    """(width, height) from a PNG's header, or None when it is no PNG."""
    with open(path, "rb") as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


class InstallTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.prefix = cls.folder.name
        cls.installed = run(CMAKE, "--install", BUILD, "--prefix", cls.prefix)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def setUp(self):
        self.assertEqual(self.installed.returncode, 0, self.installed.stderr)

    def path(self, relative):
        return os.path.join(self.prefix, relative)

    def validate(self, *command):
        result = run(*command)
        self.assertEqual(result.returncode, 0,
                         f"{' '.join(command)}:\n{result.stdout}{result.stderr}")

    def test_desktop_entry_is_valid_and_starts_the_installed_game(self):
        self.validate("desktop-file-validate", self.path(DESKTOP))
        program = desktop_entry(self.path(DESKTOP))["Exec"].split()[0]
        self.assertEqual(program, "tessaroo")
        if WITH_GAME:
            game = self.path(f"bin/{program}")
            self.assertTrue(os.access(game, os.X_OK), f"bin/{program} is not installed")

    def test_metainfo_is_valid_and_names_the_desktop_entry(self):
        self.validate("appstreamcli", "validate", "--no-net", self.path(METAINFO))
        # The whole tree: the metainfo's launchable must be an installed desktop file.
        self.validate("appstreamcli", "validate-tree", "--no-net", self.prefix)
        component = ET.parse(self.path(METAINFO)).getroot()
        self.assertEqual(component.findtext("id"), APP_ID)
        self.assertEqual(component.findtext("launchable"), f"{APP_ID}.desktop")
        self.assertEqual(component.find("releases/release").get("version"), "1.3")

    def test_desktop_entry_icon_in_every_theme_size(self):
        name = desktop_entry(self.path(DESKTOP))["Icon"]
        for size in ICON_SIZES:
            with self.subTest(size=size):
                icon = self.path(f"share/icons/hicolor/{size}x{size}/apps/{name}.png")
                self.assertTrue(os.path.isfile(icon), f"{icon} is missing")
                self.assertEqual(png_size(icon), (size, size))

if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[1:]])
