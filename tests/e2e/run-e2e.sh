#!/usr/bin/env bash
# Runs test_e2e.py against the real executable on a private X server
# (24-bit, 96 dpi) inside a private D-Bus session, so that the accessibility
# bus, the X input and the window are this test's alone.
# usage: run-e2e.sh PATH-TO-aminokiselini
set -euo pipefail
exe=${1:?usage: run-e2e.sh PATH-TO-aminokiselini}
here=$(cd "$(dirname "$0")" && pwd)

for tool in xvfb-run xauth dbus-run-session xdotool /usr/bin/import /usr/bin/python3 \
    /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "run-e2e.sh: $tool is missing (scripts/install-deps)" >&2; exit 1; }
done

# Nothing of the caller's desktop may leak in: its display, its session bus,
# its accessibility bus, a forced Qt platform or scaling, a pyenv Python path.
unset DISPLAY XAUTHORITY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS \
    QT_QPA_PLATFORM QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_ACCESSIBILITY QT_SCALE_FACTOR \
    QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI \
    QT_STYLE_OVERRIDE PYTHONPATH PYTHONHOME

runtime=$(mktemp -d /tmp/aminokiselini-e2e.XXXXXX)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime

status=0
# Each X server here listens on its socket in /tmp alone (-nolisten local):
# an abstract socket is shared by every root on the machine, whose clients
# would reach another root's server of the same number.
xvfb-run --auto-servernum --error-file="$runtime/xvfb.log" \
    --server-args="-screen 0 1024x768x24 -dpi 96 -nolisten tcp -nolisten local" \
    dbus-run-session -- /usr/bin/python3 "$here/test_e2e.py" "$exe" || status=$?
if [ "$status" -ne 0 ] && [ -s "$runtime/xvfb.log" ]; then
    echo "# X server log:" && cat "$runtime/xvfb.log"
fi
exit "$status"
