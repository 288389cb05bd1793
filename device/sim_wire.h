#pragma once
// Wire format between a link's pipe port and the tracker simulator: one message per request,
// one message per answer, on a message-mode pipe.
#include <cstdint>

namespace simwire {

// First message on every new link. The simulator answers ok while the tracker is plugged,
// so an open of an unplugged tracker fails like discovery of an absent one.
constexpr uint32_t kHello = 0xFFFFFFFFu;

struct Request {
  uint32_t code;
  uint32_t outputSize;
};

struct ReplyHeader {
  uint32_t ok;     // 1 when the request succeeded
  uint32_t bytes;  // bytes of answer that follow
};

// The 64-bit control-panel extension talks to the 32-bit simulator: one layout in both.
static_assert(sizeof(Request) == 8 && sizeof(ReplyHeader) == 8, "same wire in 32 and 64 bits");

// Largest answer any request has (the fractional record is 40 bytes).
constexpr uint32_t kMaxOutput = 64;
constexpr uint32_t kMaxReply = sizeof(ReplyHeader) + kMaxOutput;

}  // namespace simwire
