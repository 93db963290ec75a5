# Front door for building, testing and trying out Quellin Corvane. See README.md.

# linux-x64 comes first: the Windows trees check their DLLs with its pecheck.
PRESETS := linux-x64 linux-x64-asan linux-x64-tsan windows-x64 windows-x86
# Trees whose hammer tests 'make stress' reruns for longer.
STRESS_PRESETS := linux-x64 linux-x64-tsan windows-x64
WINE_PREFIX := $(CURDIR)/build/windows-x64/wineprefix
FORMAT_DIRS := vst VstToolkit WindowsToolkit SynthToolkit effect tools tests

.PHONY: all deps build test stress demo dist bench format clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@tools/build.sh $(PRESETS)

test: deps
	@tools/test-all.sh $(PRESETS)

# Longer thread hammer runs (STRESS_SECONDS each, default 60) and stability renders
# (STRESS_AUDIO_MINUTES of audio per case, default 40) against every plug-in binary.
stress: deps
	@tools/stress.sh $(STRESS_PRESETS)

demo: build
	@tools/demo.sh

# The release zip, from the binaries 'make build' leaves in dist/.
dist: build
	@tools/dist.sh

bench:
	@tools/build.sh linux-x64
	@tools/bench.sh

format:
	@find $(wildcard $(FORMAT_DIRS)) -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) \
	    -print0 | xargs -0 -r clang-format -i

clean:
	@if [ -d "$(WINE_PREFIX)" ]; then WINEPREFIX="$(WINE_PREFIX)" /usr/lib/wine/wineserver64 -k 2>/dev/null || true; fi
	rm -rf build dist

# Renders the editor's bitmaps into resources/ with the native tree's generator.
.PHONY: artwork
artwork: deps
	cmake --preset linux-x64
	cmake --build build/linux-x64 --target generate-artwork -j2
	build/linux-x64/tools/artwork/generate-artwork resources
