# The two commands of the README:
#   make run   installs what is missing, builds (Release) and starts the game
#   make test  installs, builds and runs the whole suite, then the unit tests
#              once more under AddressSanitizer and UndefinedBehaviorSanitizer
#   make web   builds the game for the browser: a static site in build/web
#   make web-run  serves that site on 127.0.0.1
# and beside them:
#   make docs  the API reference of Kinetra and present, in build/docs/html
#   make package  the Debian package of the game, build/release/morvel_*.deb

JOBS ?= $(shell nproc)
BUILD := build/release
ASAN_BUILD := build/asan
WEB_BUILD := build/web-build
WEB_SITE := build/web
WEB_PORT ?= 8000
# Debian's emscripten needs its node modules found whichever node runs it.
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24 -noreset"
# CI builds treat every warning as an error.
WERROR := $(if $(CI),-DMORVEL_WERROR=ON,)

.PHONY: run test deps build build-asan web web-run web-for-tests bench docs package format clean

run: build
	./$(BUILD)/game/morvel

deps:
	@./tools/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(WERROR)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DMORVEL_SANITIZE=ON -DMORVEL_BENCH=OFF $(WERROR)

build-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

$(WEB_BUILD)/CMakeCache.txt: | deps
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DMORVEL_SITE_DIR=$(CURDIR)/$(WEB_SITE) $(WERROR)

web: deps $(WEB_BUILD)/CMakeCache.txt
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target morvel-web morvel-script kinetra-trace
	@echo "$(WEB_SITE): $$(cat $(WEB_SITE)/* | wc -c) bytes; the folder can go on any static web host"

web-run: web
	./tools/serve-site $(WEB_SITE) $(WEB_PORT)

# The browser build's tests skip, saying so, where emscripten is missing.
web-for-tests:
	@if command -v emcc > /dev/null; then $(MAKE) --no-print-directory web; \
	else echo "emscripten is not installed: no browser build, its tests skip"; fi

test: build build-asan web-for-tests
	cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS) -L unit
	$(MAKE) --no-print-directory fuzz-smoke

bench: build
	./$(BUILD)/bench/kinetra-bench

docs: deps
	doxygen Doxyfile
	@echo "The API reference: build/docs/html/index.html"

package: build
	cmake --build $(BUILD) --target package

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build

include mk/fuzz.mk
