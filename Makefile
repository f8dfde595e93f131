# The front door: `make demo` and `make test`. Everything else is CMake.
PRESET ?= release
BUILD := build/$(PRESET)
# The example that `make demo` takes from source to running program.
EXAMPLE ?= examples/keisan/keisan.zem
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60

# CI builds with warnings as errors.
ifeq ($(CI),true)
CMAKE_ARGS += -DZEMUC_WERROR=ON
endif

.PHONY: all build demo test sanitize fuzz web web-tools bench bench-lsp install clean tools build-tools format

all: build

# Installs what is missing (as root, through apt-get), or says in one line
# what to install; `make demo` needs less than `make test`.
tools:
	@scripts/ensure-tools.sh test
	@git rev-parse --git-dir >/dev/null 2>&1 && \
	  git config diff.sjis.textconv "iconv -f CP932 -t UTF-8" || true

build-tools:
	@scripts/ensure-tools.sh build

$(BUILD)/build.ninja: | build-tools
	cmake --preset $(PRESET) $(CMAKE_ARGS)

build: tools $(BUILD)/build.ninja
	cmake --build $(BUILD)

# The playground's tests run the site that `make web` writes.
test: build web
	ctest --test-dir $(BUILD) --output-on-failure -j 2

# Builds only what the demo runs.
demo: build-tools $(BUILD)/build.ninja
	@cmake --build $(BUILD) --target zemuc
	@scripts/demo.sh $(BUILD)/zemuc $(EXAMPLE)

sanitize:
	$(MAKE) test PRESET=sanitize

fuzz:
	@command -v clang++ >/dev/null 2>&1 || { echo "clang is missing: install it with 'apt-get install clang libclang-rt-14-dev'"; exit 1; }
	cmake --preset fuzz $(CMAKE_ARGS)
	cmake --build build/fuzz -j 2
	scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS)

# The playground, a static site in build/web/: zemucweb.wasm (the wasm
# preset, clang-19 for wasm32-wasi), the C compiler for the page, the
# bundles and web/static/, put together by web/build.mjs.
ZEMUCWEB_WASM ?= build/wasm/zemucweb.wasm

web-tools:
	@scripts/ensure-tools.sh web

# npm ci again whenever the lock is newer than what it installed.
web/node_modules/.package-lock.json: web/package-lock.json | web-tools
	npm ci --prefix web --no-audit --no-fund
	@touch $@

# The exercises the playground offers: every folder under EXERCISES, packed
# by the native zemuc into exercises.json beside index.html; EXERCISES=
# (empty) leaves them out.
EXERCISES ?= exercises
EXERCISES_JSON := $(if $(strip $(EXERCISES)),build/exercises.json)

web: web-tools web/node_modules/.package-lock.json $(if $(EXERCISES_JSON),$(BUILD)/build.ninja)
	cmake --preset wasm $(CMAKE_ARGS)
	cmake --build build/wasm
ifneq ($(EXERCISES_JSON),)
	cmake --build $(BUILD) --target zemuc
	$(BUILD)/zemuc exercise pack $(EXERCISES)/*/ -o $(EXERCISES_JSON)
endif
	node web/build.mjs build/web $(ZEMUCWEB_WASM) $(EXERCISES_JSON)

bench: build
	bench/run.sh $(BUILD)/zemucfilter
	bench/zemuc_start.sh $(BUILD)/zemuc

# How fast zemuc lsp answers: diagnostics after didOpen, and hover.
bench-lsp: build
	bench/lsp_timing.py $(BUILD)/zemuc

# The playground in chromium: time to ready and to a program's first output,
# and the bytes a first visit downloads; then, from zemuc serve over
# loopback, a first visit's bytes with brotli and gzip and 40 at once.
.PHONY: bench-web
bench-web: build web
	@scripts/ensure-tools.sh browser
	ZEMUC=$(BUILD)/zemuc node bench/web_timing.mjs build/web

# Installs bin/zemucfilter, bin/zemuc, share/zemucfilter/delkai.c, the
# manual pages and, once make web has built it, the playground's site in
# share/zemucfilter/web (what zemuc serve serves) under PREFIX;
# DESTDIR=/some/root stages the install there.
install: build
	@[ -f build/web/index.html ] || echo "note: no build/web: the install has no playground site for zemuc serve (make web first)"
	cmake --install $(BUILD) --prefix $(PREFIX)

# Formats every C++ file as .clang-format says; CI fails on a file that is not.
format:
	scripts/check-format.sh --fix

clean:
	rm -rf build
