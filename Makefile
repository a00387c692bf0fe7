# make demo: set up, build, and run the demo host with the plug-in.
# make test: set up, build both targets, and run every test under Wine.
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
