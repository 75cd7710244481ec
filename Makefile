# The two commands a newcomer needs: `make run` and `make test`.
.PHONY: run test fuzz bench screenshot setup clean
run:
	scripts/run.sh
test:
	scripts/test.sh
fuzz:
	scripts/fuzz.sh $(FUZZ_SECONDS)
bench:
	scripts/bench.sh
	scripts/bench-wine.sh
screenshot:
	scripts/screenshot.sh build/windows/screenshots/quillmate.png build/windows/Source/Shell/quillmate.exe
setup:
	scripts/setup.sh
clean:
	rm -rf build
