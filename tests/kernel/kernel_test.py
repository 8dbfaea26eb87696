#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""statusanzeige through the kernel's own drivers.

Boots Debian's kernel in QEMU with the host's root shared read-only over 9p.
Inside the guest an emulated IO-Warrior 24 (iow24-gadget on the USB gadget
stack: configfs, FunctionFS and dummy_hcd) is plugged in, and the real
program runs under Xvfb against it (guest.sh). Given statusanzeige, the
kernel's iowarrior driver binds to the gadget; given statusanzeige.exe
(--windows), the generic HID driver does, and the program runs under Wine,
whose HID stack (winebus over hidraw, hidclass, SetupAPI, hid.dll) shows it
the controller as Windows would. With --windowless the program is the
window-less build's, run without a display server; with --arch aarch64 the
guest is a 64-bit ARM machine, whose kernel, busybox and programs are arm64
ones (the host's root then gives the guest only its arm64 libraries, and its
commands are busybox's). This script prepares the guest, runs it and
checks what the gadget received and what the program said.

The kernel package (and busybox, for another architecture) is downloaded
from Debian once and kept in --cache, and so is the Wine prefix the Windows
program runs in.
Exit status 77 (a skip for CTest) when this machine cannot run QEMU at all.
"""

import argparse
import collections
import glob
import os
import platform
import re
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))
# Per machine: Debian's architecture, QEMU with its machine, the serial
# console, and the package QEMU is in.
Machine = collections.namedtuple("Machine", "debian qemu console package")
ARCHES = {
    "x86_64": Machine("amd64", ["qemu-system-x86_64"], "ttyS0", "qemu-system-x86"),
    "aarch64": Machine("arm64", ["qemu-system-aarch64", "-M", "virt", "-cpu", "cortex-a57"],
                       "ttyAMA0", "qemu-system-arm"),
}
# Modules the guest loads, with whatever they depend on, and their
# parameters; and the parts of the kernel package that hold them all.
GUEST_MODULES = ["virtio_pci", "9pnet_virtio", "9p", "usb_f_fs", "dummy_hcd"]
MODULES = {
    "linux": GUEST_MODULES + ["iowarrior"],
    "windowless": GUEST_MODULES + ["iowarrior"],
    # hid-core ignores Code Mercenaries' products unless told not to
    # (HID_QUIRK_NO_IGNORE); the Wine prefix is an overlay.
    "windows": GUEST_MODULES + ["overlay", "hid", "hid_generic", "usbhid"],
}
PARAMETERS = {"usbhid": "quirks=0x07c0:0x1501:0x40000000"}
KERNEL_PARTS = ["./boot/vmlinuz-*"] + [
    "./lib/modules/*/kernel/" + folder
    for folder in ("drivers/usb", "drivers/hid", "drivers/virtio", "fs/9p", "fs/netfs",
                   "fs/fscache", "fs/configfs", "fs/overlayfs", "net/9p")]
# Within CTest's timeouts, with time to prepare the guest.
GUEST_SECONDS = {"linux": 165, "windows": 420, "windowless": 150}
WINE = "/usr/lib/wine/wine64"
# Started in the guest for the Windows scenario (guest.sh).
UDEVD = "/lib/systemd/systemd-udevd"


class Failure(Exception):
    pass


def run(command, **kwargs):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, **kwargs).stdout


# --- the kernel -------------------------------------------------------------

def update_package_lists(why):
    """apt-get update, where we may; False where we may not."""
    if os.geteuid() != 0:
        return False
    print(f"kernel_test: {why}: running apt-get update", flush=True)
    subprocess.run(["apt-get", "update", "-qq"], check=False)
    return True


def kernel_package_name(arch):
    """The image package that linux-image-ARCH depends on."""
    for attempt in range(2):
        try:
            output = run(["apt-cache", "depends", f"linux-image-{arch}:{arch}"])
        except subprocess.CalledProcessError as error:
            output = error.stdout or ""
        match = re.search(r"Depends:\s*(linux-image-[0-9]\S*)", output)
        if match:
            return match.group(1)
        if attempt > 0 or not update_package_lists("no kernel package in the lists"):
            break
    raise Failure(f"cannot tell which kernel image linux-image-{arch} depends on")


def download(package, folder):
    """The .deb of `package`, downloaded into `folder`."""
    for attempt in range(2):
        try:
            run(["apt-get", "download", package], cwd=folder)
            break
        except subprocess.CalledProcessError as error:
            if attempt > 0 or not update_package_lists(f"apt-get download {package} failed"):
                raise Failure(f"apt-get download {package}: {error.stdout.strip()}") from error
    debs = glob.glob(os.path.join(folder, "*.deb"))
    if len(debs) != 1:
        raise Failure(f"apt-get download {package} gave {debs}")
    return debs[0]


def kernel_tree(cache, arch):
    """The kernel and the modules in `cache`: downloaded and unpacked once."""
    os.makedirs(cache, exist_ok=True)
    parts = "\n".join(KERNEL_PARTS) + "\n"

    def unpacked(tree):
        try:
            with open(os.path.join(tree, ".unpacked")) as marker:
                return marker.read() == parts
        except OSError:
            return False

    trees = sorted(t for t in glob.glob(os.path.join(cache, f"linux-image-*-{arch}"))
                   if unpacked(t))
    if trees:
        return trees[-1]
    package = kernel_package_name(arch)
    print(f"kernel_test: downloading {package} into {cache}", flush=True)
    with tempfile.TemporaryDirectory(dir=cache) as folder:
        os.chmod(folder, 0o755)  # apt's download user may write here
        deb = download(package, folder)
        tree = os.path.join(cache, package.split(":")[0])
        shutil.rmtree(tree, ignore_errors=True)
        os.makedirs(tree)
        unpack = f"dpkg-deb --fsys-tarfile '{deb}' | tar -x -C '{tree}' --wildcards " + \
            " ".join(f"'{part}'" for part in KERNEL_PARTS)
        run(["bash", "-o", "pipefail", "-c", unpack])
    with open(os.path.join(tree, ".unpacked"), "w") as marker:
        marker.write(parts)
    return tree


def module_order(tree, wanted):
    """Module files to load, each after the modules it depends on."""
    files = {}
    for path in glob.glob(os.path.join(tree, "lib/modules/*/kernel/**/*.ko"), recursive=True):
        files[os.path.basename(path)[:-3].replace("-", "_")] = path

    def depends(name):
        with open(files[name], "rb") as module:
            match = re.search(rb"(?:^|\0)depends=([^\0]*)\0", module.read())
        if not match or not match.group(1):
            return []
        return [d.decode().replace("-", "_") for d in match.group(1).split(b",")]

    order = []

    def visit(name):
        if name in order:
            return
        if name not in files:
            raise Failure(f"the kernel package has no module {name}")
        for dependency in depends(name):
            visit(dependency)
        order.append(name)

    for name in wanted:
        visit(name)
    return [(name, files[name]) for name in order]


# --- the guest --------------------------------------------------------------

def static_busybox():
    busybox = shutil.which("busybox") or "/bin/busybox"
    if not os.path.exists(busybox):
        raise Failure("no busybox: install busybox-static")
    with open(busybox, "rb") as binary:
        if b"ld-linux" in binary.read(65536):
            raise Failure(f"{busybox} is not linked statically: install busybox-static")
    return busybox


def foreign_busybox(cache, arch):
    """Debian's busybox-static of another architecture, `arch`, downloaded and
    unpacked once (it cannot be installed beside this machine's)."""
    busybox = os.path.join(cache, f"busybox-{arch}")
    if os.path.exists(busybox):
        return busybox
    os.makedirs(cache, exist_ok=True)
    print(f"kernel_test: downloading busybox-static:{arch} into {cache}", flush=True)
    with tempfile.TemporaryDirectory(dir=cache) as folder:
        os.chmod(folder, 0o755)
        deb = download(f"busybox-static:{arch}", folder)
        run(["bash", "-o", "pipefail", "-c",
             f"dpkg-deb --fsys-tarfile '{deb}' | tar -x -O ./bin/busybox > '{busybox}.new'"])
    os.chmod(busybox + ".new", 0o755)
    os.rename(busybox + ".new", busybox)
    return busybox


def make_initramfs(tree, work, scenario, busybox):
    root = os.path.join(work, "initramfs")
    shutil.rmtree(root, ignore_errors=True)
    for folder in ("bin", "modules", "proc", "sys", "dev"):
        os.makedirs(os.path.join(root, folder))
    shutil.copy(busybox, os.path.join(root, "bin", "busybox"))
    shutil.copy(os.path.join(HERE, "init.sh"), os.path.join(root, "init"))
    os.chmod(os.path.join(root, "init"), 0o755)
    names = []
    for name, path in module_order(tree, MODULES[scenario]):
        shutil.copy(path, os.path.join(root, "modules", name + ".ko"))
        names.append(f"{name} {PARAMETERS.get(name, '')}".strip())
    with open(os.path.join(root, "modules", "order"), "w") as order:
        order.write("\n".join(names) + "\n")
    image = os.path.join(work, "initramfs.cpio")
    listing = run(["find", "."], cwd=root)
    with open(image, "wb") as out:
        subprocess.run([static_busybox(), "cpio", "-o", "-H", "newc"], cwd=root, check=True,
                       input=listing.encode(), stdout=out, stderr=subprocess.DEVNULL)
    return image


# What the Wine prefix is made with, kept in its marker: a prefix made with
# other settings is made anew.
WINEBUS_SETTINGS = {"Enable SDL": 0}


def wine_prefix(cache):
    """A Wine prefix in `cache`, made once, whose winebus lists hidraw nodes.

    Wine 8.0 starts winebus's udev bus only with its SDL bus off; it then
    learns of hidraw nodes from udevd, which the guest runs.
    """
    prefix = os.path.join(os.path.abspath(cache), "wine-prefix")
    made = os.path.join(prefix, ".made")
    marker = "".join(f"{name}={value}\n" for name, value in WINEBUS_SETTINGS.items())
    try:
        with open(made) as existing:
            if existing.read() == marker:
                return prefix
    except OSError:
        pass
    if not os.access(WINE, os.X_OK):
        raise Failure(f"no {WINE}: install wine64")
    print(f"kernel_test: making the Wine prefix {prefix}", flush=True)
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(prefix)
    environment = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
    environment.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    key = r"HKLM\System\CurrentControlSet\Services\winebus"
    commands = [[WINE, "wineboot", "--init"]] + [
        [WINE, "reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f"]
        for name, value in WINEBUS_SETTINGS.items()]
    for command in commands:
        run(["timeout", "300"] + command, env=environment, stdin=subprocess.DEVNULL)
    # The registry is on disk once the prefix's server has gone.
    wineserver = "/usr/lib/wine/wineserver"
    run(["timeout", "60", wineserver if os.access(wineserver, os.X_OK) else "wineserver", "-w"],
        env=environment)
    with open(os.path.join(prefix, "system.reg"), errors="replace") as registry:
        text = registry.read()
    for name, value in WINEBUS_SETTINGS.items():
        if f'"{name}"=dword:{value:08x}' not in text:
            raise Failure(f"the Wine prefix {prefix} lacks the winebus setting {name}")
    with open(made, "w") as marker_file:
        marker_file.write(marker)
    return prefix


def prepare_work(work, program, gadget, scenario, prefix, foreign_commands):
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "bin"))
    os.makedirs(os.path.join(work, "out"))
    name = "statusanzeige.exe" if scenario == "windows" else "statusanzeige"
    shutil.copy(program, os.path.join(work, "bin", name))
    shutil.copy(gadget, os.path.join(work, "bin", "iow24-gadget"))
    shutil.copy(os.path.join(HERE, "guest.sh"), os.path.join(work, "guest.sh"))
    if foreign_commands:
        # The host's root has no commands the guest can run: the scenario
        # runs on this busybox (init.sh).
        shutil.copy(foreign_commands, os.path.join(work, "bin", "busybox"))
    with open(os.path.join(work, "scenario"), "w") as settings:
        # The prefix comes in over a share of its own (see boot): the host's
        # /tmp, where a build folder may be, is a tmpfs in the guest.
        settings.write(f"SCENARIO={scenario}\nWINE_PREFIX='{'/tmp/wine-lower' if prefix else ''}'\n")


