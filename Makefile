# Qilo: `make run` starts the calculator, `make test` runs every test.
# Both install what is missing first (Debian 12, apt-get).

# qt6-wayland and weston: the window on a Wayland desktop, and its test there;
# xdg-utils: a click on a link opens the browser; libxfixes-dev: the test
# that reads the pointer's image from the X server.
PACKAGES := cmake ninja-build g++ python3 libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev xvfb xauth fonts-wqy-microhei fonts-dejavu-core \
            python3-pil fonts-dejavu-extra fonts-lato x11-utils imagemagick xdotool \
            qt6-translations-l10n desktop-file-utils appstream file \
            qt6-wayland weston xdg-utils clang-format pkg-config libfontconfig-dev \
            libxfixes-dev
# The Debian package: dpkg-shlibdeps computes its Depends, lintian checks it.
PACKAGE_PACKAGES := dpkg-dev lintian
# The fuzzing harnesses.
FUZZ_PACKAGES := clang
FUZZ_SECONDS ?= 120
# The Windows cross build and its tests under wine.
WIN_PACKAGES := g++-mingw-w64-x86-64-posix wine64 googletest
# The web app: emscripten for the engine in wasm, node and npm for the test
# drivers, Debian's chromium (npm's playwright-core drives it; no download).
# npm only where node came without it (NodeSource's nodejs holds it).
WEB_PACKAGES := emscripten nodejs chromium googletest $(if $(shell command -v npm),,npm)
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: deps build test check run bench format clean windows windows-test dist fuzz fuzz-build \
        package package-test web web-run web-test

# Installs each of $(1) that dpkg does not list as installed.
define install_missing
	@missing=$$(for p in $(1); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	cmake --preset debug
	cmake --build --preset debug

test: build
	ctest --preset debug -j2
	$(MAKE) check
	$(MAKE) windows-test
	$(MAKE) fuzz FUZZ_SECONDS=10
	$(MAKE) package-test
	$(MAKE) web-test

# The same tests once more under AddressSanitizer and UBSan.
check: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan -j2

# Every harness for FUZZ_SECONDS on its seed corpus: a table of executions,
# coverage and findings (make fuzz FUZZ_SECONDS=600 for a long run;
# FUZZERS="statement_fuzz tools_fuzz" for only those).
fuzz-build:
	$(call install_missing,$(FUZZ_PACKAGES))
	cmake --preset fuzz
	cmake --build --preset fuzz

fuzz: fuzz-build
	sh fuzz/run_fuzzers.sh $(FUZZ_SECONDS) build-fuzz

# build-win/qilo.exe and build-win/qilo-cli.exe, cross-built with mingw-w64.
windows:
	$(call install_missing,$(WIN_PACKAGES))
	cmake --preset windows
	cmake --build --preset windows

# The headless tests built for Windows, run under wine.
windows-test: windows
	ctest --preset windows -j2

# build-win/qilo-VERSION-win64.zip for Windows users: both programs, a short
# guide in Chinese and the licence.
dist: windows
	cmake --build --preset windows --target dist
	@ls build-win/qilo-*-win64.zip

# build-release/qilo_VERSION_ARCH.deb from the release build, stripped.
package: deps
	$(call install_missing,$(PACKAGE_PACKAGES))
	cmake --preset release
	cmake --build --preset package
	rm -f build-release/qilo_*.deb
	cpack --preset deb

# The package's fields, files and lintian verdict; its programs started from
# the unpacked files.
package-test: package
	sh packaging/deb_test.sh build-release

# The window on a desktop; without one, on a virtual display with a screenshot.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then ./build/qilo; \
	else echo "qilo: no display; starting on a virtual display (Xvfb)," \
	  "screenshot in build/screenshot.png"; \
	  sh app/qt/run_headless.sh build/qilo build/screenshot.png; fi

# Optimised builds; every figure against its floor in one table: the
# micro-benchmarks, the window's start-up against a bare Qt window, fetches
# over loopback against curl, qilo.exe's start-up under wine against a bare
# Win32 window. A failing run fails.
BENCH_ROWS := build-release/bench/rows.txt
bench: deps windows
	$(call install_missing,curl)
	cmake --preset release
	cmake --build --preset release
	python3 bench/micro_bench.py build-release/bench/qilo_bench > $(BENCH_ROWS)
	sh bench/startup_bench.sh build-release/qilo build-release/bench/bare_qt_window \
	  build-release/bench/fonts_qt_window >> $(BENCH_ROWS)
	bash bench/fetch_bench.sh build-release/qilo-cli >> $(BENCH_ROWS)
	sh bench/wine_startup_bench.sh build-win/qilo.exe build-win/bench/bare_win32_window.exe \
	  build-win/bench/controls_win32_window.exe >> $(BENCH_ROWS)
	$(MAKE) web
	ctest --test-dir build-web -R web_npm_ci
	cd build-web/lighthouse && npm ci --ignore-scripts --no-audit --no-fund
	node web/bench.mjs build-web/site build-web/npm build-web/lighthouse >> $(BENCH_ROWS)
	sh bench/table.sh < $(BENCH_ROWS)

# build-web/site/: the web app as static files, the engine built to wasm by
# emscripten (emcc needs node's acorn from /usr/share/nodejs).
WEB_ENV := NODE_PATH=/usr/share/nodejs
web:
	$(call install_missing,$(WEB_PACKAGES))
	$(WEB_ENV) emcmake cmake -S web -B build-web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  "-DCMAKE_CROSSCOMPILING_EMULATOR=node;--no-experimental-fetch"
	$(WEB_ENV) cmake --build build-web

# The site on 127.0.0.1 (PORT, default 8028) until Ctrl-C.
web-run: web
	node web/serve.mjs build-web/site $${PORT:-8028}

# The engine's tests as wasm under node; the page in headless Chromium, with
# playwright-core from web/package-lock.json, against build/qilo-cli.
web-test: web
	cmake --preset debug
	cmake --build --preset debug --target qilo-cli
	ctest --test-dir build-web -j2 --output-on-failure

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-release build-asan build-win build-fuzz
