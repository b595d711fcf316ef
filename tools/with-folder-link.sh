#!/usr/bin/env bash
# Runs a command beside a folder layout that holds a link made by the host system:
#   ROOT/cache/page.htm            a cache file
#   ROOT/cache/Linked -> ROOT/outside   a link to a folder outside the cache
#   ROOT/outside/save.dat, ROOT/outside/Photos/one.jpg   what the link points at
# Wine shows such a link as a folder with the reparse-point attribute, as Windows shows a junction.
# The command learns ROOT from TOLVANE_TEST_LINK_ROOT. Usage: with-folder-link.sh COMMAND [ARGUMENTS...]
set -u
root=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-folder-link.XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/cache" "$root/outside/Photos"
echo "<html>" >"$root/cache/page.htm"
echo "the player's own file" >"$root/outside/save.dat"
echo "photo" >"$root/outside/Photos/one.jpg"
ln -s "$root/outside" "$root/cache/Linked"
export TOLVANE_TEST_LINK_ROOT="$root"
"$@"
exit $?
