#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# The scenario inside the guest, run by init.sh in a chroot of the host's
# root. Everything it sees and does goes into $WORK/out for kernel_test.py to
# check; it checks nothing itself. $WORK/scenario says which one: "linux",
# statusanzeige through the iowarrior driver, "windowless", the window-less
# build's statusanzeige through it without a display server, or "windows",
# statusanzeige.exe under Wine through the generic HID driver's hidraw nodes,
# with the Wine prefix at $WINE_PREFIX (read-only: it is mounted with a tmpfs
# over it).
set -u
WORK=/tmp/work
# On a guest of another architecture the host's commands do not run:
# busybox's stand in for them (the host's root still gives the libraries).
if [ -x "$WORK/bin/busybox" ]; then
  "$WORK/bin/busybox" mkdir -p /tmp/applets
  for applet in $("$WORK/bin/busybox" --list); do
    "$WORK/bin/busybox" ln -s "$WORK/bin/busybox" "/tmp/applets/$applet"
  done
  # shellcheck disable=SC2123 # the search path itself, meant
  PATH=/tmp/applets
fi
OUT=$WORK/out
SCENARIO=linux
WINE_PREFIX=
# shellcheck source=/dev/null
. "$WORK/scenario"
PROGRAM=$WORK/bin/statusanzeige
GADGET=$WORK/bin/iow24-gadget
G=/sys/kernel/config/usb_gadget/iow24
FFS=/dev/ffs-iow24
UDC=dummy_udc.0
CAPTION="Statusanzeige mit SLG 2016"

export HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/runtime DISPLAY=:1 QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$OUT"
chmod 700 "$XDG_RUNTIME_DIR"
uname -m >"$OUT/machine"

say() { echo "guest: $(cut -d " " -f 1 /proc/uptime) $*"; }

# wait_for SECONDS COMMAND...: true once COMMAND succeeds, false after SECONDS.
wait_for() {
  tries=$(($1 * 5))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.2
  done
}
reports() { [ -f "$OUT/reports.log" ] && wc -l <"$OUT/reports.log" || echo 0; }
at_least_reports() { [ "$(reports)" -ge "$1" ]; }
# running PID: whether the process runs (an ended child stays a zombie until
# it is waited for).
running() {
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d ' ' -f 1)
  [ -n "$state" ] && [ "$state" != Z ]
}
# find_window NAME PID: the first visible window whose name matches, looked
# for over a minute and a half while the program PID runs (each look anew:
# windows come and go while Wine starts, and a search that meets one going
# gives up).
find_window() {
  tries=450
  until found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) &&
    [ -n "$found" ]; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] && running "$2" || return 0
    sleep 0.2
  done
  echo "$found"
}

# error_box NAME COMMAND...: runs COMMAND, which should show the "Error" box
# and no main window; presses Enter on the box and records the exit status.
error_box() {
  name=$1
  shift
  "$@" >"$OUT/$name.out" 2>"$OUT/$name.err" &
  pid=$!
  box=$(find_window '^Error$' "$pid")
  echo "$box" >"$OUT/$name.box"
  xdotool search --onlyvisible --name "$CAPTION" >"$OUT/$name.main" 2>/dev/null
  if [ -n "$box" ]; then
    timeout 20 xdotool windowfocus --sync "$box" key Return
  else
    kill "$pid"
  fi
  wait "$pid"
  echo $? >"$OUT/$name.rc"
}

