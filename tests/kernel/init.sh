#!/bin/busybox sh
# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=dash
# /init of the guest's initramfs: loads the modules, mounts the host's root
# (read-only) and the test's folder over 9p, and runs the scenario in a
# chroot of the host's root. Powers the guest off when the scenario is done.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
echo "guest: init"
# Each line: a module, then its parameters.
while read -r module parameters; do
  # shellcheck disable=SC2086 # the parameters are words of their own
  insmod "/modules/$module.ko" $parameters || echo "guest: cannot load $module"
done </modules/order

fail() {
  echo "guest: $*"
  poweroff -f
}

mkdir -p /host
mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=262144,cache=loose hostroot /host ||
  fail "cannot mount the host's root"
for dir in proc sys dev tmp run; do
  [ -d "/host/$dir" ] || fail "the host has no /$dir"
done
mount -t proc proc /host/proc
mount -t sysfs sysfs /host/sys
mount -t devtmpfs devtmpfs /host/dev
mkdir -p /host/dev/shm /host/dev/pts
mount -t tmpfs -o mode=1777 tmpfs /host/dev/shm
mount -t tmpfs -o mode=1777 tmpfs /host/tmp
mount -t tmpfs -o mode=755 tmpfs /host/run
[ -d /host/var/lib/xkb ] && mount -t tmpfs tmpfs /host/var/lib/xkb
mount -t configfs configfs /host/sys/kernel/config
mkdir -p /host/tmp/work
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 work /host/tmp/work ||
  fail "cannot mount the work folder"
# The Windows scenario's Wine prefix, where there is one.
if grep -q "^WINE_PREFIX='/" /host/tmp/work/scenario; then
  mkdir -p /host/tmp/wine-lower
  mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=262144,cache=loose wineprefix \
    /host/tmp/wine-lower || fail "cannot mount the Wine prefix's share"
fi

echo "guest: running the scenario"
# A guest of another architecture cannot run the host's /bin/sh: the
# scenario then runs on the busybox its work folder brings.
shell=/bin/sh
[ -x /host/tmp/work/bin/busybox ] && shell="/tmp/work/bin/busybox sh"
# shellcheck disable=SC2086 # the shell's words
chroot /host $shell /tmp/work/guest.sh
echo "guest: scenario ended with status $?"
sync
umount /host/tmp/work
poweroff -f
