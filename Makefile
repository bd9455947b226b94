# Set-up and everyday commands. `make run` and `make test` install what is
# missing, build, then start the editor or run every test. `make install`
# installs an existing build under PREFIX (DESTDIR for staging) and never
# builds, so `sudo make install` writes no root-owned files into the build;
# `make uninstall` removes it again; `make package` builds a .deb.
# `make windows` cross-builds the Windows programs into build-windows/ (the
# libraries once into ~/.cache/zelbun-windows from the archives in
# ZELBUN_WIN_SOURCES); `make windows-test` runs their tests under Wine.
# `make screenshots` takes the pictures of docs/ again from the real window
# (tools/screenshots.sh, under a private X server).
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
WINDOWS_BUILD ?= build-windows
WINDOWS_CMAKE_FLAGS ?=

.PHONY: deps build run test bench install uninstall package clean windows-deps windows windows-test screenshots

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/zelbun-kreator $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

install:
	@test -x $(BUILD)/zelbun-kreator || { \
	  echo "make install: nothing built in $(BUILD)/. Build first as your own user:" >&2; \
	  echo "    make build && sudo make install" >&2; exit 1; }
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	cmake -DPREFIX=$(PREFIX) -P tools/uninstall.cmake

package: build
	cd $(BUILD) && cpack -G DEB

screenshots: build
	bash tools/screenshots.sh $(BUILD) docs/images

bench: build
	./$(BUILD)/zelbun_bench

windows-deps:
	@bash tools/install-deps.sh windows

windows: windows-deps
	JOBS=$(JOBS) bash tools/windows/build.sh $(WINDOWS_BUILD) $(WINDOWS_CMAKE_FLAGS)

windows-test: windows
	JOBS=$(JOBS) bash tools/windows/test.sh $(WINDOWS_BUILD)

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD)
