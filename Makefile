# Zorkventa: the two set-up commands are `make run` and `make test`.
# Both install the Debian packages that are missing (as root directly, otherwise through sudo),
# configure a Release build in build/ and build it.

PKGS := cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
        libbenchmark-dev libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS := $(shell nproc 2>/dev/null || echo 2)
BUILD := build

.PHONY: deps configure build run test bench clean

deps:
	@missing=$$(for p in $(PKGS); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:" $$missing; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

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

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: build
	./$(BUILD)/zk_bench

clean:
	rm -rf $(BUILD)
