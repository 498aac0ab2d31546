// Special folders, shortcuts, the most-recently-used list and the help
// registration, with the registry in a sandbox.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "base/utf8_text.h"
#include "base/tests/win/support/registry_sandbox.h"
#include "base/win/restore_guards.h"
#include "engine/tests/support/scratch.h"
#include "helperlib/core/help_registration.h"
#include "helperlib/core/recent_files.h"
#include "helperlib/core/shell_link.h"
#include "helperlib/core/window_place.h"

namespace orrin {
namespace {

std::wstring Wide(const std::string& path) {
  return vtq::base::FromUtf8(path);
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(SystemFoldersTest, WindowsSystemAndSpecialFolders) {
  EXPECT_TRUE(IsFolder(WindowsFolder()));
  EXPECT_TRUE(IsFolder(SystemFolder()));
  EXPECT_EQ(SystemFolder().rfind(WindowsFolder(), 0), 0u);
  EXPECT_NE(WindowsFolder().back(), L'\\');
  for (int id : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_FONTS, CSIDL_PROGRAMS,
                 CSIDL_STARTMENU, CSIDL_COMMON_PROGRAMS}) {
    const std::wstring folder = SpecialFolder(nullptr, id);
    EXPECT_FALSE(folder.empty()) << id;
  }
  EXPECT_EQ(SpecialFolder(nullptr, CSIDL_FONTS), WindowsFolder() + L"\\Fonts");
  EXPECT_EQ(SpecialFolder(nullptr, 0x7F), L"");  // no such folder
  EXPECT_EQ(SpecialFolder(nullptr, -1), L"");
}

TEST(DesktopTest, WorkAreaIsASensibleRectangle) {
  const auto area = DesktopWorkArea();
  ASSERT_TRUE(area);
  EXPECT_GT(area->right - area->left, 0);
  EXPECT_GT(area->bottom - area->top, 0);
  EXPECT_LE(area->right - area->left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
}

TEST(DesktopTest, AnchorsOfTheWorkArea) {
  const RECT area{10, 20, 810, 620};
  const SIZE size{200, 100};
  auto at = [&](Anchor anchor) {
    const POINT p = AnchoredOrigin(size, area, anchor);
    return std::pair{p.x, p.y};
  };
  EXPECT_EQ(at(Anchor::kTopLeft), std::pair(10L, 20L));
  EXPECT_EQ(at(Anchor::kTopRight), std::pair(610L, 20L));
  EXPECT_EQ(at(Anchor::kCenter), std::pair(310L, 270L));
  EXPECT_EQ(at(Anchor::kBottomLeft), std::pair(10L, 520L));
  EXPECT_EQ(at(Anchor::kBottomRight), std::pair(610L, 520L));
  EXPECT_EQ(at(Anchor::kBottomCenter), std::pair(310L, 520L));
  EXPECT_EQ(at(Anchor::kTopCenter), std::pair(310L, 20L));
  EXPECT_EQ(at(Anchor::kCenterLeft), std::pair(10L, 270L));
  EXPECT_EQ(at(Anchor::kCenterRight), std::pair(610L, 270L));
}

class ShellLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com_.Initialised()); }
  vtq::base::win::ScopedCom com_;
  vtq::test::ScratchDir dir_;
};

