# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# The two everyday commands are `make run` and `make test`; both install the
# Debian packages they need first.
#
#   make install [PREFIX=/usr/local] [DESTDIR=...]   install the game
#   make package                                      build/tarvelo_<version>_<arch>.deb
#   make test-package                                 only the package's tests (lintian, a clean root)
#   make test-releases                                the quick start in fresh roots of Debian 13 and unstable
#   make fuzz                                         fuzz the trick until stopped
#   make bench                                        measure start-up, memory and taps
#   make bench-peers                                  the same beside two peer games (installs them)

PREFIX ?= /usr/local

.PHONY: all build run test test-package test-releases install package fuzz bench bench-peers clean

all: build

# Each goal installs the packages it needs: the build's, and for `test` and
# `package` theirs too.
DEPS = build
test: DEPS = test
test-package: DEPS = test
fuzz: DEPS = test
bench: DEPS = test
bench-peers: DEPS = test
package: DEPS = package

# Configures and builds one of the CMake presets.
build-preset = cmake --preset $(1) && cmake --build --preset $(1)

build:
	@./scripts/install-deps $(DEPS)
	$(call build-preset,default)

run: build
	./build/tarvelo

# The whole suite runs twice, in the normal build and under AddressSanitizer
# and UndefinedBehaviorSanitizer; then the fuzz target runs for a while.
test: build
	ctest --preset default
	$(call build-preset,sanitize)
	ctest --preset sanitize
	$(call build-preset,fuzz)
	ctest --preset fuzz

test-package: build
	ctest --preset default --label-regex package

# Each in a root of its own, made with debootstrap; needs root.
test-releases:
	@./scripts/install-deps test
	sh tests/release_root.sh trixie .
	sh tests/release_root.sh sid .

fuzz:
	@./scripts/install-deps $(DEPS)
	$(call build-preset,fuzz)
	mkdir -p build-fuzz/corpus
	./build-fuzz/fuzz/fuzz_trick -max_len=1024 -dict=fuzz/trick.dict build-fuzz/corpus fuzz/corpus

bench: build
	sh bench/run.sh build

bench-peers: build
	sh bench/peers.sh build --install

install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

package: build
	cpack --preset default

clean:
	rm -rf build build-dev build-sanitize build-fuzz build-releases
