#pragma once
// Integer settings by section and name. The registry holds them in the programs; tests use
// the in-memory store.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or `defaultValue` when it is missing or unreadable.
  virtual int32_t ReadInt(const char* section, const char* name, int32_t defaultValue) = 0;
  virtual bool WriteInt(const char* section, const char* name, int32_t value) = 0;
};

class MemorySettingsStore : public SettingsStore {
 public:
  int32_t ReadInt(const char* section, const char* name, int32_t defaultValue) override;
  bool WriteInt(const char* section, const char* name, int32_t value) override;

  bool Has(const std::string& section, const std::string& name) const;
  // Names in the order they were written (each write appended).
  const std::vector<std::string>& WriteOrder() const { return writeOrder_; }

 private:
  std::map<std::pair<std::string, std::string>, int32_t> values_;
  std::vector<std::string> writeOrder_;
};
