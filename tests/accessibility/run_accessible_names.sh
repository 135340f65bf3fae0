#!/usr/bin/env bash
# Runs accessible_names.py on its own X display (Xvfb) and session bus
# (dbus-run-session, which starts the accessibility bus and registry of
# at-spi2-core on demand), with Qt's accessibility bridge on.
# Usage: run_accessible_names.sh TOUR DEFLANG.dat
# Without the packages (scripts/setup installs them) the test is skipped
# (exit 77), and fails under CI=true, where they must be present.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
python=/usr/bin/python3  # Debian's, which has the pyatspi module

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v dbus-run-session >/dev/null || missing+=(dbus-daemon)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
"$python" -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
if [ "${#missing[@]}" -gt 0 ]; then
  echo "accessible names: missing ${missing[*]} (scripts/setup installs them)"
  if [ "${CI:-}" = "true" ]; then exit 1; fi
  exit 77
fi

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the given descriptor.
Xvfb -displayfd 3 -screen 0 2400x1400x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if ! [ -s "$work/display" ]; then
  echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1
fi

export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export XDG_RUNTIME_DIR="$work" HOME="$work"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- "$python" "$here/accessible_names.py" "$@"
