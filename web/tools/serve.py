#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Serves a folder of static files on localhost, as any web server would serve the web edition:
python3 serve.py FOLDER [PORT]."""
import functools
import http.server
import sys

folder = sys.argv[1] if len(sys.argv) > 1 else "."
port = int(sys.argv[2]) if len(sys.argv) > 2 else 8080


class Handler(http.server.SimpleHTTPRequestHandler):
    # The types browsers insist on for modules, WebAssembly and the app manifest.
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".mjs": "text/javascript",
        ".js": "text/javascript",
        ".wasm": "application/wasm",
        ".webmanifest": "application/manifest+json",
        ".svg": "image/svg+xml",
    }


server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=folder))
print(f"Serving {folder} on http://localhost:{port}/", flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
