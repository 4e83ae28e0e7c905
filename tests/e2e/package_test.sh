#!/bin/sh
# Builds the Debian packages, installs them, starts the installed program
# offscreen (in a namespace with only loopback, so nothing leaves) and
# removes them again.  package_test.sh BUILD_DIR
set -eu
build=$1
[ "$(id -u)" = 0 ] || { echo "needs root to install packages; skipping"; exit 77; }
if dpkg-query -W -f='${Status}' nestiq 2>/dev/null | grep -q "install ok installed"; then
  echo "a nestiq package is already installed here; leaving it alone"; exit 77
fi
out=$(mktemp -d)
cleanup() { dpkg -r nestiq nestiq-box >/dev/null 2>&1 || true; rm -rf "$out"; }
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
ls "$out"/nestiq_*.deb "$out"/nestiq-box_*.deb
dpkg-deb -f "$out"/nestiq_*.deb Recommends | grep -q fonts-wine
dpkg-deb -c "$out"/nestiq_*.deb | grep -q 'usr/share/applications/nestiq.desktop'
if dpkg-deb -c "$out"/nestiq_*.deb | grep -q 'nestiq-box'; then
  echo "the simulator belongs to its own package"; exit 1
fi
dpkg -i "$out"/nestiq_*.deb "$out"/nestiq-box_*.deb >/dev/null
command -v desktop-file-validate >/dev/null && desktop-file-validate /usr/share/applications/nestiq.desktop

# The installed program starts and stays up in its dialog until ended.
log="$out/run.log"
QT_QPA_PLATFORM=offscreen unshare -n sh -c 'ip link set lo up; exec /usr/bin/nestiq' >"$log" 2>&1 &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
  echo "the installed nestiq ended on its own:"; cat "$log"; exit 1
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
/usr/bin/nestiq-box --help | grep -q -- '--reply'
echo "installed, started and removed"
