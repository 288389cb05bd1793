#pragma once
// Settings in the current user's registry, under the application's root key.
#include "qmouse/settings_store.h"
#include "winui/app.h"

class RegistrySettingsStore : public SettingsStore {
 public:
  explicit RegistrySettingsStore(const winui::Application& app) : app_(app) {}
  int32_t ReadInt(const char* section, const char* name, int32_t defaultValue) override {
    return app_.GetProfileInt(section, name, defaultValue);
  }
  bool WriteInt(const char* section, const char* name, int32_t value) override {
    return app_.WriteProfileInt(section, name, value);
  }

 private:
  const winui::Application& app_;
};