TEST_F(ShellLinkTest, EveryFieldMakesTheRoundTrip) {
  vtq::test::WriteText(dir_ / "tool.exe", "MZ");
  vtq::test::WriteText(dir_ / "icons.dll", "MZ");
  LinkFields fields;
  fields.target = Wide(dir_ / "tool.exe");
  fields.arguments = L"/quick \"some file.txt\"";
  fields.workingFolder = Wide(dir_.Path());
  fields.workingFolder.pop_back();
  fields.iconFile = Wide(dir_ / "icons.dll");
  fields.iconIndex = 3;
  fields.showCmd = 3;
  fields.hotKey = 1601;  // Ctrl+Alt+A
  fields.description = L"OrrinModules32 - 1.0";
  ASSERT_EQ(CreateLink(Wide(dir_ / "Tool"), fields), LinkError::kNone);
  EXPECT_NE(GetFileAttributesW(Wide(dir_ / "Tool.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
  LinkFields read;
  ASSERT_EQ(ReadLink(Wide(dir_ / "Tool"), read), LinkError::kNone);
  EXPECT_EQ(read.target, fields.target);
  EXPECT_EQ(read.arguments, fields.arguments);
  EXPECT_EQ(read.workingFolder, fields.workingFolder);
  EXPECT_EQ(read.iconFile, fields.iconFile);
  EXPECT_EQ(read.iconIndex, 3);
  EXPECT_EQ(read.showCmd, 3);
  EXPECT_EQ(read.hotKey, 1601);
  EXPECT_EQ(read.description, fields.description);
  // Minimised, normal and no hot key, through a name with its extension.
  fields.showCmd = 7;
  fields.hotKey = 0;
  ASSERT_EQ(CreateLink(Wide(dir_ / "Tool.LNK"), fields), LinkError::kNone);
  ASSERT_EQ(ReadLink(Wide(dir_ / "Tool.lnk"), read), LinkError::kNone);
  EXPECT_EQ(read.showCmd, 7);
  EXPECT_EQ(read.hotKey, 0);
  fields.showCmd = 5;
  ASSERT_EQ(CreateLink(Wide(dir_ / "Tool"), fields), LinkError::kNone);
  ASSERT_EQ(ReadLink(Wide(dir_ / "Tool"), read), LinkError::kNone);
  EXPECT_EQ(read.showCmd, 5);
}

TEST_F(ShellLinkTest, RefusedArgumentsAndMissingLinks) {
  LinkFields fields;
  fields.target = L"C:\\windows\\notepad.exe";
  EXPECT_EQ(CreateLink(L"", fields), LinkError::kEmptyString);
  LinkFields noTarget;
  EXPECT_EQ(CreateLink(Wide(dir_ / "x"), noTarget), LinkError::kEmptyString);
  for (int hotKey : {65, 1536 + '!', 256 + 'A', 1626 + 1, 0x700 + 'A'}) {
    fields.hotKey = hotKey;
    EXPECT_EQ(CreateLink(Wide(dir_ / "x"), fields), LinkError::kBadParameter) << hotKey;
  }
  fields.hotKey = 0;
  fields.showCmd = 1;
  EXPECT_EQ(CreateLink(Wide(dir_ / "x"), fields), LinkError::kBadParameter);
  fields.showCmd = 5;
  fields.iconIndex = -1;
  EXPECT_EQ(CreateLink(Wide(dir_ / "x"), fields), LinkError::kBadParameter);
  EXPECT_EQ(vtq::test::NamesIn(dir_.Path()).size(), 0u);
  fields.iconIndex = 0;
  EXPECT_EQ(CreateLink(Wide(dir_ / "no\\folder\\x"), fields), LinkError::kCouldNotCreateUpdate);
  LinkFields read;
  EXPECT_EQ(ReadLink(Wide(dir_ / "absent"), read), LinkError::kCouldNotCreateUpdate);
  EXPECT_EQ(ReadLink(L"", read), LinkError::kEmptyString);
}

TEST(LinkNamesTest, ExtensionAndHotKeys) {
  EXPECT_EQ(LinkFileName(L"a"), L"a.lnk");
  EXPECT_EQ(LinkFileName(L"a.LnK"), L"a.LnK");
  EXPECT_EQ(LinkFileName(L"a.lnk.txt"), L"a.lnk.txt.lnk");
  for (int hotKey : {0, 1584, 1593, 1601, 1626, 816, 858, 1328, 1370})
    EXPECT_TRUE(IsLinkHotKey(hotKey)) << hotKey;
}

class SandboxedTest : public ::testing::Test {
 protected:
  vtq::test::RegistrySandbox sandbox_;
  Registry reg_;
};

TEST_F(SandboxedTest, RecentFilesNewestFirstWithoutDuplicates) {
  const std::wstring section = L"Software\\Recent";
  for (const wchar_t* file : {L"a.txt", L"b.txt", L"c.txt", L"B.TXT", L"d.txt", L"e.txt"})
    ASSERT_TRUE(AddRecentFile(reg_, HKEY_CURRENT_USER, section, file));
  EXPECT_EQ(RecentFiles(reg_, HKEY_CURRENT_USER, section),
            (std::vector<std::wstring>{L"e.txt", L"d.txt", L"B.TXT", L"c.txt"}));
  ASSERT_TRUE(AddRecentFile(reg_, HKEY_CURRENT_USER, section, L"f.txt", 2));
  EXPECT_EQ(RecentFiles(reg_, HKEY_CURRENT_USER, section),
            (std::vector<std::wstring>{L"f.txt", L"e.txt"}));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, section, L"File3"), std::nullopt);
  EXPECT_FALSE(AddRecentFile(reg_, HKEY_CURRENT_USER, section, L""));
  EXPECT_FALSE(AddRecentFile(reg_, HKEY_CURRENT_USER, section, L"g.txt", 0));
  EXPECT_EQ(RecentFiles(reg_, HKEY_CURRENT_USER, section).size(), 2u);
}

TEST_F(SandboxedTest, HelpRegistrationOnceAndRemovedAgain) {
  vtq::test::ScratchDir dir;
  const std::wstring folder = Wide(dir.Path());
  vtq::test::WriteText(dir / "vb5.cnt", ":Base VB5.HLP\r\n:Index Visual Basic=VB5.HLP");
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, kHelpKey, L"VB5.CNT", folder));
  RegisterHelp(L"C:\\Lib", L"1.0");
  RegisterHelp(L"C:\\Lib", L"1.0");
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, kHelpKey, L"or32_1.0.hlp"), L"C:\\Lib");
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, kHelpKey, L"or32_1.0.cnt"), L"C:\\Lib");
  const auto bytes = vtq::test::ReadBytes(dir / "vb5.cnt");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            ":Base VB5.HLP\r\n:Index Visual Basic=VB5.HLP\r\n:INDEX ORRINMODULES32 1.0=OR32\r\n");
  const auto backup = vtq::test::ReadBytes(dir / "vb5.cn1");
  EXPECT_EQ(std::string(backup.begin(), backup.end()),
            ":Base VB5.HLP\r\n:Index Visual Basic=VB5.HLP");
  EXPECT_TRUE(RemoveHelp(L"1.0"));
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, kHelpKey, L"or32_1.0.hlp"), std::nullopt);
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, kHelpKey, L"or32_1.0.cnt"), std::nullopt);
  const auto after = vtq::test::ReadBytes(dir / "vb5.cnt");
  EXPECT_EQ(std::string(after.begin(), after.end()),
            ":Base VB5.HLP\r\n:Index Visual Basic=VB5.HLP\r\n");
  EXPECT_TRUE(RemoveHelp(L"1.0"));  // nothing left to remove
}

