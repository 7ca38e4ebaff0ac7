#!/usr/bin/env python3
"""The Debian package that CPack makes: its control fields and dependencies, its
files, and the game started from the unpacked package on an X server.

Environment: TESSAROO_BUILD_DIR (the configured and built tree), TESSAROO_DEB_DIR
(where the package is made), CPACK_COMMAND (optional). Usage:
    debian_package_test.py build                 make the package (test fixture)
    debian_package_test.py TestClass[.test] ...  check it
The game test needs DISPLAY and a window manager (tools/x-session.sh)."""
import configparser
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

BUILD = os.environ.get("TESSAROO_BUILD_DIR", "")
DEB_DIR = os.environ.get("TESSAROO_DEB_DIR", "")
CPACK = os.environ.get("CPACK_COMMAND", "cpack")
APP_ID = "example.corvenna.Tessaroo"
MAIN_TITLE = "Tessaroo by www.corvenna.example"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)

# Libraries the game loads, by the Debian package that ships them, and the
# browser hand-off, which the linker cannot see.
NEEDED_PACKAGES = (r"libwxbase3\.2-\d+", r"libwxgtk3\.2-\d+", r"libsdl2-2\.0-0",
                   r"libjpeg62-turbo", r"libpng16-16", r"libstdc\+\+6", r"libc6",
                   r"xdg-utils")


