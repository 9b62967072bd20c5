#!/usr/bin/env bash
# Builds the Debian packages bivox-cli and bivox (cpack -G DEB) and checks them the way a
# Debian review and a new user would: lintian with no error and no warning, the desktop
# entry and the AppStream metadata validated, both packages unpacked into a scratch root
# with dpkg-deb -x, where bivox-cli converts the example score, the dialog finds its guide
# texts on the offscreen platform, and the desktop's MIME database offers Bivox for .zrb
# files while the program a user registered for them stays their default.
#   scripts/package.sh [--maintainer "Name <address>"]
# The packages are left in build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."

maintainer=()
while [ $# -gt 0 ]; do
  case "$1" in
    --maintainer) maintainer=(-DBIVOX_PACKAGE_MAINTAINER="$2"); shift ;;
    *) echo "usage: $0 [--maintainer \"Name <address>\"]" >&2; exit 2 ;;
  esac
  shift
done

# file: CPack's DEB generator finds the executables for dpkg-shlibdeps with it.
scripts/setup.sh file lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin

fail() {
  echo "package: $*" >&2
  exit 1
}

# Built with Debian's hardening flags, as a Debian package is.
build=build-package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBIVOX_BUILD_TESTS=OFF \
  "${maintainer[@]}"
cmake --build "$build" -j 2
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
cli_deb=$(ls "$build"/bivox-cli_*.deb)
dialog_deb=$(ls "$build"/bivox_*.deb)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"

echo "== lintian"
# Lintian advises against running as root: it reads the packages as nobody then.
cp "$cli_deb" "$dialog_deb" "$scratch"
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(runuser -u nobody -- env HOME="$scratch")
"${as_user[@]}" lintian --fail-on error,warning "$scratch"/*.deb
rm "$scratch"/*.deb

echo "== dependencies"
cli_depends=$(dpkg-deb -f "$cli_deb" Depends)
echo "bivox-cli: $cli_depends"
echo "bivox: $(dpkg-deb -f "$dialog_deb" Depends)"
if grep -qi qt <<<"$cli_depends"; then fail "bivox-cli depends on Qt"; fi

root="$scratch/root"
dpkg-deb -x "$cli_deb" "$root"
dpkg-deb -x "$dialog_deb" "$root"
share="$root/usr/share"

echo "== desktop entry and AppStream metadata"
desktop-file-validate "$share/applications/org.bivox.Bivox.desktop"
appstreamcli validate --no-net "$share/metainfo/org.bivox.Bivox.metainfo.xml"

echo "== bivox-cli from the unpacked package"
if grep -qi qt <<<"$(ldd "$root/usr/bin/bivox-cli")"; then fail "bivox-cli links Qt"; fi
work="$scratch/work"
mkdir "$work"
cp examples/minuet.zrb "$work"
"$root/usr/bin/bivox-cli" stereo "$work/minuet.zrb"
grep -q '@S' "$work/_minuet.zrb" || fail "no pan commands in _minuet.zrb"

echo "== the unpacked dialog finds its guide texts"
# Unattended (--screenshot), the dialog prints every message box as "Bivox: [TITLE] TEXT"
# on its standard error; a guide text it cannot find is such a box.
export QT_QPA_PLATFORM=offscreen XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_dialog() {  # PROGRAM: runs it unattended and prints its message boxes
  "$1" --screenshot="$scratch/dialog.png" > "$scratch/dialog.log" 2>&1 ||
    fail "$1 failed: $(cat "$scratch/dialog.log")"
  grep '^Bivox: \[' "$scratch/dialog.log" || true
}
boxes=$(start_dialog "$root/usr/bin/Bivox")
[ -z "$boxes" ] || fail "the installed dialog reports: $boxes"
[ -s "$scratch/dialog.png" ] || fail "the installed dialog did not start"
# Without its data beside it or in ../share/bivox, the same check sees the missing guide.
mkdir -p "$scratch/bare/bin"
cp "$root/usr/bin/Bivox" "$scratch/bare/bin"
boxes=$(start_dialog "$scratch/bare/bin/Bivox")
grep -q '__Guide000\.txt' <<<"$boxes" || fail "the check does not see a missing guide text"
echo "guide texts found in $share/bivox"

echo "== the desktop's view of .zrb files (GLib, as file managers use it)"
# As if installed: the scratch root's data and programs come first (GLib offers only
# programs that it finds in the PATH); the user's own settings start empty.
export XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$scratch/home/data"
export XDG_CONFIG_HOME="$scratch/home/config" PATH="$root/usr/bin:$PATH"
update-mime-database "$share/mime"
update-desktop-database "$share/applications"
cp "$work/minuet.zrb" "$work/MINUET.ZRB"
for score in minuet.zrb MINUET.ZRB; do
  type=$(gio info -a standard::content-type "$work/$score" | sed -n 's/^ *standard::content-type: //p')
  [ "$type" = text/x-zerbo-score ] || fail "$score is seen as $type"
done
handlers=$(gio mime text/x-zerbo-score)
echo "$handlers"
grep -q 'org\.bivox\.Bivox\.desktop' <<<"$handlers" || fail "Bivox is not offered for .zrb"
# "Zerbo起動" hands the score to the program registered for .zrb files: the package sets no
# default, so the user's own choice (here a stand-in editor) stays the default.
mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=Editor\nExec=true %%f\nMimeType=text/x-zerbo-score;\n' \
  > "$XDG_DATA_HOME/applications/zerbo-editor.desktop"
gio mime text/x-zerbo-score zerbo-editor.desktop
handlers=$(gio mime text/x-zerbo-score)
grep -q 'Default application.*: zerbo-editor\.desktop' <<<"$handlers" ||
  fail "the registered editor is not the default for .zrb"

echo "package: $(basename "$cli_deb") and $(basename "$dialog_deb") in $build/ pass"
