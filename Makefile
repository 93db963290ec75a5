# Front door for building, testing and trying out Quellin Corvane. See README.md.

# Every tree builds and tests on its own; none needs another built first.
PRESETS := linux-x64 linux-x64-asan linux-x64-tsan linux-x64-fuzz windows-x64 windows-x86
# Trees whose hammer tests 'make stress' reruns for longer.
STRESS_PRESETS := linux-x64 linux-x64-tsan windows-x64
# Wine prefixes of the build trees, each with its architecture.
WINE_PREFIXES := windows-x64/wineprefix:win64 windows-x86/wineprefix:win32 \
                 windows-x86/wineprefix-x64:win64
FORMAT_DIRS := dsp vst vst3 EditorCommon VstToolkit WindowsToolkit LinuxToolkit SynthToolkit \
               effect tools tests

# Where 'make install' puts things: $(DESTDIR)$(PREFIX)/lib/vst, lib/vst3, lib/lv2, bin, share.
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps build test stress demo dist bench fuzz validate format clean
.PHONY: linux install uninstall install-user uninstall-user

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

# The Linux plug-ins and qc-host alone, without the tests: what 'make install' installs.
linux: deps
	@cmake --preset linux-x64 --log-level=NOTICE
	@cmake --build --preset linux-x64 --target quellin_corvane_x64 quellin_corvane_vst3 \
	    quellin_corvane_lv2_bundle qc-host

install: linux
	@DESTDIR="$(DESTDIR)" PREFIX="$(PREFIX)" tools/install.sh install

uninstall:
	@DESTDIR="$(DESTDIR)" PREFIX="$(PREFIX)" tools/install.sh uninstall

# The plug-ins alone into ~/.vst/, ~/.vst3/ and ~/.lv2/, for users without root.
install-user: linux
	@tools/install.sh install-user

uninstall-user:
	@tools/install.sh uninstall-user

# The release zip, from the binaries 'make build' leaves in dist/.
dist: build
	@tools/dist.sh

# The validator's thorough run over every binary, natively and under Wine, with memcheck.
validate: build
	@tools/validate.sh

# Every fuzz target for FUZZ_SECONDS (600 unless set), or for FUZZ_RUNS inputs when that is
# set; 'make test' gives each 20 seconds.
fuzz: deps
	@if [ -z "$${FUZZ_RUNS:-}" ]; then export FUZZ_SECONDS=$${FUZZ_SECONDS:-600}; fi; \
	tools/test-all.sh linux-x64-fuzz

bench:
	@tools/install-deps.sh --bench
	@tools/build.sh linux-x64
	@tools/bench.sh

format:
	@find $(wildcard $(FORMAT_DIRS)) -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) \
	    -print0 | xargs -0 -r clang-format -i

clean:
	@for entry in $(WINE_PREFIXES); do \
	    prefix=build/$${entry%:*}; \
	    if [ -d "$$prefix" ]; then cmake/wine-run.sh --arch "$${entry#*:}" --prefix "$$prefix" --shutdown; fi; \
	done
	rm -rf build dist

# Renders the editor's bitmaps into resources/ with the native tree's generator.
.PHONY: artwork
artwork: deps
	cmake --preset linux-x64
	cmake --build build/linux-x64 --target generate-artwork -j2
	build/linux-x64/tools/artwork/generate-artwork resources
