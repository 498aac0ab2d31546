// The registry entries a class of a server gets: the set that COM, script
// clients and the type library viewer look for, in the order written, and
// for a control the keys containers look for; written into a sandboxed
// registry and removed from it without a trace.
#include "comkit/registration.h"

#include <oleidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "base/utf8_text.h"
#include "base/tests/win/support/registry_sandbox.h"

namespace vtq::comkit {
namespace {

const CLSID kClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
const GUID kLibrary = {
    0xaaaaaaaa, 0xbbbb, 0xcccc, {0xdd, 0xdd, 0xee, 0xee, 0xee, 0xee, 0xee, 0xee}};

HRESULT NoCreation(REFIID, void**) {
  return E_NOTIMPL;
}

const CLSID kControlClass = {
    0x11111112, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
// 131473 in the registry.
const ControlDescription kGauge{OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                    OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                    OLEMISC_SETCLIENTSITEFIRST,
                                7};

const ClassEntry kClasses[] = {{&kClass, L"Widget", NoCreation}};
const ServerDescription kServer{L"Sample32", &kLibrary, 2, 1, kClasses};
const ClassEntry kClassesWithControl[] = {{&kClass, L"Widget", NoCreation},
                                          {&kControlClass, L"Gauge", NoCreation, &kGauge}};
const ServerDescription kControlServer{L"Sample32", &kLibrary, 2, 1, kClassesWithControl};

void ExpectEntries(const std::vector<RegistryEntry>& entries,
                   const std::vector<RegistryEntry>& expected) {
  ASSERT_EQ(entries.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entries[i].key, expected[i].key) << i;
    EXPECT_EQ(entries[i].name, expected[i].name) << i;
    EXPECT_EQ(entries[i].value, expected[i].value) << i;
  }
}

// A text value as the sandboxed registry holds it; nothing when the value
// (or its key) is not there.
std::optional<std::wstring> ValueIn(HKEY root, const std::wstring& key, const std::wstring& name) {
  wchar_t text[512] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ, nullptr,
                   text, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text);
}

TEST(Registration, EveryValueOfAClassInOrder) {
  const auto entries = ClassEntries(kServer, kClasses[0], L"C:\\Lib\\sample.dll");
  const std::wstring key = L"CLSID\\{11111111-2222-3333-4444-555555555555}";
  const std::vector<RegistryEntry> expected = {
      {key, L"", L"Sample32.Widget"},
      {key + L"\\InprocServer32", L"", L"C:\\Lib\\sample.dll"},
      {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {key + L"\\ProgID", L"", L"Sample32.Widget.2"},
      {key + L"\\VersionIndependentProgID", L"", L"Sample32.Widget"},
      {key + L"\\TypeLib", L"", L"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"},
      {key + L"\\Version", L"", L"2.1"},
      {L"Sample32.Widget", L"", L"Sample32.Widget"},
      {L"Sample32.Widget\\CLSID", L"", L"{11111111-2222-3333-4444-555555555555}"},
      {L"Sample32.Widget\\CurVer", L"", L"Sample32.Widget.2"},
      {L"Sample32.Widget.2", L"", L"Sample32.Widget"},
      {L"Sample32.Widget.2\\CLSID", L"", L"{11111111-2222-3333-4444-555555555555}"},
  };
  ExpectEntries(entries, expected);
}

TEST(Registration, AControlAddsTheKeysContainersLookFor) {
  const auto entries = ClassEntries(kControlServer, kClassesWithControl[1], L"C:\\Lib\\sample.ocx");
  const std::wstring key = L"CLSID\\{11111112-2222-3333-4444-555555555555}";
  const std::vector<RegistryEntry> expected = {
      {key, L"", L"Sample32.Gauge"},
      {key + L"\\InprocServer32", L"", L"C:\\Lib\\sample.ocx"},
      {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {key + L"\\ProgID", L"", L"Sample32.Gauge.2"},
      {key + L"\\VersionIndependentProgID", L"", L"Sample32.Gauge"},
      {key + L"\\TypeLib", L"", L"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"},
      {key + L"\\Version", L"", L"2.1"},
      {L"Sample32.Gauge", L"", L"Sample32.Gauge"},
      {L"Sample32.Gauge\\CLSID", L"", L"{11111112-2222-3333-4444-555555555555}"},
      {L"Sample32.Gauge\\CurVer", L"", L"Sample32.Gauge.2"},
      {L"Sample32.Gauge.2", L"", L"Sample32.Gauge"},
      {L"Sample32.Gauge.2\\CLSID", L"", L"{11111112-2222-3333-4444-555555555555}"},
      {key + L"\\Control", L"", L""},
      {key + L"\\Programmable", L"", L""},
      {key + L"\\MiscStatus", L"", L"0"},
      {key + L"\\MiscStatus\\1", L"", L"131473"},
      {key + L"\\ToolboxBitmap32", L"", L"C:\\Lib\\sample.ocx, 7"},
      {key + L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", L"", L""},
  };
  ExpectEntries(entries, expected);
}

TEST(Registration, UnregisteringRemovesTheClassKeyAndBothProgIds) {
  const auto keys = ClassKeys(kServer, kClasses[0]);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"CLSID\\{11111111-2222-3333-4444-555555555555}",
                                             L"Sample32.Widget", L"Sample32.Widget.2"}));
}

TEST(Registration, EveryWrittenKeyIsRemovedByUnregistering) {
  for (const auto& cls : kClassesWithControl) {
    const auto keys = ClassKeys(kControlServer, cls);
    for (const auto& entry : ClassEntries(kControlServer, cls, L"x.dll")) {
      EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](const std::wstring& top) {
        return entry.key == top || entry.key.starts_with(top + L"\\");
      })) << base::ToUtf8(entry.key);
    }
  }
}

