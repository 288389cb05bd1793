# Shortcuts; each target does its own set-up (see README.md).
.PHONY: test run bench sim shots readme-shots hxprofiler setup

run:
	tools/run-qmouse

hxprofiler:
	tools/run-hxprofiler

test:
	tools/test-all

bench:
	tools/bench

sim:
	tools/run-hxsim

shots:
	tools/screenshots

readme-shots:
	tools/screenshots --readme

setup:
	tools/build-setup
