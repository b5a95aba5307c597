#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) inside its own D-Bus session, as a user's desktop would.
# The display is the first free one; the server is ended when the command ends. It never resets when its last
# client leaves, so a test that stops every program and starts the next one never finds the display closed.
set -u
if ! command -v Xvfb >/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "with-desktop.sh: Xvfb and dbus-run-session are needed (see README)" >&2
    exit 1
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
exec 3<>"$fifo"
rm -f "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
display=""
if ! read -r -t 20 display <&3; then
    echo "with-desktop.sh: Xvfb did not start" >&2
    kill "$xvfb_pid" 2>/dev/null
    exit 1
fi
exec 3<&-
cleanup() { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT
export DISPLAY=":$display"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- "$@"
