// The profile reader on arbitrary bytes. Besides crashes and sanitizer reports it checks that
// whatever reads also saves, through Save itself, to a file that reads to the same profile.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "profiles/profile.h"

namespace {

// One file per fuzzing process, removed after every save: libFuzzer ends without running
// exit handlers.
const std::string& SavedFile() {
  static const std::string name =
      (std::filesystem::temp_directory_path() / ("profile_fuzz_" + std::to_string(::getpid()) + ".cpf")).string();
  return name;
}

[[noreturn]] void Fail(const char* what, const std::string& error) {
  std::fprintf(stderr, "%s: %s\n", what, error.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Profile profile;
  std::string error;
  if (!profile.FromBytes(data, size, &error)) {
    if (error.empty()) std::abort();  // every refusal carries its reason
    return 0;
  }
  if (!profile.Save(SavedFile(), nullptr, &error)) Fail("a profile that loaded does not save", error);
  Profile again;
  const bool loaded = again.Load(SavedFile(), &error);
  std::remove(SavedFile().c_str());
  if (!loaded) Fail("a saved profile does not load", error);
  if (again.ToBytes() != profile.ToBytes()) Fail("a saved profile loads as another", "");
  return 0;
}
