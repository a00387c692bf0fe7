# make demo: set up, build what the demo runs, and run the demo host with the plug-in.
# make test: set up (32-bit Wine included), build both targets, and run both
# targets' suites under Wine, then the fuzz targets.
# make clean: remove everything the commands built (all of it is in build/).
BUILD ?= build

.PHONY: demo test build clean
demo:
	cmake/run-demo.sh $(BUILD)
test:
	cmake/run-tests.sh $(BUILD)
build:
	cmake/setup-machine.sh && cmake/build.sh $(BUILD)
clean:
	rm -rf $(BUILD)
