#include "qmouse/settings_store.h"

int32_t MemorySettingsStore::ReadInt(const char* section, const char* name, int32_t defaultValue) {
  auto it = values_.find({section, name});
  return it == values_.end() ? defaultValue : it->second;
}

bool MemorySettingsStore::WriteInt(const char* section, const char* name, int32_t value) {
  values_[{section, name}] = value;
  writeOrder_.emplace_back(name);
  return true;
}

bool MemorySettingsStore::Has(const std::string& section, const std::string& name) const {
  return values_.count({section, name}) != 0;
}
