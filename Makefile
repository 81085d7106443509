# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
PACKAGE_DIR ?= build-package
WINDOWS_DIR ?= build-windows
JOBS ?= 2
CMAKE_FLAGS ?=
ifeq ($(CI),true)
  CMAKE_FLAGS += -DTESSARO_WERROR=ON
endif

.PHONY: run test build deps package windows bench kill-test fuzz build-extras screenshot format clean

run: build
	scripts/run-demo $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j$(JOBS)

deps:
	scripts/install-deps

# tessaro_<version>_amd64.deb in $(PACKAGE_DIR): a Release build without tests, with
# Debian's hardening flags.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package: deps
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DTESSARO_BUILD_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_DIR) -j$(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

# Both programs and their tests cross-built for Windows in $(WINDOWS_DIR) against Qt
# built from Debian's sources (scripts/qt-windows, cached), the installer and the portable
# zip made, the tests run under Wine (installs MinGW-w64, Wine and NSIS first).
windows:
	JOBS=$(JOBS) CMAKE_FLAGS="$(CMAKE_FLAGS)" scripts/windows $(WINDOWS_DIR) $(BUILD_DIR)

bench: deps
	scripts/bench

# Kills a running `tessaro-cli scan` 20 times and compares what it leaves with a plain
# translation; KILL_TEST_CLI=path takes that tessaro-cli instead of building one.
KILL_TEST_CLI ?=
kill-test: deps
	scripts/kill-test $(KILL_TEST_CLI)

# Builds the benchmarks and the fuzz targets without running them (CI).
build-extras: deps
	BENCH_BUILD_ONLY=1 scripts/bench
	FUZZ_BUILD_ONLY=1 scripts/fuzz

fuzz: deps
	scripts/fuzz

screenshot: build
	scripts/screenshot $(BUILD_DIR)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR) $(WINDOWS_DIR)