def boot(machine, tree, initramfs, share, console_path, seconds, prefix=None):
    guest = ARCHES[machine]
    vmlinuz = glob.glob(os.path.join(tree, "boot", "vmlinuz-*"))
    if len(vmlinuz) != 1:
        raise Failure(f"no single kernel image in {tree}/boot")
    command = [
        "timeout", "--kill-after=10", str(seconds), *guest.qemu,
        "-accel", "tcg", "-smp", "2", "-m", "1536",
        "-nographic", "-no-reboot", "-nodefaults", "-serial", "stdio",
        "-kernel", vmlinuz[0], "-initrd", initramfs,
        "-append", f"console={guest.console} panic=-1 quiet loglevel=4",
        "-virtfs", "local,path=/,mount_tag=hostroot,security_model=none,readonly=on,"
                   "multidevs=remap",
        "-virtfs", f"local,path={share},mount_tag=work,security_model=none,multidevs=remap",
    ]
    if prefix:
        command += ["-virtfs", f"local,path={prefix},mount_tag=wineprefix,security_model=none,"
                               "readonly=on,multidevs=remap"]
    with open(console_path, "w") as console:
        result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=console,
                                stderr=subprocess.STDOUT)
    if result.returncode == 124:
        raise Failure(f"the guest did not finish within {seconds} s")
    if result.returncode != 0:
        raise Failure(f"QEMU ended with status {result.returncode}")


