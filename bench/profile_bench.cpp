// Loading and saving the default profile, from and to memory and through a temporary file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "profiles/profile.h"

namespace {

void BM_ProfileLoadSaveMemory(benchmark::State& state) {
  const std::string bytes = Profile().ToBytes();
  Profile p;
  for (auto _ : state) {
    if (!p.FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) state.SkipWithError("load failed");
    std::string out = p.ToBytes();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()) * 2);
}
BENCHMARK(BM_ProfileLoadSaveMemory);

void BM_ProfileLoadSaveFile(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("profile_bench_" + std::to_string(::getpid()) + ".cpf")).string();
  Profile p;
  if (!p.Save(path)) state.SkipWithError("save failed");
  for (auto _ : state) {
    if (!p.Load(path) || !p.Save(path)) state.SkipWithError("load or save failed");
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_ProfileLoadSaveFile);

}  // namespace

BENCHMARK_MAIN();
