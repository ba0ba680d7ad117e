#!/usr/bin/env bash
# Builds the Windows release of one commit twice, in two scratch folders of
# different names, one after the other, under different umasks, time zones
# and (as root) users, the second with Wine's loaders out of sight (as root,
# where mount namespaces can be had), and compares the zips byte by byte. Usage:
#   scripts/reproducible-release.sh [COMMIT]     (default: HEAD)
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
scratch=$(mktemp -d /tmp/kalmor-release.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
unset SOURCE_DATE_EPOCH     # each build takes the time from its commit
export CCACHE_DISABLE=1     # and compiles everything itself
zip_name=$(sed -n 's/^project(KalmorChecker VERSION \([0-9.]*\).*/KalmorChecker-\1-win32.zip/p' CMakeLists.txt)

# build FOLDER UMASK TZ USER [no-wine]: clones the commit into FOLDER and builds the package there.
build() {
  local tree="$scratch/$1" as=() hide=() wine="Wine installed"
  mkdir -p "$(dirname "$tree")"
  git clone -q --no-checkout . "$tree"
  git -C "$tree" -c advice.detachedHead=false checkout -q "$commit"
  if [ "$4" != "$(id -u)" ]; then
    chown -R "$4:$4" "$tree"
    as=(setpriv --reuid="$4" --regid="$4" --clear-groups)
  fi
  if [ "${5:-}" = no-wine ]; then
    # A host whose Wine runs nothing: its loaders are gone from this build's view.
    hide=(unshare --mount sh -c 'mount -t tmpfs none /usr/lib/wine && exec "$@"' hide-wine)
    wine="Wine's loaders hidden"
  fi
  echo "$1: started $(date -u +%H:%M:%S) UTC, umask $2, TZ=$3, user $(id -nu "$4"), $wine"
  (umask "$2" && cd "$tree" && TZ="$3" HOME="$tree" "${hide[@]}" "${as[@]}" \
     sh -c 'cmake --preset windows-x86 -DKALMOR_BUILD_TESTS=OFF >build.log 2>&1 &&
            cmake --build --preset windows-x86 --target package >>build.log 2>&1') ||
    { tail -20 "$tree/build.log"; exit 1; }
  (cd "$tree/build/windows-x86" && echo "$1: $(sha256sum "$zip_name")" &&
     if [ -f "$zip_name.sha256" ]; then echo "$1: $(sha256sum -c "$zip_name.sha256")"; fi)
}

echo "commit $commit ($(git log -1 --format=%cI "$commit"))"
second_user=$(id -u)
[ "$second_user" = 0 ] && command -v setpriv >/dev/null && second_user=$(id -u nobody)
second_wine=""
[ "$(id -u)" = 0 ] && [ -d /usr/lib/wine ] && unshare --mount true 2>/dev/null && second_wine=no-wine
build one 022 UTC "$(id -u)"
build elsewhere/the-other-build 077 Pacific/Auckland "$second_user" $second_wine

a="$scratch/one/build/windows-x86/$zip_name"
b="$scratch/elsewhere/the-other-build/build/windows-x86/$zip_name"
if cmp -s "$a" "$b" && cmp -s "$a.sha256" "$b.sha256"; then
  echo "identical: $zip_name ($(stat -c %s "$a") bytes) and its .sha256 file"
  exit 0
fi
echo "the two zips differ:" >&2
mkdir "$scratch/a" "$scratch/b"
(cd "$scratch/a" && unzip -q "$a") && (cd "$scratch/b" && unzip -q "$b")
diff -r "$scratch/a" "$scratch/b" >&2 || true
zipinfo -v "$a" > "$scratch/a.txt"; zipinfo -v "$b" > "$scratch/b.txt"
diff "$scratch/a.txt" "$scratch/b.txt" | grep -v "Archive:" >&2 || true
exit 1
