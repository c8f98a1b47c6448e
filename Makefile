# Two commands do everything on a fresh Debian 12 machine:
#   make run    install what is missing, configure, build (Release), start the game
#   make test   the same, then every test
BUILD ?= build
GENERATOR ?= Ninja
ARGS ?=
CMAKE_ARGS ?=

# Each target installs the groups of scripts/deps.sh it uses: building and running (run) for
# `make run`, the formatter for `make format`, the packaging tools for `make package`, and
# everything the tests need for `make test`.
DEPS ?= run

.PHONY: run test deps configure build

run: build
	./$(BUILD)/app/solfira $(ARGS)

test: DEPS = test
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2

# A computer room on this machine (as root, under 5 minutes): 12 simulated PCs, each in
# namespaces of its own, play the built game on one shared folder while the register shows it
# (tests/lab/run_lab.py); prints the figures (PCs, rounds, longest wait, lines lost).
.PHONY: check-lab
check-lab: DEPS = test
check-lab: build
	bash scripts/locales.sh $(BUILD)/locales
	LOCPATH=$(abspath $(BUILD))/locales /usr/bin/python3 tests/lab/run_lab.py \
	  --solfira $(BUILD)/app/solfira --registro $(BUILD)/registro/solfira-registro

deps:
	bash scripts/deps.sh $(DEPS)

# Configured afresh whenever the options given differ from those of the last configure step
# (kept in $(BUILD)/make-cmake-args), so `make test CMAKE_ARGS=...` always takes effect and an
# option left out of CMAKE_ARGS does not linger in the cache.
configure: deps
	@if [ ! -f $(BUILD)/build.ninja ] && [ ! -f $(BUILD)/Makefile ] || \
	    [ "$$(cat $(BUILD)/make-cmake-args 2>/dev/null)" != "$(CMAKE_ARGS)" ]; then \
	  cmake --fresh -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) && \
	  echo "$(CMAKE_ARGS)" > $(BUILD)/make-cmake-args; fi

build: configure
	cmake --build $(BUILD) --parallel

# The code's format (.clang-format): `make format` applies it, `make format-check` fails on any
# file that differs from it.
.PHONY: format format-check
FORMATTED = git ls-files '*.cpp' '*.h'

format format-check: DEPS = format
format: deps
	$(FORMATTED) | xargs clang-format -i

format-check: deps
	$(FORMATTED) | xargs clang-format --dry-run --Werror

# Optional, not part of `make test`:
#   make package         the Debian packages $(BUILD)/solfira_<version>_<arch>.deb (the game) and
#                        $(BUILD)/solfira-registro_<version>_<arch>.deb (the teacher's register),
#                        built by CPack and checked with lintian (an error or a warning fails);
#                        install with: sudo apt install ./$(BUILD)/solfira_*.deb
#   make check-fresh     the two commands above on a new minbase Debian 12 system (debootstrap,
#                        chroot; as root, needs the network): make format-check, make run
#                        ARGS=--version, make package, make test, a second make test that
#                        installs nothing, then the packages installed in a second
#                        new system and the programs started there (scripts/check-fresh.sh)
#   make windows         the Windows programs and installer in build-windows/, cross-built with
#                        mingw-w64 against a static Qt built once into a cache (~15 minutes)
#   make check-windows   make windows, then the programs played and checked under Wine
.PHONY: package check-fresh windows check-windows

package: DEPS = run package
package: build
	cd $(BUILD) && rm -f solfira_*.deb solfira-registro_*.deb && cpack -G DEB
	lintian --fail-on error,warning $(BUILD)/solfira_*.deb $(BUILD)/solfira-registro_*.deb

check-fresh:
	bash scripts/check-fresh.sh

windows:
	bash scripts/windows/build.sh $(BUILD)-windows

check-windows:
	bash tests/windows/check.sh $(BUILD)-windows
