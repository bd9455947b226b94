# Set-up and everyday commands. `make run` and `make test` install what is
# missing, build, then start the editor or run every test. `make install`
# installs an existing build under PREFIX (DESTDIR for staging) and never
# builds, so `sudo make install` writes no root-owned files into the build;
# `make uninstall` removes it again; `make package` builds a .deb.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: deps build run test bench install uninstall package clean

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

bench: build
	./$(BUILD)/zelbun_bench

clean:
	rm -rf $(BUILD)
