# Shortcuts; each target does its own set-up (see README.md).
.PHONY: test run bench sim shots

run:
	tools/run-qmouse

test:
	tools/test-all

bench:
	tools/bench

sim:
	tools/run-hxsim

shots:
	tools/screenshots
