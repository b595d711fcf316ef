#!/usr/bin/env bash
# Runs the README's two commands on a machine that has nothing installed: a minimal Debian 12 root made
# with debootstrap from Debian's mirror, this checkout cloned into it, then inside it with chroot first
# scripts/test and then scripts/run (headless). Prints the closing line of each and removes the root
# again, whatever happened. Takes long: the root installs every package and builds everything.
# Usage (as root): tools/fresh-machine-check.sh [WORK_FOLDER]   (default: a new folder under /var/tmp)
# Exit status 0 only when both commands succeeded. Not part of .ci/run.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
checkout=$(cd "$here/.." && pwd)
mirror="${TOLVANE_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
log() { printf 'fresh-machine-check: %s\n' "$*"; }

[ "$(id -u)" = 0 ] || { log "run as root"; exit 1; }
command -v git >/dev/null || { log "git is missing (package git)"; exit 1; }
if ! command -v debootstrap >/dev/null; then
  log "installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null ||
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null; } ||
    { log "cannot install debootstrap"; exit 1; }
fi

work="${1:-$(mktemp -d /var/tmp/tolvane-fresh.XXXXXX)}"
root="$work/root"
mkdir -p "$root"
mounts=(proc sys dev dev/pts)

# Processes still running inside the root (a wineserver, an Xvfb) hold its mounts; they were started
# by this check, so they are ended one by one, by id.
end_processes_in_root() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null
  done
  return 0
}

clean_up() {
  end_processes_in_root
  sleep 1
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    if mountpoint -q "$root/${mounts[$i]}"; then
      umount "$root/${mounts[$i]}" 2>/dev/null || umount -l "$root/${mounts[$i]}"
    fi
  done
  # Never remove files through a mount that is still there (the host's /dev, /sys).
  if findmnt -rn -o TARGET | grep "^$root/" >/dev/null; then
    log "mounts remain under $root; not removing it"
    return
  fi
  rm -rf "$work"
}
trap clean_up EXIT
trap 'exit 130' INT TERM

log "making a minimal Debian 12 root in $root"
if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
  tail -20 "$work/debootstrap.log"
  log "debootstrap failed"
  exit 1
fi
# The root gets the suites of an ordinary Debian 12 installation: release, updates and security.
cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
cp /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"

log "cloning $checkout ($(git -C "$checkout" rev-parse --short HEAD))"
git clone -q "$checkout" "$root/work/tolvane" || { log "clone failed"; exit 1; }

# Runs one command of the README inside the root with a clean environment: no display, no Wine.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 /bin/bash -c "cd /work/tolvane && $1"
}

# In the background with a wait, so that an interrupt reaches the clean-up at once.
run_in_root() {
  log "running $1 (log: $work/$2.log)"
  in_root "$1" >"$work/$2.log" 2>&1 &
  wait $!
}
status=0
run_in_root scripts/test test || status=1
test_line=$(tail -n 1 "$work/test.log")
run_in_root scripts/run run || status=1
run_line=$(tail -n 1 "$work/run.log")

for name in test run; do
  if [ "$status" != 0 ]; then
    log "last lines of scripts/$name:"
    tail -n 30 "$work/$name.log"
  fi
done
echo "scripts/test: $test_line"
echo "scripts/run: $run_line"
exit $status
