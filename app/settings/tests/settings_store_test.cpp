// The settings store over each realisation of its values: in memory (every
// build) and, on Windows, the real registry of a redirected current user.
#include "app/settings/settings_store.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/code_page.h"
#include "engine/program/batgen.h"

#ifdef _WIN32
#include "app/settings/regging_values.h"
#include "base/tests/win/support/registry_sandbox.h"
#endif

namespace vtq::settings {
namespace {

struct Backend {
  const char* name;
  std::unique_ptr<RegistryValues> (*make)();
  friend void PrintTo(const Backend& b, std::ostream* os) { *os << b.name; }
};

std::unique_ptr<RegistryValues> MakeMemory() {
  return std::make_unique<MemoryValues>();
}
#ifdef _WIN32
std::unique_ptr<RegistryValues> MakeRegging() {
  return std::make_unique<ReggingValues>();
}
#endif

class SettingsStoreTest : public ::testing::TestWithParam<Backend> {
 protected:
#ifdef _WIN32
  vtq::test::RegistrySandbox sandbox_;
#endif
  std::unique_ptr<RegistryValues> values_ = GetParam().make();
  SettingsStore store_{*values_};

  bool NothingStored() {
#ifdef _WIN32
    if (vtq::test::RegistrySandbox::TopLevelKeys() != 0)
      return false;
#endif
    auto* memory = dynamic_cast<MemoryValues*>(values_.get());
    return !memory || memory->Empty();
  }
};

TEST_P(SettingsStoreTest, FirstStartReadsEveryDefaultAndCreatesNothing) {
  EXPECT_EQ(store_.Theme(), 1);
  EXPECT_EQ(store_.ReadProgram(L"Theme"), L"1");
  EXPECT_EQ(store_.ReadProgramNumber(L"Language"), 0);
  EXPECT_EQ(store_.ReadProgram(L"UseSounds"), L"1");
  EXPECT_EQ(store_.ReadProgram(L"UseCompression"), L"0");
  EXPECT_EQ(store_.ReadProgram(L"UseBATGen"), L"0");
  EXPECT_EQ(store_.ReadProgram(L"UseEncryption"), L"0");
  EXPECT_EQ(store_.ReadProgram(L"DefaultPassphrase"), L"");
  EXPECT_EQ(store_.ReadProgram(L"CustomSize"), L"1423");
  EXPECT_EQ(store_.ReadProgramNumber(L"CustomSizeUnits"), 1);
  EXPECT_EQ(store_.ReadProgram(L"MultiSizeEnabled"), L"0");
  EXPECT_EQ(store_.ReadProgram(L"MultiSizeValue"), L"0");
  EXPECT_EQ(store_.ReadProgramNumber(L"MultiSizeUnits"), 5);
  EXPECT_EQ(store_.ReadProgramNumber(L"FragSizePreset"), 1);
  EXPECT_EQ(store_.ReadProgram(L"FragSizeMode"), L"Preset");
  EXPECT_EQ(store_.ReadProgram(L"BATGenIText"),
            L"*** File splitted and BAT assembler created using Quorvelle Vantrelloquin ***\r\n"
            L"    * Cut to fit any disk, joined on any PC: Quorvelle Vantrelloquin *\r\n");
  EXPECT_EQ(store_.ReadProgram(L"BATGenDecomp"), L"1");
  EXPECT_EQ(store_.ReadProgram(L"BATGenDelCabs"), L"0");
  EXPECT_EQ(store_.ReadProgram(L"NoSuchOption"), L"");
  EXPECT_TRUE(NothingStored());
}

TEST_P(SettingsStoreTest, WrittenValuesAreTextUnderTheProgramKey) {
  EXPECT_TRUE(store_.WriteProgram(L"CustomSize", int64_t{2048}));
  EXPECT_TRUE(store_.WriteProgram(L"FragSizeMode", L"Custom"));
  EXPECT_TRUE(store_.WriteProgramFlag(L"UseBATGen", true));
  EXPECT_EQ(store_.ReadProgram(L"UseBATGen"), L"1");
  EXPECT_TRUE(store_.LastError().empty());
  EXPECT_EQ(store_.Read(L"Software\\Quorvelle\\Vantrelloquin", L"CustomSize", L"x"), L"2048");
  EXPECT_EQ(store_.ReadProgramNumber(L"CustomSize"), 2048);
  EXPECT_EQ(store_.ReadProgram(L"FragSizeMode"), L"Custom");
#ifdef _WIN32
  orrin::Registry reg;
  if (GetParam().make == MakeRegging) {
    EXPECT_EQ(reg.GetText(HKEY_CURRENT_USER, L"Software\\Quorvelle\\Vantrelloquin", L"CustomSize"),
              L"2048");
  }
#endif
}

TEST_P(SettingsStoreTest, DecliningThePassphraseRemovesIt) {
  ASSERT_TRUE(store_.WriteProgram(L"DefaultPassphrase", L"open sesame"));
  ASSERT_TRUE(store_.WriteProgram(L"UseEncryption", L"1"));
  EXPECT_TRUE(store_.RemoveProgram(L"DefaultPassphrase"));
  EXPECT_TRUE(store_.WriteProgramFlag(L"UseEncryption", false));
  EXPECT_FALSE(store_.HasProgramValue(L"DefaultPassphrase"));
  EXPECT_EQ(store_.ReadProgram(L"UseEncryption"), L"0");
  // Removing what is not there fails quietly with the system's text.
  EXPECT_FALSE(store_.RemoveProgram(L"DefaultPassphrase"));
  EXPECT_FALSE(store_.LastError().empty());
}

TEST_P(SettingsStoreTest, ThemeFallsBackToTheApplicationSetting) {
  ASSERT_TRUE(store_.WriteAppSetting(L"Quorvelle Vantrelloquin", L"Settings", L"Theme", L"3"));
  EXPECT_EQ(store_.Theme(), 3);
  ASSERT_TRUE(store_.WriteProgram(L"Theme", L"2"));
  EXPECT_EQ(store_.Theme(), 2);
  ASSERT_TRUE(store_.WriteProgram(L"Theme", L"7"));
  EXPECT_EQ(store_.Theme(), 1);
  ASSERT_TRUE(store_.WriteProgram(L"Theme", L"-1"));
  EXPECT_EQ(store_.Theme(), 1);
  ASSERT_TRUE(store_.WriteProgram(L"Theme", L"3.5"));
  EXPECT_EQ(store_.Theme(), 4);
  ASSERT_TRUE(store_.WriteProgram(L"Theme", L"4.5"));
  EXPECT_EQ(store_.Theme(), 4);
}

TEST_P(SettingsStoreTest, ApplicationSettingsLiveUnderTheirOwnKey) {
  ASSERT_TRUE(store_.RecordVersion(2, 3, 0));
  EXPECT_EQ(store_.Read(L"Software\\VB and VBA Program Settings\\Quorvelle Vantrelloquin\\"
                        L"Installation",
                        L"Version", L""),
            L"2.3.0");
  EXPECT_EQ(store_.ReadAppSetting(L"Quorvelle Vantrelloquin", L"Settings", L"Theme", L"1"), L"1");
  EXPECT_FALSE(store_.HasProgramValue(L"Version"));
}

TEST_P(SettingsStoreTest, BatchGeneratorReadsThroughTheStore) {
  StoreSettingsSource source(store_);
  EXPECT_EQ(source.ReadProgramSetting("BATGenDecomp"), "1");
  EXPECT_EQ(source.ReadProgramSetting("BATGenDelCabs"), "0");
  EXPECT_EQ(source.ReadProgramSetting("BATGenIText"), std::string(kDefaultBatIntroText));
  EXPECT_EQ(source.ReadProgramSetting("Unknown"), std::nullopt);
  EXPECT_EQ(BatIntroText(&source), BatIntroText(nullptr));

  ASSERT_TRUE(store_.WriteProgram(L"BATGenIText", L"Disk set \u00e9t\u00e9\r\n"));
  ASSERT_TRUE(store_.WriteProgram(L"BATGenDelCabs", L"1"));
  // UTF-8 inside; the batch file gets the console's code page.
  EXPECT_EQ(BatIntroText(&source), "ECHO Disk set \xC3\xA9t\xC3\xA9\r\n");
  EXPECT_EQ(BatFileBytes(BatIntroText(&source), base::Latin1CodePage()),
            "ECHO Disk set \xE9t\xE9\r\n");
  const std::string text = BatGenText({"pack.cab", 1, false}, &source);
  EXPECT_NE(text.find("del \"pack.cab\" >NUL:\r\n"), std::string::npos);
  EXPECT_FALSE(NothingStored());
}

std::vector<Backend> Backends() {
  std::vector<Backend> all = {{"Memory", MakeMemory}};
#ifdef _WIN32
  all.push_back({"Registry", MakeRegging});
#endif
  return all;
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsStoreTest, ::testing::ValuesIn(Backends()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vtq::settings
