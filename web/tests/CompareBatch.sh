#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The web batch tool against the native one on the generated cases: CompareBatch.sh NATIVE WEB.mjs
exec python3 "$(dirname "$0")/compare_batch.py" "$@"
