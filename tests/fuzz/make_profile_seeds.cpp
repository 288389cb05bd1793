// Writes the profile fuzzer's seeds into the folder given: files our own writer makes.
#include <cstdio>
#include <fstream>
#include <string>

#include "profiles/profile.h"
#include "tests/support/sample_profiles.h"

namespace {

bool Write(const std::string& dir, const char* name, const Profile& p) {
  std::ofstream out(dir + "/" + name, std::ios::binary | std::ios::trunc);
  const std::string bytes = p.ToBytes();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_profile_seeds FOLDER\n");
    return 2;
  }
  const std::string dir = argv[1];
  Profile standard;

  Profile count16;
  count16.maps.resize(kMapCount);

  const Profile populated = Populated();

  const bool ok = Write(dir, "default.cpf", standard) && Write(dir, "count16.cpf", count16) &&
                  Write(dir, "populated.cpf", populated);
  return ok ? 0 : 1;
}