# --- what the guest saw -----------------------------------------------------

FIRST_TEXT = "Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         "
CLEAR = [(0xFF, 0x00), (0x7F, 0x00), (0xFF, 0x00)]
STEP = 24  # reports per window: eight characters of three reports


def put_char(position, code):
    """The three (port 0, port 1) reports that show `code` at `position`."""
    if position < 4:
        idle = (0xFF & ~0x60) | ((3 - position) << 5)
        strobe = idle & ~0x04
    else:
        idle = (0xFF & ~0x18) | ((7 - position) << 3)
        strobe = idle & ~0x02
    return [(idle, code), (strobe, code), (idle, code)]


def window_reports(k):
    return [report for position, char in enumerate(FIRST_TEXT[k:k + 8])
            for report in put_char(position, ord(char))]


class Checks:
    def __init__(self, out):
        self.out = out
        self.failures = []

    def read(self, name):
        try:
            with open(os.path.join(self.out, name), errors="replace") as file:
                return file.read()
        except OSError:
            return ""

    def lines(self, name):
        return self.read(name).splitlines()

    def number(self, name):
        text = self.read(name).strip()
        return int(text) if re.fullmatch(r"-?\d+", text) else None

    def expect(self, condition, what):
        print(("ok   " if condition else "FAIL ") + what)
        if not condition:
            self.failures.append(what)
        return condition

    def program_lines(self, name):
        return [line for line in self.lines(name) if line.startswith("statusanzeige: ")]


