# Two commands are all a newcomer needs: `make play` and `make test`.
# The build directories are configured from CMakePresets.json (release, asan,
# portable, bench), so that an IDE or `cmake --preset asan` gets the same ones.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GEN := $(shell command -v ninja >/dev/null 2>&1 && echo -G Ninja)

.PHONY: play build test bench clean fuzz soak install uninstall deb

build:
	@test -f build/release/CMakeCache.txt || cmake --preset release $(GEN)
	cmake --build build/release -j $(JOBS) --target zentrovalquist

play: build
	./build/release/zentrovalquist

test:
	@# the test builds treat every compiler warning as an error (ZQ_WERROR)
	@test -f build/asan/CMakeCache.txt || cmake --preset asan $(GEN)
	@test -f build/release/CMakeCache.txt || cmake --preset release $(GEN)
	@# the portable system calls (those of macOS and the BSDs), forced on this
	@# machine: the engine and console tests once more, plain -O1, no sanitizers
	@test -f build/portable/CMakeCache.txt || cmake --preset portable $(GEN)
	@# the tests of what runs on several threads (search, crew, block
	@# counters, narrowing) with ThreadSanitizer
	@test -f build/tsan/CMakeCache.txt || cmake --preset tsan $(GEN)
	cmake --build build/release -j $(JOBS) --target zentrovalquist
	cmake --build build/asan -j $(JOBS)
	@# the portable and the ThreadSanitizer builds go on on one core while the
	@# sanitized tests run (the end-to-end ones, one at a time, mostly wait for
	@# the terminal)
	@(cmake --build build/portable -j 1 --target zq_tests && cmake --build build/tsan -j 1 --target zq_tests) \
		>build/side-builds.log 2>&1 & build=$$!; \
	(cd build/asan && ZQ_E2E_BINARY=$(CURDIR)/build/release/zentrovalquist ctest --output-on-failure -j $(JOBS)); rc=$$?; \
	if ! wait $$build; then cat build/side-builds.log; echo "make test: the portable or the ThreadSanitizer build failed"; exit 1; fi; \
	exit $$rc
	cd build/portable && ctest --output-on-failure -j $(JOBS)
	@# whole matches are left to the other builds: the search's own tests run
	@# it on several threads
	cd build/tsan && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure -j $(JOBS) -E WholeGame

# Installing is optional: the game into $(PREFIX)/bin, its manual page into
# $(PREFIX)/share/man/man6, the README and the licence into
# $(PREFIX)/share/doc/zentrovalquist.
# DESTDIR stages the tree elsewhere (for packagers); `make uninstall` removes
# what the last install listed in build/release/install_manifest.txt.
PREFIX ?= /usr/local

# umask 022: directories made on the way must be readable by every user even
# when the installing shell's umask is stricter.
install: build
	umask 022 && DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

uninstall:
	DESTDIR="$(DESTDIR)" cmake -P packaging/uninstall.cmake build/release/install_manifest.txt

# A Debian package built with CPack in build/deb, its dependencies found by
# dpkg-shlibdeps, then checked with lintian when that is installed.
deb:
	@command -v dpkg-shlibdeps >/dev/null 2>&1 || { \
		echo "make deb: dpkg-shlibdeps is not installed (package dpkg-dev); it computes the package's dependencies. No package was built."; exit 1; }
	@test -f build/deb/CMakeCache.txt || cmake -S . -B build/deb $(GEN) -DCMAKE_BUILD_TYPE=Release -DZQ_TESTS=OFF -DZQ_DEB=ON \
		-DCMAKE_INSTALL_PREFIX=/usr "-DCMAKE_CXX_FLAGS=-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
		"-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro -Wl,-z,now"
	cmake --build build/deb -j $(JOBS)
	cd build/deb && cpack -G DEB
	@deb=$$(ls build/deb/zentrovalquist_*.deb); echo "package: $$deb"; \
	if command -v lintian >/dev/null 2>&1; then lintian --info "$$deb"; \
	else echo "make deb: lintian is not installed; the package was not checked."; fi

bench:
	@test -f build/bench/CMakeCache.txt || cmake --preset bench $(GEN)
	cmake --build build/bench -j $(JOBS) --target zq_bench
	./build/bench/zq_bench

# Fuzzing with libFuzzer: each target in tests/fuzz runs FUZZ_SECONDS, its
# corpus growing in build/fuzz/corpus/<target> from the seeds in
# tests/fuzz/corpus/<target>. Needs clang++; `make test` replays the seeds
# without it.
FUZZ_SECONDS ?= 180
FUZZ_TARGETS := $(filter-out driver,$(basename $(notdir $(wildcard tests/fuzz/*.cpp))))

fuzz:
	@if ! command -v clang++ >/dev/null 2>&1; then \
		echo "make fuzz: clang++ not found; libFuzzer needs clang. Nothing was run."; exit 0; fi; \
	set -e; \
	test -f build/fuzz/CMakeCache.txt || CXX=clang++ cmake -S . -B build/fuzz $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_TESTS=OFF -DZQ_FUZZ=ON; \
	cmake --build build/fuzz -j $(JOBS) --target zq_fuzz_targets; \
	for t in $(FUZZ_TARGETS); do \
		mkdir -p build/fuzz/corpus/$$t build/fuzz/crashes/$$t; \
		case $$t in conditions_file) len=200;; clear_name) len=33;; key_decoder) len=512;; *) len=1024;; esac; \
		echo "== fuzz $$t for $(FUZZ_SECONDS) s"; \
		./build/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=$$len -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
			-artifact_prefix=build/fuzz/crashes/$$t/ build/fuzz/corpus/$$t tests/fuzz/corpus/$$t; \
	done

# 500 matches of the computer against itself; not part of `make test`.
SOAK_MATCHES ?= 500

soak:
	@test -f build/soak/CMakeCache.txt || cmake -S . -B build/soak $(GEN) -DCMAKE_BUILD_TYPE=Release -DZQ_TESTS=OFF -DZQ_SOAK=ON
	cmake --build build/soak -j $(JOBS) --target zq_soak
	./build/soak/zq_soak $(SOAK_MATCHES)

clean:
	rm -rf build
