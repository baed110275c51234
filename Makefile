# SPDX-License-Identifier: GPL-3.0-or-later
# Zorkventa: the two set-up commands are `make run` and `make test`.
# Both install the Debian packages that are missing (as root directly, otherwise through sudo),
# configure a Release build in build/ and build it.
#
#   make run       build and start the program
#   make test      the test suite, then once more built with AddressSanitizer and
#                  UndefinedBehaviorSanitizer (build-asan/)
#   make bench     the benchmarks
#   make fuzz      the fuzz targets, FUZZ_SECONDS each (clang, build-fuzz/)
#   make package   the Debian package build/zorkventa_<version>_<arch>.deb
#   make package-check   that package, then lintian, desktop-file-validate and appstreamcli on it
#                  (also `make lint`); any error or warning fails
#   make web       the web edition with Emscripten (build-web/): the batch tool for node and the
#                  page's static files in build-web/site/
#   make web-run   the web edition served on http://localhost:8080/
#   make web-bench the page's Apply timed under node
#   make test-web  the web edition's tests (also the last stage of `make test`)
#   make page-bench the page's figures in Chromium (load time, Apply, the site's size)
#   make flight-bench the flight view's CPU share in Chromium (500 particles, 10 s)
#   make web-flight-bench the flight view's frame timed under node
#   make web-screenshots  the README's pictures of the page's views in docs/ (desktop and phone)

# The installation test judges the menu entry, the metainfo and the file type of saved cases with
# the desktop's own tools (xdg-mime asks mimetype, from libfile-mimeinfo-perl, on a desktop it does
# not know).  libpng encodes the PNG pictures, so the batch tool starts without loading Qt.
PKGS := cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
        libbenchmark-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core \
        qt6-translations-l10n locales poppler-utils \
        desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
# libFuzzer and its runtime come with clang.
FUZZ_PKGS := $(PKGS) clang libclang-rt-14-dev
# Debian's emscripten builds the web edition with what it brings (its "ports" would download
# their sources, so none is used); node runs the batch tool and the tests; the page's tests drive
# Debian's chromium through playwright-core, which npm (it comes with nodejs) installs.
WEB_PKGS := $(PKGS) emscripten nodejs python3 chromium
# cpack finds the package's library dependencies with dpkg-shlibdeps, and its binaries with file;
# lintian checks the package.
PACKAGE_PKGS := $(PKGS) dpkg-dev file lintian
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS := $(shell nproc 2>/dev/null || echo 2)
BUILD := build
# The folders of the presets "sanitizers" and "fuzz" in CMakePresets.json.
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
WEB_BUILD := build-web
WEB_PORT := 8080
# Debian's emscripten runs its JavaScript optimizer with the system's node modules.
WEB_ENV := NODE_PATH=/usr/share/nodejs
FUZZ_SECONDS := 60
FUZZ_TARGETS := result_file apply

# For the fuzz targets, as the preset "sanitizers" sets it for the tests: leak reports from
# fontconfig's one-time allocations are not ours; every other leak, memory error or undefined
# behaviour fails the run.
SANITIZER_ENV := LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
                 ASAN_OPTIONS=detect_leaks=1 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: deps fuzz-deps package-deps web-deps configure build run test test-release test-sanitizers \
        bench fuzz fuzz-merge package package-check lint clean web web-run web-bench web-flight-bench page-bench flight-bench test-web \
        web-screenshots

# $(call install-missing,packages): installs those of the packages that are not installed yet.
define install-missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:" $$missing; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PKGS))

fuzz-deps:
	$(call install-missing,$(FUZZ_PKGS))

package-deps:
	$(call install-missing,$(PACKAGE_PKGS))

web-deps:
	$(call install-missing,$(WEB_PKGS))

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -x $(BUILD)/zorkventa ]; then \
	  ./$(BUILD)/zorkventa; \
	else \
	  printf '340\r\n140\r\n680\r\n20\r\n' > $(BUILD)/startup.psr && ./$(BUILD)/zorkventa-batch $(BUILD)/startup.psr; \
	fi

