#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a script of the page's tests or benchmark in Debian's Chromium, driven by playwright-core
# from npm at the version that web/package-lock.json pins (installed into web/node_modules/ once;
# Playwright's own browser download is never used).  The expected values come from the native
# batch tool in build/.
#   sh web/tests/page/run.sh SCRIPT [SITE] [options...]
set -e
script=$1
site=${2:-build-web/site}
[ $# -gt 1 ] && shift 2 || shift $#
root=$(cd "$(dirname "$0")/../../.." && pwd)
pinned=$(node -p "require('$root/web/package-lock.json').packages['node_modules/playwright-core'].version")
installed=$(node -p "try { require('$root/web/node_modules/playwright-core/package.json').version } catch { '' }")
if [ "$pinned" != "$installed" ]; then
  (cd "$root/web" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
cd "$root"
exec node "$script" --site "$site" --batch build/zorkventa-batch --data tests/data "$@"
