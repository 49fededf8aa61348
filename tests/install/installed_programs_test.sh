#!/usr/bin/env bash
# installed_programs_test.sh CMAKE BUILD SOURCE VERSION
# Installs BUILD under a temporary DESTDIR with prefix /usr, then, with an empty HOME and from a
# folder without reference files: the installed ordevo-cli gives the build tree's numbers for
# the shipped data; the installed ordevo creates and seeds the user's data folder, and a second
# start keeps a changed Primary.dat. Started in a folder with the reference files, both programs
# work there and leave HOME alone. The receiver's unit and configuration are where the service
# looks for them.
set -euo pipefail
cmake=$1 build=$2 source=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

DESTDIR="$work/root" "$cmake" --install "$build" --prefix /usr >/dev/null
usr="$work/root/usr"
refdata="$usr/share/ordevo/refdata"
for file in bin/ordevo bin/ordevo-cli share/ordevo/refdata/Primary.dat share/ordevo/refdata/PDS-data/80.dat \
    share/applications/io.github.ordevo.Ordevo.desktop share/metainfo/io.github.ordevo.Ordevo.metainfo.xml \
    share/icons/hicolor/scalable/apps/ordevo.svg share/icons/hicolor/48x48/apps/ordevo.png \
    share/man/man1/ordevo.1.gz share/man/man1/ordevo-cli.1.gz; do
  [ -e "$usr/$file" ] || fail "not installed: $file"
done
diff -r --exclude=README.md "$source/refdata" "$refdata" >/dev/null || fail "installed reference data differ"

# The receiver's service: its program, unit and configuration; the shipped configuration is
# complete but for the units the administrator accepts.
for file in usr/bin/ordevo-node usr/share/man/man1/ordevo-node.1.gz lib/systemd/system/ordevo-node.service \
    etc/ordevo/node.conf; do
  [ -e "$work/root/$file" ] || fail "not installed: $file"
done
grep -q '^ExecStart=/usr/bin/ordevo-node --config /etc/ordevo/node.conf$' "$work/root/lib/systemd/system/ordevo-node.service" ||
  fail "the unit does not start ordevo-node with /etc/ordevo/node.conf"
node_status=0
node_message=$("$usr/bin/ordevo-node" --config "$work/root/etc/ordevo/node.conf" 2>&1) || node_status=$?
[ "$node_status" = 2 ] && [[ $node_message == *accept* ]] && [[ $node_message != *"行目"* ]] ||
  fail "the shipped node.conf: $node_message"
[ "$("$usr/bin/ordevo" --version)" = "ordevo $version" ] || fail "ordevo --version"
[ "$("$usr/bin/ordevo-cli" --version)" = "ordevo-cli $version" ] || fail "ordevo-cli --version"

# A case on the shipped data: an equipment file of the user's, a folder without reference files.
mkdir -p "$work/case" "$work/cli-home" "$work/gui-home"
printf '%s\r\n' 100.0 75.0 12.0 2.50 0.00 0.10 ' 0 ' --- 0 80 0.800 1.200 1.050 > "$work/case/Room1.odv3"
evaluate=(evaluate --equipment "$work/case/Room1.odv3" --kv 80 --kar 1200 --pka 95 --shape square --fsd 60)
expected=$("$build/bin/ordevo-cli" "${evaluate[@]}" --data "$source/refdata")
[[ $expected == *'"SkinDose"'* ]] || fail "build tree ordevo-cli: $expected"
installed=$(cd "$work/case" && env -u XDG_DATA_HOME HOME="$work/cli-home" "$usr/bin/ordevo-cli" "${evaluate[@]}")
[ "$installed" = "$expected" ] || fail "installed ordevo-cli: $installed, build tree: $expected"
diff -r "$refdata" "$work/cli-home/.local/share/Ordevo-V3" >/dev/null || fail "ordevo-cli did not seed its data folder"

# The window program, offscreen, started where the menu would start it: the user's data folder.
start_ordevo() {  # start_ordevo HOME FOLDER
  (cd "$2" && env -u XDG_DATA_HOME HOME="$1" QT_QPA_PLATFORM=offscreen "$usr/bin/ordevo" --start-only) \
    || fail "ordevo did not start in $2"
}
user="$work/gui-home/.local/share/Ordevo-V3"
start_ordevo "$work/gui-home" "$work/case"
diff -r "$refdata" "$user" >/dev/null || fail "ordevo did not seed $user"

# A registered user name on line 32, and a kernel lost since: the name stays, the kernel returns.
printf 'Hospital\r\n' >> "$user/Primary.dat"
cp "$user/Primary.dat" "$work/registered.dat"
rm "$user/PDS-data/80.dat"
start_ordevo "$work/gui-home" "$work/case"
cmp -s "$user/Primary.dat" "$work/registered.dat" || fail "the second start changed Primary.dat"
cmp -s "$user/PDS-data/80.dat" "$refdata/PDS-data/80.dat" || fail "the lost kernel was not restored"

# A folder prepared with the reference files (as scripts/run prepares run/) is worked in as it is,
# by both programs.
cp -r "$refdata" "$work/prepared"
start_ordevo "$work/empty-home" "$work/prepared"
installed=$(cd "$work/prepared" && env -u XDG_DATA_HOME HOME="$work/empty-home" "$usr/bin/ordevo-cli" "${evaluate[@]}")
[ "$installed" = "$expected" ] || fail "installed ordevo-cli in a prepared folder: $installed"
[ ! -e "$work/empty-home/.local/share/Ordevo-V3" ] || fail "started in a prepared folder, a program seeded HOME"
echo "installed programs: all checks passed"
