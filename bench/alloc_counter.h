#pragma once
// Heap allocations made by this program so far; linked into benchmarks that must show a
// hot path allocates nothing.
long AllocationCount();
