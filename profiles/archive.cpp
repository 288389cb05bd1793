#include "profiles/archive.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint16_t kBigTag = 0x7FFF;  // a uint32 follows: class number with the top bit, else record
constexpr uint32_t kBigClassBit = 0x80000000u;
constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kWideMark = 0xFFFE;
constexpr uint16_t kLength32 = 0xFFFF;
constexpr uint16_t kCount32 = 0xFFFF;

}  // namespace

// ---- writing ----

void ArchiveWriter::Grow(size_t n) { bytes_.resize(std::max(bytes_.size() * 2, std::max(used_ + n, size_t{256}))); }

// Narrow strings only: the wide form exists for files from elsewhere and is read, not written.
bool ArchiveWriter::String(std::string& s) {
  const size_t n = s.size();
  if (n < kLongLength) {
    U8(static_cast<uint8_t>(n));
  } else if (n < kWideMark) {
    U8(kLongLength);
    U16(static_cast<uint16_t>(n));
  } else {
    U8(kLongLength);
    U16(kLength32);
    U32(static_cast<uint32_t>(n));
  }
  if (!s.empty()) Put(s.data(), s.size());
  return true;
}

size_t ArchiveWriter::StringBytes(size_t length) {
  return length + (length < kLongLength ? 1 : length < kWideMark ? 3 : 7);
}

void ArchiveWriter::Count(uint32_t n) {
  if (n < kCount32) {
    U16(static_cast<uint16_t>(n));
  } else {
    U16(kCount32);
    U32(n);
  }
}

void ArchiveWriter::NewObject(const ArchiveClass& cls) {
  uint32_t classNumber = 0;
  for (const auto& known : classes_)
    if (std::strcmp(known.first, cls.name) == 0) classNumber = known.second;
  if (classNumber == 0) {
    const size_t nameLength = std::strlen(cls.name);
    U16(kNewClassTag);
    U16(cls.schema);
    U16(static_cast<uint16_t>(nameLength));
    Put(cls.name, nameLength);
    classes_.emplace_back(cls.name, nextNumber_++);
  } else if (classNumber < kBigTag) {
    U16(static_cast<uint16_t>(kClassTagBit | classNumber));
  } else {
    U16(kBigTag);
    U32(kBigClassBit | classNumber);
  }
  ++nextNumber_;  // the record's own number
}

// ---- reading ----

bool ArchiveReader::Fail(const std::string& reason, size_t offset) {
  if (!failed_) {
    failed_ = true;
    error_ = reason + " (at byte " + std::to_string(offset) + ")";
  }
  return false;
}

bool ArchiveReader::Need(uint64_t n, const char* what) {
  if (failed_) return false;
  if (n <= Remaining()) return true;
  return Fail(std::string("file ends early in ") + what + ": " + std::to_string(n) + " bytes needed, " +
                  std::to_string(Remaining()) + " left",
              pos_);
}

bool ArchiveReader::U8(uint8_t& v) {
  if (!Need(1, "a byte")) return false;
  v = data_[pos_++];
  return true;
}

bool ArchiveReader::U16(uint16_t& v) {
  if (!Need(2, "a 16-bit value")) return false;
  v = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
  pos_ += 2;
  return true;
}

bool ArchiveReader::String(std::string& s) {
  const size_t start = pos_;
  bool wide = false;
  uint8_t shortLength;
  if (!U8(shortLength)) return false;
  uint32_t length = shortLength;
  if (shortLength == kLongLength) {
    uint16_t mid;
    if (!U16(mid)) return false;
    if (mid == kWideMark) {
      // A wide string: the real prefix follows, counting characters.
      wide = true;
      if (!U8(shortLength)) return false;
      length = shortLength;
      if (shortLength == kLongLength) {
        if (!U16(mid)) return false;
        if (mid == kWideMark) return Fail("string marked wide twice", start);
      }
    }
    if (shortLength == kLongLength) {
      length = mid;
      if (mid == kLength32 && !U32(length)) return false;
    }
  }
  return StringBody(length, wide, s);
}

