// The profile reader on arbitrary bytes. Besides crashes and sanitizer reports it checks that
// whatever reads also writes back to bytes that read to the same profile again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "profiles/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Profile profile;
  std::string error;
  if (!profile.FromBytes(data, size, &error)) {
    if (error.empty()) std::abort();  // every refusal carries its reason
    return 0;
  }
  const std::string written = profile.ToBytes();
  Profile again;
  if (!again.FromBytes(reinterpret_cast<const uint8_t*>(written.data()), written.size(), &error)) std::abort();
  if (again.ToBytes() != written) std::abort();
  return 0;
}
