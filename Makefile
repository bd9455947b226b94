# Set-up and everyday commands. `make run` and `make test` install what is
# missing, build, then start the editor or run every test. `make install`
# installs under PREFIX (DESTDIR for staging); `make package` builds a .deb.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: deps build run test bench install package clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/zelbun-kreator $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	./$(BUILD)/zelbun_bench

clean:
	rm -rf $(BUILD)
