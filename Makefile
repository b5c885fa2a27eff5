# `make run` starts the program under Wine; `make test` runs every test; `make package` makes the
# release packages in build/package/; `make fuzz` runs each fuzz target for ten million inputs;
# `make bench` runs the benchmarks and prints their ratios, `make bench-idle` the ten-minute run
# of the monitoring program. Each installs what is missing and builds first.
PRESETS := native native-sanitize fuzz windows windows-x86

.PHONY: all deps build prefix run package test fuzz bench bench-idle format clean

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

fuzz: build
	@scripts/fuzz.sh long

bench: build prefix
	@scripts/bench.sh

bench-idle: build prefix
	@scripts/bench.sh idle 600

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
