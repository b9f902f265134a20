# The two set-up commands: `make run` and `make test`.
BUILD    ?= build
JOBS     ?= 2
EXAMPLE  ?= WATER
SCRATCH  ?= scratch

.PHONY: all build run test clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# Builds tessen, runs it on examples/$(EXAMPLE).DAT in a scratch folder, answering its
# prompt, and shows the console and the report.
run: build
	rm -rf $(SCRATCH) && mkdir -p $(SCRATCH)
	cp examples/$(EXAMPLE).DAT $(SCRATCH)/
	cd $(SCRATCH) && echo "$(EXAMPLE).DAT" | ../$(BUILD)/tessen; echo "(exit status $$?)"
	@echo "---- report $(SCRATCH)/$(EXAMPLE).OUT ----"
	@tr -d '\r' < $(SCRATCH)/$(EXAMPLE).OUT

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SCRATCH)
