# Shortcuts; each target does its own set-up (see README.md).
.PHONY: test run bench sim

run:
	tools/run-qmouse

test:
	tools/test-all

bench:
	tools/bench

sim:
	tools/run-hxsim