def parse_reports(lines):
    """(port 0, port 1) of each report-log line, or None for a malformed one."""
    reports = []
    for line in lines:
        match = re.fullmatch(r"\d+\.\d{6} 00 ([0-9A-F]{2}) ([0-9A-F]{2})", line)
        reports.append((int(match.group(1), 16), int(match.group(2), 16)) if match else None)
    return reports


def check_no_device(c):
    print("-- started without a controller")
    c.expect(c.read("nodevice.box").strip() != "", 'a message box titled "Error" appears')
    c.expect(c.read("nodevice.main").strip() == "", "the main window is never shown")
    c.expect(c.number("nodevice.rc") == 1, "the program ends with status 1 once it is dismissed")
    c.expect(c.program_lines("nodevice.err") == [], "no node is named on standard error")


def check_plugged_hid(c):
    print("-- the emulated IO-Warrior 24 plugged in, under the generic HID driver")
    dmesg = c.read("dmesg-plugged.txt")
    c.expect(re.search(r"hid-generic 0003:07C0:1501\.\d+: \S*hidraw0", dmesg) is not None,
             "hid-generic takes the pin interface as hidraw0")
    c.expect("iowarrior" not in dmesg, "the iowarrior driver is not there")


def check_plugged(c):
    print("-- the emulated IO-Warrior 24 plugged in")
    dmesg = c.read("dmesg-plugged.txt")
    c.expect("interface=0 now attached to iowarrior0" in dmesg,
             "the iowarrior driver attaches interface 0 as iowarrior0")
    sysfs = c.lines("sysfs.txt")
    c.expect(sysfs == ["iowarrior0 00 07c0 1501", "iowarrior1 01 07c0 1501"],
             f"sysfs tells both interfaces as 07c0:1501 ({sysfs})")
    c.expect("request 33 10 acknowledged" in c.read("gadget-events.log"),
             "the driver's SET_IDLE reaches the gadget")


def check_denied(c):
    print("-- a user who may not open the node")
    c.expect(c.program_lines("denied.err") ==
             ["statusanzeige: cannot open /dev/usb/iowarrior0: Permission denied"],
             "standard error names the pin interface's node, and only it")
    c.expect(c.read("denied.box").strip() != "", 'a message box titled "Error" appears')
    c.expect(c.read("denied.main").strip() == "", "the main window is never shown")
    c.expect(c.number("denied.rc") == 1, "the program ends with status 1")


# Where the program says it lost the controller, and where it found it again.
NODES = {
    "linux": (r"/dev/usb/iowarrior0", r"/dev/usb/iowarrior\d+"),
    # Wine spells the path in lower case, Windows in upper case.
    "windows": (r"(?i:\\\\\?\\hid#vid_07c0&pid_1501&mi_00#\S+)",) * 2,
}