// The same table written for real, below a redirected HKEY_CURRENT_USER.
class RegistrationInSandboxTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 0u); }

 private:
  vtq::test::RegistrySandbox sandbox_;
};

TEST_F(RegistrationInSandboxTest, EveryValueOfEveryClassIsWrittenAsTheTableSays) {
  ASSERT_EQ(WriteClasses(HKEY_CURRENT_USER, kControlServer, L"C:\\Lib\\sample.ocx"), S_OK);
  for (const auto& cls : kClassesWithControl) {
    for (const auto& entry : ClassEntries(kControlServer, cls, L"C:\\Lib\\sample.ocx")) {
      if (entry.name.empty() && entry.value.empty())
        continue;  // a bare key: below
      EXPECT_EQ(ValueIn(HKEY_CURRENT_USER, entry.key, entry.name), entry.value)
          << base::ToUtf8(entry.key) << " " << base::ToUtf8(entry.name);
    }
  }
  const std::wstring control = L"CLSID\\{11111112-2222-3333-4444-555555555555}";
  EXPECT_EQ(ValueIn(HKEY_CURRENT_USER, control + L"\\MiscStatus\\1", L""), L"131473");
  for (const wchar_t* bare :
       {L"\\Control", L"\\Programmable",
        L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}"}) {
    EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(control + bare)) << base::ToUtf8(bare);
    EXPECT_EQ(ValueIn(HKEY_CURRENT_USER, control + bare, L""), std::nullopt)
        << "a bare key has no default value: " << base::ToUtf8(bare);
  }
  const std::wstring plain = L"CLSID\\{11111111-2222-3333-4444-555555555555}";
  EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(plain + L"\\InprocServer32"));
  EXPECT_FALSE(vtq::test::RegistrySandbox::KeyExists(plain + L"\\Control"))
      << "a plain automation class is no control";
  EXPECT_FALSE(vtq::test::RegistrySandbox::KeyExists(plain + L"\\MiscStatus"));
}

TEST_F(RegistrationInSandboxTest, RemovingLeavesNothingBehind) {
  ASSERT_EQ(WriteClasses(HKEY_CURRENT_USER, kControlServer, L"C:\\Lib\\sample.ocx"), S_OK);
  // CLSID, and both ProgIDs of each class.
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 5u);
  RemoveClasses(HKEY_CURRENT_USER, kControlServer);
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 1u) << "the CLSID key itself stays";
  EXPECT_FALSE(
      vtq::test::RegistrySandbox::KeyExists(L"CLSID\\{11111112-2222-3333-4444-555555555555}"));
  EXPECT_FALSE(
      vtq::test::RegistrySandbox::KeyExists(L"CLSID\\{11111111-2222-3333-4444-555555555555}"));
}

TEST_F(RegistrationInSandboxTest, RemovingWhatWasNeverWrittenChangesNothing) {
  RemoveClasses(HKEY_CURRENT_USER, kControlServer);
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 0u);
  ASSERT_EQ(WriteClasses(HKEY_CURRENT_USER, kServer, L"x.dll"), S_OK);
  RemoveClasses(HKEY_CURRENT_USER, kControlServer);
  RemoveClasses(HKEY_CURRENT_USER, kControlServer);
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 1u);
}

}  // namespace
}  // namespace vtq::comkit
