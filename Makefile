# Two commands do everything on a fresh Debian 12 machine:
#   make run    install what is missing, configure, build (Release), start the game
#   make test   the same, then every test
BUILD ?= build
GENERATOR ?= Ninja
ARGS ?=

.PHONY: run test deps configure build

run: build
	./$(BUILD)/app/solfira $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2

deps:
	bash scripts/deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ] && [ ! -f $(BUILD)/Makefile ]; then \
	  cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release; fi

build: configure
	cmake --build $(BUILD) --parallel

# Optional, not part of `make test`:
#   make package         the Debian package $(BUILD)/solfira_<version>_<arch>.deb (CPack);
#                        install it with: sudo apt install ./$(BUILD)/solfira_*.deb
#   make check-windows   the Windows-only code and the version resource, built with mingw-w64
#                        and run under Wine (installs tests/windows/packages.txt when missing)
.PHONY: package check-windows

package: build
	cd $(BUILD) && cpack -G DEB

check-windows:
	bash tests/windows/check.sh $(BUILD)-windows