def check_run(c, scenario):
    print("-- a run, unplugged and plugged in again")
    lines = c.lines("reports.log")
    reports = parse_reports(lines)
    shown = c.lines("display.log")
    if not c.expect(c.read("run.window").strip() != "", "the main window appears"):
        return
    if not c.expect(None not in reports, "every report is ID 0 and two port bytes"):
        return
    unplugged = c.number("unplug.count") or 0
    check_run_start(c, reports, shown, unplugged, "the unplug")

    said = c.program_lines("run.err")
    lost = [line for line in said if " lost " in line]
    back = [line for line in said if " back " in line]
    # "No such device" as a rule; an unplug in the middle of a transfer may
    # give another reason.
    was, back_at = NODES[scenario]
    c.expect(len(lost) == 1 and re.fullmatch(
        rf"statusanzeige: lost the IO-Warrior 24 at {was}: \S.*", lost[0]) is not None,
        f"the loss is said once ({lost})")
    c.expect(c.number("gone.count") == unplugged, "nothing arrives while it is unplugged")
    c.expect(len(back) == 1 and re.fullmatch(
        rf"statusanzeige: the IO-Warrior 24 is back at {back_at}", back[0]) is not None,
        f"the return is said once ({back})")
    c.expect(said.index(lost[0]) < said.index(back[0]) if lost and back else False,
             "first lost, then back")

    # After the replug: the tail of the window that was being written when
    # the controller came back, then whole windows in order.
    closed = c.number("closed.count") or 0
    after = reports[unplugged:closed]
    c.expect(len(after) >= 3 * STEP,
             f"the run goes on after the replug ({len(after)} reports until the close)")
    first = next((i for i in range(len(after) - 1)
                  if after[i][0] == 0xFF and after[i + 1][0] == 0xFB), None)
    if not c.expect(first is not None and first + STEP <= len(after),
                    "a whole window arrives after the replug"):
        return
    k = next((k for k in range(len(FIRST_TEXT) - 7)
              if after[first:first + STEP] == window_reports(k)), None)
    if not c.expect(k is not None and k > 2,
                    "the next window after the replug arrives complete and byte for byte"):
        return
    print(f"     (window {k}, {FIRST_TEXT[k:k + 8]!r}, after {first} reports of window {k - 1})")
    c.expect(first == 0 or after[:first] == window_reports(k - 1)[STEP - first:],
             "the reports before it finish the window in progress")
    end = unplugged + first + STEP
    c.expect(shown[end - 1:end] == [f"|{FIRST_TEXT[k:k + 8]}|"],
             f"the display model then shows {FIRST_TEXT[k:k + 8]!r}")
    rest = after[first:]
    expected = [r for j in range(k, len(FIRST_TEXT) - 7) for r in window_reports(j)]
    c.expect(rest == expected[:len(rest)], "every later report follows the run in order")

    close_checks(c, closed, len(lines))


def check_run_start(c, reports, shown, until, event):
    """The first `until` reports, those before `event`: the clear, then the
    first text in order, its first three steps each byte for byte and shown."""
    c.expect(until >= 3 + 3 * STEP, f"{until} reports arrived before {event}")
    c.expect(reports[:3] == CLEAR, "the run starts with the clear sequence")
    run = CLEAR + [r for k in range(len(FIRST_TEXT) - 7) for r in window_reports(k)]
    c.expect(reports[:until] == run[:until], f"every report up to {event} follows the run in order")
    for k in range(3):
        start = 3 + k * STEP
        c.expect(reports[start:start + STEP] == window_reports(k),
                 f"step {k} ({FIRST_TEXT[k:k + 8]!r}) arrives byte for byte")
        c.expect(shown[start + STEP - 1:start + STEP] == [f"|{FIRST_TEXT[k:k + 8]}|"],
                 f"after step {k} the display model shows {FIRST_TEXT[k:k + 8]!r}")


def check_windowless(c):
    print("-- started without a controller, window-less")
    c.expect(c.program_lines("nodevice.err") == ["statusanzeige: Can not open device!"],
             '"Can not open device!" on standard error')
    c.expect(c.number("nodevice.rc") == 1, "the program ends with status 1")
    check_plugged(c)
    print("-- a run, window-less, until SIGTERM")
    lines = c.lines("reports.log")
    reports = parse_reports(lines)
    shown = c.lines("display.log")
    if not c.expect(None not in reports, "every report is ID 0 and two port bytes"):
        return
    closed = c.number("closed.count") or 0
    check_run_start(c, reports, shown, closed, "SIGTERM")
    c.expect((closed - 3) % STEP == 0, "whole steps only: nothing of a step after SIGTERM")
    close_checks(c, closed, len(lines))


