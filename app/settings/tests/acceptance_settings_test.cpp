// Outside-view checks of the settings store against the registry itself:
// values placed and read with the system's own calls at the two key paths
// the program uses, and the batch generator reading its settings from there.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/settings/regging_values.h"
#include "app/settings/settings_store.h"
#include "engine/program/batgen.h"
#include "base/tests/win/support/registry_sandbox.h"

namespace vtq::settings {
namespace {

constexpr wchar_t kProgram[] = L"Software\\Quorvelle\\Vantrelloquin";
constexpr wchar_t kAppSettings[] =
    L"Software\\VB and VBA Program Settings\\Quorvelle Vantrelloquin";

void Put(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
}

void PutNumber(const std::wstring& key, const wchar_t* name, DWORD number) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(handle);
}

// The stored text and its type, or type REG_NONE when it is missing.
std::pair<DWORD, std::wstring> Get(const std::wstring& key, const wchar_t* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return {REG_NONE, L""};
  wchar_t buffer[512] = {};
  DWORD type = REG_NONE, size = sizeof buffer - sizeof(wchar_t);
  if (RegQueryValueExW(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS) {
    type = REG_NONE;
  }
  RegCloseKey(handle);
  return {type, buffer};
}

class SettingsAcceptance : public ::testing::Test {
 protected:
  vtq::test::RegistrySandbox sandbox_;
  ReggingValues values_;
  SettingsStore store_{values_};
  StoreSettingsSource source_{store_};
};

TEST_F(SettingsAcceptance, WritesAreTextUnderTheProgramKey) {
  EXPECT_TRUE(store_.WriteProgram(L"CustomSize", int64_t{2048}));
  EXPECT_TRUE(store_.WriteProgramFlag(L"UseSounds", false));
  EXPECT_TRUE(store_.WriteProgram(L"FragSizeMode", L"Autofill"));
  EXPECT_EQ(Get(kProgram, L"CustomSize"), (std::pair<DWORD, std::wstring>{REG_SZ, L"2048"}));
  EXPECT_EQ(Get(kProgram, L"UseSounds"), (std::pair<DWORD, std::wstring>{REG_SZ, L"0"}));
  EXPECT_EQ(Get(kProgram, L"FragSizeMode"), (std::pair<DWORD, std::wstring>{REG_SZ, L"Autofill"}));
  EXPECT_TRUE(store_.RecordVersion(4, 0, 17));
  EXPECT_EQ(Get(std::wstring(kAppSettings) + L"\\Installation", L"Version"),
            (std::pair<DWORD, std::wstring>{REG_SZ, L"4.0.17"}));
}

TEST_F(SettingsAcceptance, ReadsWhatTheRegistryHolds) {
  Put(kProgram, L"CustomSize", L" 700 kb");
  PutNumber(kProgram, L"FragSizePreset", 3);  // a number stored by another hand
  EXPECT_EQ(store_.ReadProgramNumber(L"CustomSize"), 700);
  EXPECT_EQ(store_.ReadProgramNumber(L"FragSizePreset"), 3);
  EXPECT_EQ(store_.ReadProgram(L"Language"), L"0");  // still missing: its default
}

TEST_F(SettingsAcceptance, ThemeFallsBackToTheApplicationSettingThere) {
  Put(std::wstring(kAppSettings) + L"\\Settings", L"Theme", L"3");
  EXPECT_EQ(store_.Theme(), 3);
  Put(kProgram, L"Theme", L"0");
  EXPECT_EQ(store_.Theme(), 0);
  // Only the program key's value is written; the application setting stays.
  EXPECT_EQ(Get(std::wstring(kAppSettings) + L"\\Settings", L"Theme").second, L"3");
}

TEST_F(SettingsAcceptance, TheBatchGeneratorReadsTheProgramKey) {
  Put(kProgram, L"BATGenIText", L"Disk one\r\nDisk two\r\n");
  Put(kProgram, L"BATGenDecomp", L"0");
  Put(kProgram, L"BATGenDelCabs", L"1");
  std::string text = BatGenText({"work.cab", 2, true}, &source_);
  EXPECT_NE(text.find("\r\n\r\nECHO Disk one\r\nECHO Disk two\r\nECHO Assembling fragments into "
                      "work.cab\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("extract"), std::string::npos);
  EXPECT_EQ(text.find("del "), std::string::npos);

  Put(kProgram, L"BATGenDecomp", L"1");
  text = BatGenText({"work.cab", 2, true}, &source_);
  EXPECT_NE(text.find("echo Attempting self-extraction....\r\n"
                      "extract /E /L \"work\" \"work.cab\" >NUL:\r\n"
                      "del \"work.cab\" >NUL:\r\n"
                      "ECHO Done!\r\n:2\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vtq::settings
#endif
