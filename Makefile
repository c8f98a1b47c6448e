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