def run(*command, check=True):
    result = subprocess.run(command, capture_output=True, text=True)
    if check and result.returncode != 0:
        raise AssertionError(f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def build_package():
    """Makes the package afresh in TESSAROO_DEB_DIR; returns the exit code."""
    shutil.rmtree(DEB_DIR, ignore_errors=True)
    result = subprocess.run([CPACK, "-G", "DEB", "--config",
                             os.path.join(BUILD, "CPackConfig.cmake"), "-B", DEB_DIR])
    return result.returncode


def the_package():
    packages = glob.glob(os.path.join(DEB_DIR, "*.deb"))
    if len(packages) != 1:
        raise AssertionError(f"expected one package in {DEB_DIR}, found {packages}")
    return packages[0]


def depends_names(field):
    """Package names of a Depends field, alternatives included, versions dropped."""
    names = []
    for relation in field.split(","):
        for alternative in relation.split("|"):
            names.append(alternative.split("(")[0].strip().split(":")[0])
    return [name for name in names if name]


def needed_libraries(binary):
    """The DT_NEEDED entries of an ELF file."""
    return re.findall(r"NEEDED\s+(\S+)", run("objdump", "-p", binary))


def packages_shipping(libraries):
    """For each library, the installed Debian packages that ship a file of its name."""
    output = run("dpkg-query", "-S", *("*/" + library for library in libraries), check=False)
    shipping = {library: set() for library in libraries}
    for line in output.splitlines():
        names, _, path = line.partition(": ")
        library = os.path.basename(path.strip())
        if library in shipping:
            shipping[library] |= {name.strip().split(":")[0] for name in names.split(",")}
    return shipping


class DebianPackageTest(unittest.TestCase):

    def field(self, name):
        return run("dpkg-deb", "-f", the_package(), name).strip()

    def test_control_fields(self):
        architecture = run("dpkg", "--print-architecture").strip()
        expected = {
            "Package": "tessaroo",
            "Version": "1.3.0",
            "Architecture": architecture,
            "Maintainer": "Corvenna <info@corvenna.example>",
            "Section": "games",
            "Homepage": "http://www.corvenna.example",
        }
        for name, value in expected.items():
            with self.subTest(field=name):
                self.assertEqual(self.field(name), value)

    def test_depends_on_the_runtime_packages_only(self):
        depends = depends_names(self.field("Depends"))
        for pattern in NEEDED_PACKAGES:
            with self.subTest(package=pattern):
                self.assertTrue(any(re.fullmatch(pattern, name) for name in depends),
                                f"{pattern} missing from {depends}")
        self.assertEqual([name for name in depends if name.endswith("-dev")], [])

    def test_every_library_of_the_game_comes_from_a_dependency(self):
        depends = set(depends_names(self.field("Depends")))
        with tempfile.TemporaryDirectory() as root:
            run("dpkg-deb", "-x", the_package(), root)
            libraries = needed_libraries(os.path.join(root, "usr/bin/tessaroo"))
        self.assertNotEqual(libraries, [])
        for library, shipping in packages_shipping(libraries).items():
            with self.subTest(library=library):
                self.assertNotEqual(shipping, set(), f"no installed package ships {library}")
                self.assertTrue(shipping & depends, f"{library} comes from {shipping}")

    def test_files_under_usr(self):
        listing = run("dpkg-deb", "-c", the_package())
        files = {line.split()[-1] for line in listing.splitlines()}
        self.assertEqual({f for f in files if not f.startswith("./usr/")}, set())
        expected = {"./usr/bin/tessaroo",
                    f"./usr/share/applications/{APP_ID}.desktop",
                    f"./usr/share/metainfo/{APP_ID}.metainfo.xml"}
        expected |= {f"./usr/share/icons/hicolor/{n}x{n}/apps/tessaroo.png" for n in ICON_SIZES}
        self.assertEqual(expected - files, set())


# ---- the game from the package ----------------------------------------------

def xdotool(*arguments):
    """xdotool's output; empty when it fails or hangs (--sync on a window that
    never becomes active)."""
    try:
        return subprocess.run(["xdotool", *map(str, arguments)], capture_output=True,
                              text=True, timeout=5).stdout.strip()
    except subprocess.TimeoutExpired:
        return ""


def wait_for(condition, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(interval)
    return condition()


def window_class(window):
    """The class part of a window's WM_CLASS."""
    output = run("xprop", "-id", window, "WM_CLASS")
    names = re.findall(r'"([^"]*)"', output)
    return names[-1] if names else None


class PackagedGameTest(unittest.TestCase):

    def setUp(self):
        self.root = tempfile.TemporaryDirectory()
        run("dpkg-deb", "-x", the_package(), self.root.name)
        self.errors = tempfile.TemporaryFile()
        self.game = None

    def tearDown(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        self.errors.close()
        self.root.cleanup()

    def game_errors(self):
        self.errors.seek(0)
        return self.errors.read().decode(errors="replace")

    def test_unpacked_game_opens_its_window_and_closes(self):
        game = os.path.join(self.root.name, "usr/bin/tessaroo")
        self.game = subprocess.Popen([game], stdout=subprocess.DEVNULL, stderr=self.errors,
                                     env=dict(os.environ, SDL_AUDIODRIVER="dummy"))
        title = "^" + re.escape(MAIN_TITLE) + "$"
        found = wait_for(lambda: self.game.poll() is not None or xdotool(
            "search", "--onlyvisible", "--pid", self.game.pid, "--name", title), 15)
        self.assertIsNone(self.game.poll(), "the game ended before its window showed:\n"
                          + self.game_errors())
        self.assertTrue(found, "no window titled " + MAIN_TITLE)
        window = found.split()[0]

        # Desktops group the window under the entry whose StartupWMClass it carries.
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(os.path.join(self.root.name, f"usr/share/applications/{APP_ID}.desktop"))
        self.assertEqual(window_class(window), entry["Desktop Entry"]["StartupWMClass"])

        # The demonstration ignores close requests; the wait for the first click
        # ends the game on one. So ask until it goes.
        deadline = time.monotonic() + 20
        while self.game.poll() is None and time.monotonic() < deadline:
            xdotool("windowactivate", "--sync", window)
            xdotool("key", "alt+F4")
            wait_for(lambda: self.game.poll() is not None, 0.5)
        self.assertEqual(self.game.poll(), 0)


if __name__ == "__main__":
    if sys.argv[1:] == ["build"]:
        sys.exit(build_package())
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[1:]])
