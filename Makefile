# SPDX-License-Identifier: GPL-3.0-or-later
# make run  - install what is missing, build a release binary and start vork
# make test - install what is missing, check the formatting, build with sanitizers and run every
#             test, then build (not run) the fuzz targets with clang
# make deb  - build a release Debian package in build/release
# make format-check - name the C++ sources that differ from .clang-format or lack their licence
#                     line; make format formats them
JOBS ?= $(shell nproc)
RUN_DIR ?= $(CURDIR)/build/run

.PHONY: setup run test fuzz-build bench clean release deb format-check format

setup:
	bash scripts/setup.sh

release: setup
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target vork

run: release
	mkdir -p $(RUN_DIR)
	[ -d $(RUN_DIR)/data ] || cp -r data $(RUN_DIR)/data
	cd $(RUN_DIR) && $(CURDIR)/build/release/vork

test: setup format-check
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORK_SANITIZE=ON -DVORK_WERROR=ON -DVORK_BENCH=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) fuzz-build

# The fuzz targets build only with clang, which the tests do not use: building them here lets a
# change that clang refuses be seen at once.
fuzz-build: setup
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVORK_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target fuzz_targets

deb: release
	cd build/release && cpack -G DEB

bench: setup
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORK_TESTS=OFF -DVORK_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	cd build/bench && ./bench/vork_bench

format-check: setup
	bash scripts/check-format.sh

format: setup
	bash scripts/check-format.sh --fix

clean:
	rm -rf build
