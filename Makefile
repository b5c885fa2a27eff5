# `make run` starts the program under Wine; `make test` runs every test. Both install what is
# missing and build first.
PRESETS := native native-sanitize windows windows-x86

.PHONY: all deps build prefix run test format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@for preset in $(PRESETS); do \
	  [ -f build/$$preset/build.ninja ] || cmake --preset $$preset >/dev/null || exit 1; \
	  cmake --build --preset $$preset || exit 1; \
	done

prefix: deps
	@scripts/wine-prefix.sh

run: build prefix
	@scripts/run.sh

test: build prefix
	@scripts/test.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