// Wide text becomes 8-bit text portably: characters below 256 stay as they are (they are the
// Latin-1 characters), every other character, a surrogate pair counting as one, becomes '?'.
bool ArchiveReader::StringBody(uint32_t length, bool wide, std::string& s) {
  const uint64_t bytes = wide ? 2 * uint64_t{length} : length;
  if (!Need(bytes, wide ? "a wide string" : "a string")) return false;
  const uint8_t* p = data_ + pos_;
  pos_ += static_cast<size_t>(bytes);
  s.clear();
  if (length == 0) return true;
  if (!wide) {
    const void* zero = std::memchr(p, 0, length);
    s.assign(reinterpret_cast<const char*>(p), zero ? static_cast<const uint8_t*>(zero) - p : length);
    return true;
  }
  for (uint32_t i = 0; i < length; ++i) {
    const unsigned unit = p[2 * i] | p[2 * i + 1] << 8;
    if (unit == 0) break;
    if (unit < 0x100) {
      s.push_back(static_cast<char>(unit));
    } else {
      s.push_back('?');
      const bool highSurrogate = unit >= 0xD800 && unit < 0xDC00;
      if (highSurrogate && i + 1 < length) {
        const unsigned next = p[2 * i + 2] | p[2 * i + 3] << 8;
        if (next >= 0xDC00 && next < 0xE000) ++i;
      }
    }
  }
  return true;
}

bool ArchiveReader::Count(uint32_t& n, size_t minBytesEach) {
  const size_t start = pos_;
  uint16_t shortCount;
  if (!U16(shortCount)) return false;
  n = shortCount;
  if (shortCount == kCount32 && !U32(n)) return false;
  if (minBytesEach != 0 && n > Remaining() / minBytesEach)
    return Fail("count " + std::to_string(n) + " needs at least " + std::to_string(n * uint64_t{minBytesEach}) +
                    " bytes, " + std::to_string(Remaining()) + " left",
                start);
  return true;
}

bool ArchiveReader::Object(const ArchiveClass& expected, ObjectKind& kind, uint32_t& number) {
  const size_t start = pos_;
  uint16_t tag;
  if (!U16(tag)) return false;
  if (tag == 0) {
    kind = ObjectKind::kEmpty;
    number = 0;
    return true;
  }

  uint32_t classNumber = 0;
  bool isClass = false;
  if (tag == kNewClassTag) {
    uint16_t schema, nameLength;
    if (!U16(schema) || !U16(nameLength) || !Need(nameLength, "a class name")) return false;
    const std::string name(reinterpret_cast<const char*>(data_ + pos_), nameLength);
    pos_ += nameLength;
    if (name != expected.name)
      return Fail("class \"" + name + "\" where \"" + expected.name + "\" was expected", start);
    if (schema != expected.schema)
      return Fail("class \"" + name + "\" has schema " + std::to_string(schema) + ", expected " +
                      std::to_string(expected.schema),
                  start);
    numbers_.push_back(&expected);
    classNumber = static_cast<uint32_t>(numbers_.size() - 1);
    isClass = true;
  } else if (tag & kClassTagBit) {
    classNumber = tag & ~kClassTagBit;
    isClass = true;
  } else if (tag == kBigTag) {
    uint32_t big = 0;
    if (!U32(big)) return false;
    isClass = (big & kBigClassBit) != 0;
    number = big & ~kBigClassBit;
    if (isClass) classNumber = number;
  } else {
    number = tag;
  }

  if (isClass) {
    if (classNumber == 0 || classNumber >= numbers_.size() || numbers_[classNumber] == nullptr)
      return Fail("unknown class number " + std::to_string(classNumber), start);
    if (std::strcmp(numbers_[classNumber]->name, expected.name) != 0)
      return Fail(std::string("record of class \"") + numbers_[classNumber]->name + "\" where \"" + expected.name +
                      "\" was expected",
                  start);
    numbers_.push_back(nullptr);
    kind = ObjectKind::kNew;
    number = static_cast<uint32_t>(numbers_.size() - 1);
    return true;
  }
  if (number == 0 || number >= numbers_.size())
    return Fail("reference to record " + std::to_string(number) + ", which was not read yet", start);
  if (numbers_[number] != nullptr)
    return Fail("reference to number " + std::to_string(number) + ", which is a class, not a record", start);
  kind = ObjectKind::kExisting;
  return true;
}
