# `make run` starts the program under Wine; `make test` runs every test; `make package` makes the
# release packages in build/package/. Each installs what is missing and builds first.
PRESETS := native native-sanitize windows windows-x86

.PHONY: all deps build prefix run package test format clean

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

package: build
	@scripts/package.sh

# The installer's round trip needs the packages of this build.
test: package prefix
	@scripts/test.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
