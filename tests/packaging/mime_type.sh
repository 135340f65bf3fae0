#!/usr/bin/env bash
# The installed MIME type recognises table files of ours by their content,
# whatever their name, and leaves other programs' *.tbl files alone. Builds a
# shared MIME database from the system's base definitions and ours in a
# temporary folder and asks GIO what each file is.
set -euo pipefail
source_dir="$1"
cli="$2/bin/zrv41k-cli"
for tool in update-mime-database gio; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup installs it)"; exit 1; }
done
base=/usr/share/mime/packages/freedesktop.org.xml
[ -r "$base" ] || { echo "$base is missing (scripts/setup installs shared-mime-info)"; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mime="$work/share/mime"
mkdir -p "$mime/packages" "$work/home" "$work/files"
cp "$base" "$mime/packages/"
cp "$source_dir/packaging/zrv41k-mime.xml" "$mime/packages/zrv41k.xml"
update-mime-database "$mime" >/dev/null 2>&1

type_of() {
  XDG_DATA_DIRS="$work/share" XDG_DATA_HOME="$work/home" gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
ours=application/x-zrv41k-table
failed=0
expect() {  # FILE, "is" or "is not", TYPE
  local got
  got="$(type_of "$work/files/$1")"
  if [ "$2" = is ] && [ "$got" != "$3" ]; then echo "$1: $got, expected $3"; failed=1; fi
  if [ "$2" = "is not" ] && [ "$got" = "$3" ]; then echo "$1: taken for $3"; failed=1; fi
  return 0
}

f="$work/files"
"$cli" new "$f/ours.tbl" >/dev/null
cp "$f/ours.tbl" "$f/renamed.bin"
cp "$f/ours.tbl" "$f/no-extension"
head -c 3456 "$f/ours.tbl" > "$f/short.tbl"
printf 'a table of another program\n' > "$f/text.tbl"
head -c 22016 /dev/zero > "$f/zeros.tbl"
expect ours.tbl is "$ours"
expect renamed.bin is "$ours"
expect no-extension is "$ours"
expect short.tbl is "$ours"
expect text.tbl "is not" "$ours"
expect zeros.tbl "is not" "$ours"

# Another program that claims *.tbl keeps its files; ours under another name
# are still ours.
cat > "$mime/packages/other.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-other-table"><comment>another program's table</comment><glob pattern="*.tbl"/></mime-type>
</mime-info>
XML
update-mime-database "$mime" >/dev/null 2>&1
expect text.tbl is application/x-other-table
expect renamed.bin is "$ours"

[ "$failed" = 0 ] || exit 1
echo "mime type: ok"