# The stages run in this order: native, sanitizers, web.
test: test-release test-sanitizers test-web

test-release: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same suite built with the sanitizers at -O1 (preset "sanitizers": build-asan/, the leak
# suppressions).  The long random comparison of the fast and the literal construction already
# ran above and is left out here.
test-sanitizers: test-release
	cmake --preset sanitizers
	cmake --build --preset sanitizers -j$(JOBS)
	ctest --preset sanitizers -j$(JOBS)

# The web edition beside the native one: the node batch tool against the native on the generated
# cases (the identity figure), then every script of the page's tests (web/tests/page/*-test.mjs).
test-web: build web
	$(WEB_ENV) sh web/tests/CompareBatch.sh $(BUILD)/zorkventa-batch $(WEB_BUILD)/zorkventa-batch.mjs
	for t in web/tests/page/*-test.mjs; do sh web/tests/page/run.sh $$t $(WEB_BUILD)/site || exit 1; done

# The page's figures in Chromium: load time, Apply over every wedge angle at V1 = 1 000 000, the
# site's compressed size.
page-bench: build web
	sh web/tests/page/run.sh bench/web/page.mjs $(WEB_BUILD)/site

# The flight view's CPU time in headless Chromium with 500 particles, over 10 s, a few times.
flight-bench: build web
	sh web/tests/page/run.sh bench/web/flight.mjs $(WEB_BUILD)/site
web-screenshots: web
	sh web/tests/page/run.sh bench/web/screenshots.mjs $(WEB_BUILD)/site --out docs

web: web-deps
	$(WEB_ENV) emcmake cmake -S web -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j$(JOBS)

# The page's Apply over every wedge angle at V1 = 1 000 000, timed under node.
web-bench: web
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j$(JOBS) --target zorkventa-node
	node --no-experimental-fetch bench/web/apply_timing.mjs 1000000

# The flight view's frame (500 particles) timed under node: the engine's share of the view's cost.
web-flight-bench: web
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j$(JOBS) --target zorkventa-node
	node --no-experimental-fetch bench/web/flight_frame.mjs 500

web-run: web
	@echo "The web edition is served on http://localhost:$(WEB_PORT)/ (Ctrl+C stops it)"
	python3 web/tools/serve.py $(WEB_BUILD)/site $(WEB_PORT)

bench: build
	./$(BUILD)/zk_bench
	@if [ -x $(BUILD)/zk_flight_bench ]; then QT_QPA_PLATFORM=offscreen ./$(BUILD)/zk_flight_bench; fi
	@if [ -x $(BUILD)/zk_window_bench ]; then QT_QPA_PLATFORM=offscreen ./$(BUILD)/zk_window_bench; fi

# Each target runs FUZZ_SECONDS on the checked-in corpus; what it adds is kept in build-fuzz/.
# `make fuzz-merge` adds to the checked-in corpus those of the new inputs that reach code its
# files do not (edges only, not hit counts, to keep it at a few dozen files; the named seeds stay).  An input that fails is written to
# build-fuzz/artifacts/ and fails the run; name it after what it does and add it to the corpus,
# where the test suite replays it.
fuzz: fuzz-deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j$(JOBS)
	@set -e; mkdir -p $(FUZZ_BUILD)/artifacts; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "Fuzzing zk_fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  $(SANITIZER_ENV) ./$(FUZZ_BUILD)/zk_fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- \
	    $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t; \
	done

fuzz-merge:
	@set -e; for t in $(FUZZ_TARGETS); do \
	  $(SANITIZER_ENV) ./$(FUZZ_BUILD)/zk_fuzz_$$t -merge=1 -use_counters=0 -timeout=10 \
	    fuzz/corpus/$$t $(FUZZ_BUILD)/corpus/$$t; \
	done

package: package-deps build
	rm -f $(BUILD)/zorkventa_*.deb
	cd $(BUILD) && cpack -G DEB

package-check: package
	sh desktop/CheckPackage.sh $(BUILD)/zorkventa_*.deb

lint: package-check

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
