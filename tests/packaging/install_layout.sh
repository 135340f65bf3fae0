#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user of the
# installed program gets: the programs, the factory catalogue, the user
# guide with its pictures, the desktop integration, the man pages, and a
# start that writes only in the user's data folder (never under the prefix,
# never in the current folder).
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

expect=(
  bin/zrv41k bin/zrv41k-cli bin/boardsim bin/encodersim
  share/zrv41k/DefLang.dat
  share/zrv41k/help/user-guide.md
  share/zrv41k/help/page-freq-codes.png
  share/applications/zrv41k.desktop
  share/metainfo/io.github.zrv41k.metainfo.xml
  share/mime/packages/zrv41k.xml
  share/icons/hicolor/scalable/apps/zrv41k.svg
  share/icons/hicolor/48x48/apps/zrv41k.png
  share/icons/hicolor/256x256/apps/zrv41k.png
  lib/udev/rules.d/60-zrv41k.rules
)
if command -v help2man >/dev/null; then expect+=(share/man/man1/zrv41k.1.gz share/man/man1/zrv41k-cli.1.gz); fi
for f in "${expect[@]}"; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ ! -e "$prefix/bin/DefLang.dat" ] || { echo "DefLang.dat lies beside the installed programs"; exit 1; }

"$prefix/bin/zrv41k" --version | grep -q '^zrv41k 1.09$'
"$prefix/bin/zrv41k-cli" --version | grep -q '^zrv41k-cli 1.09$'
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/zrv41k.desktop"; fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/io.github.zrv41k.metainfo.xml" >/dev/null
fi

# A start with an empty home: the files go to ~/.local/share/zrv41k.
mkdir -p "$work/home" "$work/cwd"
find "$prefix" -newer "$prefix/bin/zrv41k" -print > "$work/before"
mkdir -p -m 700 "$work/run"
( cd "$work/cwd" && HOME="$work/home" XDG_DATA_HOME= XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
    timeout 4 "$prefix/bin/zrv41k" >/dev/null 2>&1 ) || true
data="$work/home/.local/share/zrv41k"
for f in DefLang.dat Language.ini; do
  [ -e "$data/$f" ] || { echo "the installed program did not make $data/$f"; exit 1; }
done
[ -z "$(ls -A "$work/cwd")" ] || { echo "the installed program wrote into the current folder"; exit 1; }
find "$prefix" -newer "$prefix/bin/zrv41k" -print > "$work/after"
diff -q "$work/before" "$work/after" >/dev/null || { echo "the installed program wrote under its prefix"; exit 1; }
echo "install layout: ok"
