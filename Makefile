# Zarvi: everything a newcomer needs, from a fresh Debian machine.
#   make test   install dependencies, build natively and for Windows, run every test
#               (also under the sanitizers, a short run of each fuzz target and
#               a 20 s stress run of the engine under ThreadSanitizer)
#   make fuzz   run each fuzz target for FUZZ_SECONDS (600 by default)
#   make soak   the engine plays itself for hundreds of checked games
#   make stress drive the ThreadSanitizer engine through STRESS_SECONDS (600) of random commands
#   make run    build the Windows program and start it (under wine on Linux)
#   make dist   build the release packages in build/dist: the Windows zip and setup
#               program, and the static Linux engine's tarball
#   make perft  build natively and time the move generator on two perft counts
#   make bench  build natively and print the bench signature and the evaluation speed
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
LINUX_DIST := build/linux-dist
DIST := build/dist
SANITIZE := build/sanitize
FUZZ := build/fuzz
TSAN := build/tsan
CLANG := -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
WINDOWS_CONFIG := -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
LINUX_CONFIG := -DCMAKE_BUILD_TYPE=Release -DZARVI_LINUX_DIST=ON
FUZZ_TARGETS := book style fen uci
FUZZ_SECONDS ?= 600
FUZZ_JOBS ?= 1

.PHONY: all deps native windows linux-dist sanitize fuzzers tsan test run dist bench perft fuzz soak stress clean

all: native windows

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: deps
	@cmake -S . -B $(WINDOWS) $(WINDOWS_CONFIG) >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

# The statically linked engine alone, its tarball and the tarball's test.
linux-dist: deps
	@cmake -S . -B $(LINUX_DIST) $(LINUX_CONFIG) >/dev/null
	@cmake --build $(LINUX_DIST) -j $(JOBS)

# The whole native suite with AddressSanitizer and UndefinedBehaviorSanitizer,
# assertions on (the position check after every make and take-back).
sanitize: deps
	@cmake -S . -B $(SANITIZE) $(CLANG) -DZARVI_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)

fuzzers: deps
	@cmake -S . -B $(FUZZ) $(CLANG) -DZARVI_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))

# Only the engine binary and the stress test, under ThreadSanitizer.
tsan: deps
	@cmake -S . -B $(TSAN) $(CLANG) -DZARVI_TSAN=ON >/dev/null
	@cmake --build $(TSAN) -j $(JOBS) --target zarvi-engine zarvi-stress

# The stress test on the ThreadSanitizer build for the given seconds: any
# report not in the one suppressions file stops the engine, which fails the run.
STRESS_SECONDS ?= 600
STRESS = TSAN_OPTIONS="suppressions=$(CURDIR)/tests/stress/tsan.supp halt_on_error=1 exitcode=66" \
  nice $(TSAN)/tests/stress/zarvi-stress --log $(TSAN)/stress.log --seconds

# The fuzz runs, which take fixed times, go at the lowest priority beside the
# tests under wine, which mostly wait for wine and the display; their report
# follows the Windows suite's, and either failing fails the whole.
test: native windows linux-dist sanitize fuzzers tsan
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	@cd $(LINUX_DIST) && ctest --output-on-failure
	@cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)
	@$(STRESS) 20
	@bash scripts/wine-prefix.sh
	@cd $(FUZZ) && nice -n 19 ctest --output-on-failure -L fuzz -j $(JOBS) >ctest.log 2>&1 & fuzz=$$!; \
	  cd $(WINDOWS) && xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
	    sh -c 'ZARVI_VIRTUAL_DISPLAY=$$DISPLAY ctest --output-on-failure -j 1; s=$$?; timeout 10 wineserver -w; exit $$s'; \
	  windows=$$?; wait $$fuzz; fuzzed=$$?; cat $(CURDIR)/$(FUZZ)/ctest.log; [ $$windows = 0 ] && [ $$fuzzed = 0 ]

run: windows
	@bash scripts/run-program.sh

# Builds only the programs and the packages, in the release builds whose
# tests unpack, install and play the same packages.
dist: deps
	@cmake -S . -B $(WINDOWS) $(WINDOWS_CONFIG) -DZARVI_DIST_DIR=$(CURDIR)/$(DIST) >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS) --target dist
	@cmake -S . -B $(LINUX_DIST) $(LINUX_CONFIG) -DZARVI_DIST_DIR=$(CURDIR)/$(DIST) >/dev/null
	@cmake --build $(LINUX_DIST) -j $(JOBS) --target dist

# make soak: the engine plays itself through the game object, every move,
# position and ending checked; not part of make test. The knobs below set
# the games, the depth (each side of a game searches depth - 2 to depth + 1)
# and the series of random games.
SOAK_GAMES ?= 300
SOAK_DEPTH ?= 3
SOAK_SERIES ?= 1
soak: native
	@nice $(NATIVE)/tests/soak/zarvi-soak --games $(SOAK_GAMES) --depth $(SOAK_DEPTH) --series $(SOAK_SERIES)

bench: native
	@$(NATIVE)/apps/zarvi-engine bench
	@$(NATIVE)/apps/zarvi-engine evalbench

KIWIPETE := r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1
perft: native
	@echo "perft 6, start position (expected 119060324):"
	@$(NATIVE)/apps/zarvi-engine perft 6 | grep -E '^(Nodes|Time)'
	@echo "perft 5, $(KIWIPETE) (expected 193690690):"
	@$(NATIVE)/apps/zarvi-engine perft 5 "$(KIWIPETE)" | grep -E '^(Nodes|Time)'

stress: tsan
	@$(STRESS) $(STRESS_SECONDS)

fuzz: fuzzers
	@FUZZ_JOBS=$(FUZZ_JOBS) nice bash scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf build