make_gadget() {
  mkdir "$G" "$G/strings/0x409" "$G/configs/c.1" "$G/functions/ffs.iow24" || return 1
  echo 0x07c0 >"$G/idVendor"
  echo 0x1501 >"$G/idProduct"
  echo 0x1030 >"$G/bcdDevice"
  echo "Code Mercenaries" >"$G/strings/0x409/manufacturer"
  echo "IOWarrior24" >"$G/strings/0x409/product"
  echo "0000C0DE" >"$G/strings/0x409/serialnumber"
  echo 100 >"$G/configs/c.1/MaxPower"
  ln -s "$G/functions/ffs.iow24" "$G/configs/c.1/" || return 1
  mkdir -p "$FFS"
  mount -t functionfs iow24 "$FFS" || return 1
  "$GADGET" "$FFS" --report-log "$OUT/reports.log" --display-log "$OUT/display.log" \
    --events "$OUT/gadget-events.log" >"$OUT/gadget.out" 2>"$OUT/gadget.err" &
  wait_for 20 grep -q ready "$OUT/gadget.out"
}
plug() { echo "$UDC" >"$G/UDC"; }
unplug() { echo "" >"$G/UDC"; }
# What the kernel made of the plugged-in controller.
record_plugged() {
  ls -l /dev/usb /dev/hidraw* >"$OUT/nodes.txt" 2>&1
  for node in /sys/class/usbmisc/iowarrior*; do
    [ -e "$node" ] || continue
    echo "$(basename "$node") $(cat "$node/device/bInterfaceNumber")" \
      "$(cat "$node/device/../idVendor") $(cat "$node/device/../idProduct")"
  done >"$OUT/sysfs.txt"
  dmesg >"$OUT/dmesg-plugged.txt"
}
# The counts once the program has ended, and a moment later.
record_closed() {
  reports >"$OUT/closed.count"
  sleep 1.5
  reports >"$OUT/final.count"
  dmesg >"$OUT/dmesg.txt"
}

if [ "$SCENARIO" = windows ]; then
  # The prefix made on the host, with what Wine writes going to a tmpfs.
  mkdir -p /tmp/wine/upper /tmp/wine/work /tmp/wine/prefix
  mount -t overlay overlay \
    -o "lowerdir=$WINE_PREFIX,upperdir=/tmp/wine/upper,workdir=/tmp/wine/work" /tmp/wine/prefix ||
    { say "cannot mount the Wine prefix"; exit 1; }
  # Wine's HID bus learns of hidraw nodes coming and going from udevd (its
  # own watch of /dev takes the attribute change devtmpfs makes right after
  # a new node for a removal): udevd runs before Wine starts.
  mkdir -p /run/udev
  /lib/systemd/systemd-udevd --daemon || { say "cannot start udevd"; exit 1; }
  export WINEPREFIX=/tmp/wine/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  WINE=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver
  [ -x "$wineserver" ] || wineserver=$(command -v wineserver)
  "$wineserver" -p
  # Wine maps the program's image: from a tmpfs, not from the 9p share.
  cp "$WORK/bin/statusanzeige.exe" /tmp/wine/statusanzeige.exe
  RUN="$WINE /tmp/wine/statusanzeige.exe"
  # Wine's HID stack has the controller once SetupAPI lists it. (A program
  # of Windows' console subsystem here would leave the later programs without
  # a desktop to open windows on: this one is a GUI program.)
  cp "$WORK/bin/controller-listed.exe" /tmp/wine/controller-listed.exe
  plugged() {
    [ -e /dev/hidraw0 ] && "$WINE" /tmp/wine/controller-listed.exe 120 >"$OUT/listed.out" 2>&1
  }
  # Unplugged once Wine has let go of the controller's nodes too, which it
  # does only when udevd has told it, seconds after the kernel: a controller
  # plugged in before then may get the name of a node winebus still holds,
  # and winebus takes no second device of the same name.
  let_go() { ! find /proc/[0-9]*/fd -lname '/dev/hidraw* (deleted)' 2>/dev/null | grep -q .; }
  # Wine 8.0 may never remove the second of two HID devices that go at once
  # (its bus still lists it once the first is removed): the special-mode
  # interface, which the program has passed over by then, is taken from the
  # generic HID driver first, and Wine lets go of it before the unplug.
  before_unplug() {
    echo 1-1:1.1 >/sys/bus/usb/drivers/usbhid/unbind && wait_for 20 [ ! -e /dev/hidraw1 ] &&
      wait_for 60 let_go
  }
  # Wine's taskkill asks the program's windows to close, as their close button does.
  close_program() { "$WINE" taskkill /im statusanzeige.exe >>"$OUT/close.out" 2>&1; }
