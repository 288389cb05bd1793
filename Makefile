# Shortcuts; each target does its own set-up (see README.md).
.PHONY: test bench sim

test:
	tools/test-all

bench:
	tools/bench

sim:
	tools/run-hxsim