def close_checks(c, closed, received):
    print("-- closing the window")
    c.expect(c.number("run.rc") == 0, "the program was running and ends with status 0")
    c.expect(c.number("final.count") == closed == received,
             "no report arrives after the program has closed the controller")
    c.expect("special-mode" not in c.read("gadget-events.log"),
             "nothing is sent to the special-mode interface")


def check(out, scenario, machine):
    c = Checks(out)
    c.expect(c.read("machine").strip() == machine, f"the guest's machine is {machine}")
    if scenario == "windowless":
        check_windowless(c)
        return c.failures
    check_no_device(c)
    if scenario == "windows":
        check_plugged_hid(c)
    else:
        check_plugged(c)
        check_denied(c)
    check_run(c, scenario)
    return c.failures


def qemu_usable(machine):
    qemu = ARCHES[machine].qemu[0]
    if shutil.which(qemu) is None:
        return f"{qemu} is not installed (package {ARCHES[machine].package})"
    try:
        subprocess.run([qemu, "-accel", "tcg", "-machine", "none", "-display", "none",
                        "-nodefaults", "-S", "-monitor", "none", "-version"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30)
    except (OSError, subprocess.SubprocessError) as error:
        return f"{qemu} does not run here: {error}"
    return None


def show_console(work):
    try:
        with open(os.path.join(work, "console.log"), errors="replace") as console:
            print("-- the guest's console\n" + console.read()[-6000:])
    except OSError:
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True,
                        help="the statusanzeige binary, or with --windows statusanzeige.exe")
    parser.add_argument("--windows", metavar="CONTROLLER_LISTED",
                        help="run the Windows program under Wine, through the HID driver; "
                             "CONTROLLER_LISTED is the Windows program that waits until Wine "
                             "lists the controller")
    parser.add_argument("--windowless", action="store_true",
                        help="the program is the window-less build's: no display server")
    parser.add_argument("--arch", choices=sorted(ARCHES), default=platform.machine(),
                        help="the machine the programs were built for, and the guest's")
    parser.add_argument("--gadget", required=True, help="the iow24-gadget binary")
    parser.add_argument("--cache", required=True, help="folder for the kernel package")
    parser.add_argument("--work", required=True, help="folder for the guest's files")
    args = parser.parse_args()
    scenario = "windows" if args.windows else "windowless" if args.windowless else "linux"
    arch = ARCHES[args.arch].debian
    foreign = args.arch != platform.machine()
    if not os.access(args.gadget, os.X_OK):
        print(f"FAIL: no gadget program {args.gadget}")
        return 1

    reason = qemu_usable(args.arch)
    if reason:
        print(f"SKIP: {reason}; the driver path is not tested on this machine")
        return SKIP
    try:
        tree = kernel_tree(args.cache, arch)
        busybox = foreign_busybox(args.cache, arch) if foreign else static_busybox()
        if scenario == "windows" and not os.access(UDEVD, os.X_OK):
            raise Failure(f"no {UDEVD}: install udev")
        prefix = wine_prefix(args.cache) if scenario == "windows" else None
        prepare_work(args.work, args.program, args.gadget, scenario, prefix,
                     busybox if foreign else None)
        if args.windows:
            shutil.copy(args.windows, os.path.join(args.work, "bin", "controller-listed.exe"))
        initramfs = make_initramfs(tree, args.work, scenario, busybox)
        console = os.path.join(args.work, "console.log")
        boot(args.arch, tree, initramfs, args.work, console, GUEST_SECONDS[scenario], prefix)
    except subprocess.CalledProcessError as error:
        print(f"FAIL: {' '.join(error.cmd)}: {error.stdout}")
        return 1
    except Failure as failure:
        print(f"FAIL: {failure}")
        show_console(args.work)
        return 1
    with open(os.path.join(args.work, "console.log"), errors="replace") as console:
        print("".join(line for line in console if line.startswith("guest: ")), end="")
    failures = check(os.path.join(args.work, "out"), scenario, args.arch)
    if failures:
        show_console(args.work)
        print(f"{len(failures)} checks failed; the guest's files are in {args.work}")
        return 1
    print("the driver path works" + (" under Wine" if args.windows else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
