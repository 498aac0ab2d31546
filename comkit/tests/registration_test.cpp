// The registry entries a class of a server gets: the set that COM, script
// clients and the type library viewer look for, in the order written.
#include "comkit/registration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/ansi_text.h"

namespace vtq::comkit {
namespace {

const CLSID kClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
const GUID kLibrary = {
    0xaaaaaaaa, 0xbbbb, 0xcccc, {0xdd, 0xdd, 0xee, 0xee, 0xee, 0xee, 0xee, 0xee}};

HRESULT NoCreation(REFIID, void**) {
  return E_NOTIMPL;
}

const ClassEntry kClasses[] = {{&kClass, L"Widget", NoCreation}};
const ServerDescription kServer{L"Sample32", &kLibrary, 2, 1, kClasses};

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
  ASSERT_EQ(entries.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entries[i].key, expected[i].key) << i;
    EXPECT_EQ(entries[i].name, expected[i].name) << i;
    EXPECT_EQ(entries[i].value, expected[i].value) << i;
  }
}

TEST(Registration, UnregisteringRemovesTheClassKeyAndBothProgIds) {
  const auto keys = ClassKeys(kServer, kClasses[0]);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"CLSID\\{11111111-2222-3333-4444-555555555555}",
                                             L"Sample32.Widget", L"Sample32.Widget.2"}));
}

TEST(Registration, EveryWrittenKeyIsRemovedByUnregistering) {
  const auto keys = ClassKeys(kServer, kClasses[0]);
  for (const auto& entry : ClassEntries(kServer, kClasses[0], L"x.dll")) {
    EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](const std::wstring& top) {
      return entry.key == top || entry.key.starts_with(top + L"\\");
    })) << base::ToAnsi(entry.key);
  }
}

}  // namespace
}  // namespace vtq::comkit
