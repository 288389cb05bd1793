// Settings through the real registry store, and the start-at-boot value in the Run key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmouse/settings.h"
#include "qmouse/texts.h"
#include "qmouse/win/registry_store.h"
#include "qmouse/win/run_key.h"
#include "winui/app.h"

namespace {

class RegistryStore : public testing::Test {
 protected:
  void SetUp() override {
    app_.SetRegistryKey("KorvathTest", "Registry Round Trip");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KorvathTest");
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KorvathTest"); }
  winui::Application app_;
};

TEST_F(RegistryStore, RoundTripAndDefaults) {
  RegistrySettingsStore store(app_);
  Settings first;
  first.Load(store);  // no key at all: every default
  EXPECT_EQ(first.Get(Setting::DwellCommand), kLeftClick);
  EXPECT_EQ(first.Get(Setting::ColorReference), 255);

  first.Set(Setting::XSpeed, 37);
  first.Set(Setting::ColorReference, 0x00FF00FF);
  first.Set(Setting::DwellTime, -3);
  first.Set(Setting::Gestures, 1);
  first.Save(store);

  Settings second;
  second.Load(store);
  for (const SettingRow& row : kSettingRows) EXPECT_EQ(second.Get(row.id), first.Get(row.id)) << row.name;

  // Stored as DWORDs under Software\<company>\<application>\Settings.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\KorvathTest\\Registry Round Trip\\Settings", 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  DWORD type = 0, value = 0, size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(key, "X Speed", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 37u);
  // A value of the wrong type written by hand reads as the default.
  const char text[] = "fast";
  ASSERT_EQ(RegSetValueExA(key, "Y Speed", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(store.ReadInt("Settings", "Y Speed", 10), 10);
}

TEST(RunKey, WriteReadAndDelete) {
  std::vector<std::string> errors;
  auto report = [&](const std::string& t) { errors.push_back(t); };
  WriteStartupAtBoot(false, "", [](const std::string&) {});  // start from no value

  EXPECT_FALSE(ReadStartupAtBoot(report));
  ASSERT_TRUE(WriteStartupAtBoot(true, "qmouse.exe", report));
  EXPECT_TRUE(ReadStartupAtBoot(report));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, texts::kRunKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  char path[64] = {};
  DWORD type = 0, size = sizeof path;
  EXPECT_EQ(RegQueryValueExA(key, texts::kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(path), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(path, "qmouse.exe");  // as given, with its terminating zero
  EXPECT_EQ(size, sizeof "qmouse.exe");
  EXPECT_TRUE(errors.empty());

  ASSERT_TRUE(WriteStartupAtBoot(false, "", report));
  EXPECT_FALSE(ReadStartupAtBoot(report));
  EXPECT_TRUE(errors.empty());

  // Deleting a value that is not there fails with the system's own words.
  EXPECT_FALSE(WriteStartupAtBoot(false, "", report));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], winui::SystemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(errors[0].empty());
}

}  // namespace
