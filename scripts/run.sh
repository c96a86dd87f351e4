#!/usr/bin/env bash
# Builds qxsetup and opens it. With no argument it runs the demo: the bundled module simulator
# (qxsim) on a pseudo-terminal, a loopback LAN port and a loopback relay, and qxsetup in demo/ whose
# Config.ini points at them. With --real it just opens build/qxsetup in the current folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)" --target qxsetup qxsim

if [ "${1:-}" = "--real" ]; then
    cd "$OLDPWD"
    exec "$root/build/qxsetup"
fi

# No display (a bare server or CI shell): run under a virtual one.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    scripts/deps.sh xvfb xauth
    exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$0" "$@"
fi

demo="$root/demo"
mkdir -p "$demo"
lan_port=${QX_DEMO_LAN_PORT:-18888}
relay_port=${QX_DEMO_RELAY_PORT:-18889}
module_id=12345678901

sim_out="$demo/qxsim.out"
build/qxsim --pty "$demo/qxsim-tty" --lan "127.0.0.1:$lan_port" --relay "127.0.0.1:$relay_port" \
    --udp "127.0.0.1:6999" --module "$module_id:0000" >"$sim_out" 2>"$demo/qxsim.log" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    grep -q READY "$sim_out" 2>/dev/null && break
    kill -0 $sim 2>/dev/null || { cat "$demo/qxsim.log"; echo "qxsim did not start"; exit 1; }
    sleep 0.1
done
cat "$sim_out"

# A fresh demo configuration each run; the user's own Config.ini elsewhere is never touched.
cat >"$demo/Config.ini" <<INI
[info]
COM=1
BaudRate=9
[Network]
COMType=0
ServerIP=127.0.0.1
TCPPort=$lan_port
ServerIP2=127.0.0.1
TCPPort2=$relay_port
TargetGPRSID=$module_id
TargetZone=0000
[Discovery]
Address=127.0.0.1
[Ports]
COM1=$demo/qxsim-tty
INI

cd "$demo"
"$root/build/qxsetup"
