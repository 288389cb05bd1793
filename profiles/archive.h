#pragma once
// The object archive that profile files are written in: little-endian integers, length-prefixed
// strings, element counts, and object references that name a class once and number every class
// and record in order of first appearance. The reader meets files from anywhere, so every length
// and count is checked against the bytes left before anything is sized by it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// A class as the archive names it: its name and its schema number.
struct ArchiveClass {
  const char* name;
  uint16_t schema;
};

class ArchiveWriter {
 public:
  void Reserve(size_t n) {
    if (bytes_.size() < n) bytes_.resize(n);
  }
  std::string Bytes() const { return bytes_.substr(0, used_); }
  std::string TakeBytes() {
    bytes_.resize(used_);
    used_ = 0;
    return std::move(bytes_);
  }

  void U8(uint8_t v) { Put(reinterpret_cast<const char*>(&v), 1); }
  void U16(uint16_t v) {
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    Put(b, 2);
  }
  void U32(uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    Put(b, 4);
  }
  // Both take references so that one Serialize routine serves writing and reading.
  bool Int(int32_t& v) {
    U32(static_cast<uint32_t>(v));
    return true;
  }
  bool String(std::string& s);
  // What String writes for `length` bytes of text, prefix included.
  static size_t StringBytes(size_t length);
  void Count(uint32_t n);
  // An empty slot in a list of objects.
  void NullObject() { U16(0); }
  // The tag that starts a new record of `cls`: the class header the first time, its class
  // number after that. The record's body follows from the caller.
  void NewObject(const ArchiveClass& cls);

 private:
  // Written through a pre-sized buffer: std::string::append per integer costs twice the
  // whole save.
  void Put(const char* p, size_t n) {
    if (bytes_.size() - used_ < n) Grow(n);
    std::memcpy(&bytes_[used_], p, n);
    used_ += n;
  }
  void Grow(size_t n);

  std::string bytes_;
  size_t used_ = 0;
  std::vector<std::pair<const char*, uint32_t>> classes_;  // name -> number
  uint32_t nextNumber_ = 1;
};

class ArchiveReader {
 public:
  ArchiveReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool U8(uint8_t& v);
  bool U16(uint16_t& v);
  // Inline: a profile is some 13,000 integers.
  bool U32(uint32_t& v) {
    if (failed_ || Remaining() < 4) return Need(4, "a 32-bit value");
    const uint8_t* p = data_ + pos_;
    v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
        static_cast<uint32_t>(p[3]) << 24;
    pos_ += 4;
    return true;
  }
  bool Int(int32_t& v) {
    uint32_t u = 0;
    if (!U32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
  }
  bool String(std::string& s);
  // An element count, refused when the remaining bytes cannot hold `minBytesEach` per element.
  bool Count(uint32_t& n, size_t minBytesEach);

  enum class ObjectKind { kEmpty, kNew, kExisting };
  // Reads one object reference. kNew: a record of `expected` begins (its body follows) and took
  // the next number; kExisting: `number` is a record read earlier. Anything else is an error.
  bool Object(const ArchiveClass& expected, ObjectKind& kind, uint32_t& number);

  size_t Offset() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }
  bool Failed() const { return failed_; }
  // The first failure's reason, ending with the byte offset where it was found.
  const std::string& Error() const { return error_; }
  // Records the first failure only; later ones are consequences of it.
  bool Fail(const std::string& reason, size_t offset);

 private:
  bool Need(uint64_t n, const char* what);
  bool StringBody(uint32_t length, bool wide, std::string& s);

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
  std::string error_;
  // What each number stands for: a class, or null for a record. Index 0 is the empty slot and
  // never named. Every entry was paid for by a tag and more in the input, so this stays
  // smaller than a small multiple of the file.
  std::vector<const ArchiveClass*> numbers_{nullptr};
};
