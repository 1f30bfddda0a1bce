# The two everyday commands are `make run` and `make test`; both install the
# Debian packages they need first.
#
#   make install [PREFIX=/usr/local] [DESTDIR=...]   install the game
#   make package                                      build/tarvelo_<version>_<arch>.deb

PREFIX ?= /usr/local

.PHONY: all build run test install package clean

all: build

# Each goal installs the packages it needs: the build's, and for `test` and
# `package` theirs too.
DEPS = build
test: DEPS = test
package: DEPS = package

build:
	@./scripts/install-deps $(DEPS)
	cmake --preset default
	cmake --build --preset default

run: build
	./build/tarvelo

test: build
	ctest --preset default

install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

package: build
	cpack --preset default

clean:
	rm -rf build