TEST_F(SandboxedTest, HelpRegistrationSkipsWhatItCannotWrite) {
  // No contents file known: only the values.
  RegisterHelp(L"C:\\Lib", L"1.0");
  EXPECT_EQ(reg_.GetText(HKEY_CURRENT_USER, kHelpKey, L"or32_1.0.hlp"), L"C:\\Lib");
  // A contents file that may not be written (another program holds it
  // without sharing writes) stays as it is.
  vtq::test::ScratchDir dir;
  vtq::test::WriteText(dir / "vb5.cnt", ":Base VB5.HLP");
  const std::wstring cnt = Wide(dir / "vb5.cnt");
  const HANDLE held =
      CreateFileW(cnt.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, kHelpKey, L"VB5.CNT", Wide(dir.Path())));
  RegisterHelp(L"C:\\Lib", L"1.0");
  CloseHandle(held);
  const auto bytes = vtq::test::ReadBytes(dir / "vb5.cnt");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), ":Base VB5.HLP");
  // A contents folder that does not exist.
  ASSERT_TRUE(reg_.SetText(HKEY_CURRENT_USER, kHelpKey, L"VB5.CNT", L"Q:\\nowhere"));
  RegisterHelp(L"C:\\Lib", L"1.0");
  EXPECT_TRUE(RemoveHelp(L"1.0"));
}

}  // namespace
}  // namespace orrin
