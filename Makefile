# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers

# The two everyday commands are `make run` and `make test`; both install the
# Debian packages they need first.
#
#   make install [PREFIX=/usr/local] [DESTDIR=...]   install the game
#   make package                                      build/tarvelo_<version>_<arch>.deb
#   make release                                      every file a user downloads, and SHA256SUMS, in dist/
#   make test-package                                 only the package's tests (lintian, a clean root)
#   make test-releases                                the quick start in fresh roots of Debian 13 and unstable
#   make fuzz                                         fuzz the trick until stopped
#   make bench                                        measure start-up, memory and taps
#   make bench-peers                                  the same beside two peer games (installs them)
#   make web                                          the game in the browser: build-web/site/
#   make web-run                                      serve it on 127.0.0.1 and print the address
#   make windows                                      the game for Windows: build-windows/

PREFIX ?= /usr/local

# What the builds make for users carries the time of the last commit, so
# that one commit always gives the same bytes: git's, or in the source
# archive the one git archive wrote into data/commit-time; outside both,
# the time of the release in data/changelog.
SOURCE_DATE_EPOCH ?= $(or $(shell grep -sx '[0-9][0-9]*' data/commit-time),$(shell git log -1 --format=%ct 2>/dev/null),$(shell \
    date -d "$$(sed -n 's/^ -- .*>  //p' data/changelog | head -n 1)" +%s))
export SOURCE_DATE_EPOCH

.PHONY: all build run test test-package test-releases install package release fuzz bench bench-peers web web-run windows clean

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
release: DEPS = package

# Configures and builds one of the CMake presets.
build-preset = cmake --preset $(1) && cmake --build --preset $(1)

build:
	@./scripts/install-deps $(DEPS)
	$(call build-preset,default)

run: build
	./build/tarvelo

# The site, built with emscripten. Its tools need Debian's node modules
# where the node on PATH is not Debian's own.
web: export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
web:
	@./scripts/install-deps $(if $(filter test,$(DEPS)),test,web)
	emcmake cmake --preset web && cmake --build --preset web

WEB_PORT ?= 8000
web-run: web
	node web/serve.mjs build-web/site $(WEB_PORT)

# The Windows program, its zip and its installer, cross-compiled with
# mingw-w64; the desktop build draws its pictures.
windows: build
	@./scripts/install-deps $(if $(filter test,$(DEPS)),test,windows)
	$(call build-preset,windows)

# The page's tests drive its three engines and Lighthouse audits it, as the
# lockfile pins them.
tests/web/node_modules: tests/web/package.json tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund
	touch $@

# The whole suite runs twice, in the normal build and under AddressSanitizer
# and UndefinedBehaviorSanitizer; then the fuzz target runs for a while. The
# page's suite runs with the normal build's, on the site built first.
test: build web windows tests/web/node_modules
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

bench: build web windows tests/web/node_modules
	sh bench/run.sh build build-web/site

bench-peers: build web windows tests/web/node_modules
	sh bench/peers.sh build build-web/site --install

install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

# The package's own members take the umask's modes: Debian's are 644.
package: build
	umask 022 && cpack --preset default

# Each file built as its own command builds it, then gathered with checksums.
release: package web windows
	sh scripts/release

clean:
	rm -rf build build-dev build-sanitize build-fuzz build-releases build-web build-windows dist tests/web/node_modules
