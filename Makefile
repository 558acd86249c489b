# Two commands are all a newcomer needs: `make play` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GEN := $(shell command -v ninja >/dev/null 2>&1 && echo -G Ninja)

.PHONY: play build test bench clean

build:
	@test -f build/release/CMakeCache.txt || cmake -S . -B build/release $(GEN) -DCMAKE_BUILD_TYPE=Release -DZQ_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target zentrovalquist

play: build
	./build/release/zentrovalquist

test:
	@test -f build/asan/CMakeCache.txt || cmake -S . -B build/asan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_SANITIZE=ON -DZQ_TESTS=ON
	@test -f build/release/CMakeCache.txt || cmake -S . -B build/release $(GEN) -DCMAKE_BUILD_TYPE=Release -DZQ_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target zentrovalquist
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ZQ_E2E_BINARY=$(CURDIR)/build/release/zentrovalquist ctest --output-on-failure -j $(JOBS)

bench:
	@test -f build/bench/CMakeCache.txt || cmake -S . -B build/bench $(GEN) -DCMAKE_BUILD_TYPE=Release -DZQ_TESTS=OFF -DZQ_BENCH=ON
	cmake --build build/bench -j $(JOBS) --target zq_bench
	./build/bench/zq_bench

clean:
	rm -rf build
