#!/usr/bin/env bash
# Runs a command with the demo portal (tools/demo-portal) served on the host names of a build and with a
# Wine prefix in which the launcher finds a page engine: the stand-in browser control registered as
# "Shell.Explorer.2", CJK fallback fonts and a virtual desktop. Used by scripts/run and by the road tests.
#   TOLVANE_DEMO_BUILD  build folder whose generated/PortalConfig.h names the portal's hosts (loopback
#                       addresses with a port) and whose bin/ holds standin_browser.dll and the demo
#                       package update_test_installer.exe (a stand-in installer that records its call)
#   WINEPREFIX          prefix to prepare (default: <build>/wineprefix-demo); its wineserver ends after
# The command sees tools/with-update-servers.sh's variables (TOLVANE_TEST_NGINX_LOG: the access log).
# Usage: with-demo-portal.sh COMMAND [ARGUMENTS...]; the exit status is the command's.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${TOLVANE_DEMO_BUILD:?TOLVANE_DEMO_BUILD names the build folder}" && pwd)
config="$build/generated/PortalConfig.h"
[ -f "$config" ] || { echo "with-demo-portal: no $config" >&2; exit 1; }

host_of() { sed -n "s/.*$1\\[\\] = \"\\(.*\\)\";/\\1/p" "$config"; }
main_host=$(host_of kMainHost)
case "$main_host" in
  127.0.0.1:*) ;;
  *) echo "with-demo-portal: the build's main host $main_host is not a loopback address with a port" >&2; exit 1 ;;
esac

site=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-demo-portal.XXXXXX")
chmod 755 "$site"
trap 'rm -rf "$site"' EXIT
cp -r "$here/demo-portal/." "$site/"
mkdir -p "$site/main/update"
package="$build/bin/update_test_installer.exe"
md5=""
if [ -f "$package" ]; then
  cp "$package" "$site/main/update/runecourt-setup.exe"
  md5=$(md5sum "$package" | cut -d' ' -f1)
fi
for file in "$site"/nginx-*.conf "$site"/main/wd/servers/index.html; do
  sed -i -e "s|@SITE@|$site|g" -e "s|@MAIN_HOST@|$main_host|g" -e "s|@PAYMENT_HOST@|$(host_of kPaymentHost)|g" \
    -e "s|@FORUM_HOST@|$(host_of kForumHost)|g" -e "s|@GAME_HOST@|$(host_of kGameHost)|g" \
    -e "s|@HELP_HOST@|$(host_of kHelpHost)|g" -e "s|@GAME_SITE_HOST@|$(host_of kGameSiteHost)|g" \
    -e "s|@PACKAGE_MD5@|$md5|g" "$file"
done

# shellcheck source=scripts/lib-display.sh
. "$here/../scripts/lib-display.sh"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix-demo}"
prepare_demo_prefix "$build/bin/standin_browser.dll" || exit 1

TOLVANE_SERVER_SITE="$site" TOLVANE_SERVER_PORT="${main_host#127.0.0.1:}" "$here/with-update-servers.sh" "$@"
status=$?
wineserver -k >/dev/null 2>&1
exit $status
