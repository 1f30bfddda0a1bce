# The two everyday commands: `make run` and `make test`. Both install the
# Debian packages they need first.

.PHONY: all build run test deps clean

all: build

deps:
	@./scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	./build/tarvelo

test: build
	ctest --preset default

clean:
	rm -rf build
