# The two commands a newcomer needs: `make run` and `make test`.
.PHONY: run test fuzz bench screenshot installer installer-screenshots setup build-host build-windows clean
run:
	scripts/run.sh
test:
	scripts/test.sh
setup:
	scripts/setup.sh
build-host: setup
	cmake --preset host >/dev/null && cmake --build --preset host
build-windows: setup
	cmake --preset windows >/dev/null && cmake --build --preset windows
fuzz: build-host
	scripts/fuzz.sh $(FUZZ_SECONDS)
bench: setup
	scripts/bench.sh
	scripts/bench-wine.sh
screenshot: build-windows
	scripts/screenshot.sh build/windows/screenshots/quillmate.png build/windows/Source/Shell/quillmate.exe
# The setup program QuillmateSetup-<version>.exe, from a release build.
installer: setup
	cmake --preset windows-release >/dev/null && cmake --build --preset windows-release --target QuillmateSetup
	@ls -l build/windows-release/Installer/QuillmateSetup-*.exe
# PNGs of the setup program's and the uninstaller's pages.
installer-screenshots: installer
	scripts/installer-screenshots.sh build/windows-release/screenshots/installer \
	  $(firstword $(wildcard build/windows-release/Installer/QuillmateSetup-*.exe))
clean:
	rm -rf build