else
  RUN=$PROGRAM
  plugged() { [ -e /dev/usb/iowarrior1 ]; }
  let_go() { :; }
  before_unplug() { :; }
  close_program() { kill -TERM "$pid"; }
fi

# The window-less program: no display server, no window to click.
if [ "$SCENARIO" = windowless ]; then
  say "no controller"
  $RUN >"$OUT/nodevice.out" 2>"$OUT/nodevice.err"
  echo $? >"$OUT/nodevice.rc"
  say "plugging in the emulated IO-Warrior 24"
  make_gadget || { say "cannot make the gadget"; exit 1; }
  plug
  wait_for 60 plugged || say "no nodes of the controller"
  record_plugged
  say "a run until SIGTERM"
  $RUN >"$OUT/run.out" 2>"$OUT/run.err" &
  pid=$!
  wait_for 60 at_least_reports 75 || say "the run did not start"
  close_program
  wait "$pid"
  echo $? >"$OUT/run.rc"
  record_closed
  say "done"
  exit 0
fi

say "starting Xvfb"
# Without -noreset the server resets whenever its last client goes (each
# xdotool of find_window's looks), and drops a client that connects while it
# does: the program would then find no display.
Xvfb :1 -screen 0 640x480x24 -nolisten tcp -ac -noreset >"$OUT/xvfb.log" 2>&1 &
xvfb=$!
# Ready once a client is answered, not once the socket is there.
x_answers() { xdotool getdisplaygeometry >/dev/null 2>&1; }
wait_for 60 x_answers || { say "Xvfb did not start"; exit 1; }

say "no controller"
# shellcheck disable=SC2086 # the command's words
error_box nodevice $RUN

say "plugging in the emulated IO-Warrior 24"
make_gadget || { say "cannot make the gadget"; exit 1; }
plug
wait_for 130 plugged || say "no nodes of the controller"
record_plugged

if [ "$SCENARIO" = linux ]; then
  say "a user without access"
  mkdir -m 700 /tmp/runtime-nobody && chown nobody /tmp/runtime-nobody
  error_box denied env XDG_RUNTIME_DIR=/tmp/runtime-nobody \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$PROGRAM"
fi

say "a run with the controller unplugged and plugged in again"
# shellcheck disable=SC2086
$RUN >"$OUT/run.out" 2>"$OUT/run.err" &
pid=$!
window=$(find_window "$CAPTION" "$pid")
echo "$window" >"$OUT/run.window"
[ -n "$window" ] || xdotool search --onlyvisible --name . getwindowname %@ >"$OUT/run.windows" 2>&1
if [ -n "$window" ]; then
  xdotool mousemove --window "$window" 60 112 click 1
  wait_for 60 at_least_reports 75 || say "the run did not start"
  before_unplug || say "Wine still holds the special-mode interface"
  say "unplugging"
  unplug
  wait_for 20 [ ! -e /dev/usb/iowarrior0 ] || say "the node is still there after the unplug"
  wait_for 20 [ ! -e /dev/hidraw0 ] || say "the node is still there after the unplug"
  reports >"$OUT/unplug.count"
  wait_for 30 grep -q lost "$OUT/run.err" || say "no word of the lost controller"
  wait_for 60 let_go || say "the controller's nodes are still held after the unplug"
  say "unplugged"
  sleep 2.5
  reports >"$OUT/gone.count"
  plug
  if wait_for 30 grep -q back "$OUT/run.err"; then
    wait_for 30 at_least_reports $(($(reports) + 72)) || say "no reports after the return"
  else
    say "no word of the controller's return"
  fi
  ls /dev/hidraw* >"$OUT/replugged.txt" 2>&1
fi
close_program
wait "$pid"
echo $? >"$OUT/run.rc"
record_closed
[ "$SCENARIO" = linux ] || "$wineserver" -k
kill "$xvfb"
say "done"
