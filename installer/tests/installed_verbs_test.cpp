// The shell verbs the installer adds, run as the desktop shell runs them:
// the verb's command from the registry with "%1" replaced by a path that
// holds blanks. The installed program must take that path whole, which
// shows in the quick question it asks (a folder's question is only asked
// when the whole path was taken) and, for a file, in the fragment it
// writes beside it. Runs in the installer tests' prefix, after the silent
// install, under an X server.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/win/resource_ids.h"

namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrelloquin";
constexpr wchar_t kClasses[] = L"Software\\Classes\\";
constexpr DWORD kPatience = 20000;  // ms for a window or an exit under Wine

std::wstring ReadString(HKEY root, const std::wstring& key, const wchar_t* value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return L"<no key " + key + L">";
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof data[0];
  DWORD type = 0;
  const LONG status =
      RegQueryValueExW(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS && type == REG_SZ ? std::wstring(data) : L"<no value>";
}

std::wstring ProgramFolder() {
  return ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation");
}

struct Verb {
  const wchar_t* classKey;
  const wchar_t* name;
  const wchar_t* caption;
  const wchar_t* arguments;  // before the quoted path
};

constexpr Verb kFileSplit{L"*", L"Vantrelloquin.Split", L"Split with Vantrelloquin", L""};
constexpr Verb kFolderSplit{L"Directory", L"Vantrelloquin.Split", L"Split with Vantrelloquin", L""};
constexpr Verb kFolderCab{L"Directory", L"Vantrelloquin.MakeCab", L"Make CAB with Vantrelloquin",
                          L"/makecab "};
constexpr Verb kAssemble001{L"SystemFileAssociations\\.001", L"Vantrelloquin.Assemble",
                            L"Assemble / extract with Vantrelloquin", L"/assext "};
constexpr Verb kAssembleCab{L"SystemFileAssociations\\.cab", L"Vantrelloquin.Assemble",
                            L"Assemble / extract with Vantrelloquin", L"/assext "};

std::wstring VerbKey(const Verb& verb) {
  return std::wstring(kClasses) + verb.classKey + L"\\shell\\" + verb.name;
}

// The command line the shell builds: "%1" replaced by the item's path.
std::wstring ShellCommandLine(const Verb& verb, const std::wstring& path) {
  std::wstring command = ReadString(HKEY_LOCAL_MACHINE, VerbKey(verb) + L"\\command", nullptr);
  const size_t at = command.find(L"%1");
  if (at != std::wstring::npos)
    command.replace(at, 2, path);
  return command;
}

struct WindowSearch {
  DWORD process;
  std::wstring title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (owner != search.process || !IsWindowVisible(window) || search.title != title)
    return TRUE;
  search.found = window;
  return FALSE;
}

// One run of the installed program, ended when the test is done with it.
class ProgramRun {
 public:
  explicit ProgramRun(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_) != FALSE;
  }
  ~ProgramRun() {
    if (!started_)
      return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool Started() const { return started_; }

  // The visible top-level window of the program titled `title`, or null.
  HWND WaitForWindow(const std::wstring& title) const {
    for (DWORD waited = 0; waited < kPatience; waited += 100) {
      WindowSearch search{process_.dwProcessId, title, nullptr};
      EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found)
        return search.found;
      Sleep(100);
    }
    return nullptr;
  }

  // Closes the main window as the user would and waits for the program to end.
  bool Close() const {
    const HWND main = WaitForWindow(L"Vantrelloquin");
    return main && PostMessageW(main, WM_CLOSE, 0, 0) &&
           WaitForSingleObject(process_.hProcess, kPatience) == WAIT_OBJECT_0;
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

std::wstring MessageText(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the message box's text control
  return text;
}

void Press(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

// A folder with blanks in its path, and in the names inside it.
class InstalledVerbsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = std::filesystem::path(temp) / L"vtq verb test";
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / L"my folder");
    std::ofstream(root_ / L"my folder" / L"notes.txt") << "some notes\n";
    std::ofstream(root_ / L"big data.txt") << std::string(40000, 'v');
    std::ofstream(root_ / L"old series.001") << "a first fragment";
    std::ofstream(root_ / L"old archive.cab") << "a cabinet";
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  std::wstring PathOf(const wchar_t* name) const { return (root_ / name).wstring(); }

  // Runs the verb on `item`, expects the quick question `title` with
  // `text`, answers No and closes the program.
  void ExpectQuestionDeclined(const Verb& verb, const wchar_t* item, const std::wstring& title,
                              const std::wstring& text) {
    ProgramRun run(ShellCommandLine(verb, PathOf(item)));
    ASSERT_TRUE(run.Started()) << "cannot start " << ShellCommandLine(verb, PathOf(item));
    const HWND box = run.WaitForWindow(title);
    ASSERT_NE(box, nullptr) << "no question titled " << title;
    EXPECT_EQ(MessageText(box), text);
    Press(box, IDNO);
    EXPECT_TRUE(run.Close());
  }

  std::filesystem::path root_;
};

TEST_F(InstalledVerbsTest, EveryVerbHasItsCaptionAndQuotesThePath) {
  const std::wstring program = L"\"" + ProgramFolder() + L"\\Harrowdel.exe\" ";
  for (const Verb& verb : {kFileSplit, kFolderSplit, kFolderCab, kAssemble001, kAssembleCab}) {
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, VerbKey(verb), nullptr), verb.caption);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, VerbKey(verb) + L"\\command", nullptr),
              program + verb.arguments + L"\"%1\"");
  }
}

TEST_F(InstalledVerbsTest, SplittingAFileWritesItsFirstFragmentBesideIt) {
  ProgramRun run(ShellCommandLine(kFileSplit, PathOf(L"big data.txt")));
  ASSERT_TRUE(run.Started());
  const HWND question = run.WaitForWindow(L"QuickSplit");
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(MessageText(question),
            L"Would you like to split this file right now using the current settings?");
  Press(question, IDYES);
  const HWND sure = run.WaitForWindow(L"Are you sure?");
  ASSERT_NE(sure, nullptr);
  EXPECT_EQ(MessageText(sure), L"This will take up 1 files/disks. Do you still want to proceed?");
  Press(sure, IDOK);
  const std::filesystem::path fragment = root_ / L"big data.001";
  for (DWORD waited = 0; waited < kPatience && !std::filesystem::exists(fragment); waited += 100)
    Sleep(100);
  EXPECT_TRUE(std::filesystem::exists(fragment));
  EXPECT_TRUE(run.Close());
}

TEST_F(InstalledVerbsTest, FolderVerbsAskTheirFolderQuestions) {
  ExpectQuestionDeclined(kFolderSplit, L"my folder", L"QuickSplit",
                         L"Would you like to split this folder right now using the current "
                         L"settings?");
  ExpectQuestionDeclined(kFolderCab, L"my folder", L"QuickCAB",
                         L"Would you like to make the CAB right now using the current settings?");
}

TEST_F(InstalledVerbsTest, AssembleVerbsAskTheAssembleQuestion) {
  const std::wstring text = L"Would you like to assemble / extract this file right now?";
  ExpectQuestionDeclined(kAssemble001, L"old series.001", L"QuickAssemble", text);
  ExpectQuestionDeclined(kAssembleCab, L"old archive.cab", L"QuickAssemble", text);
}

// The help button of the installed program, where no WinHelp file is
// installed, opens the guide in the program's folder in the system's
// browser, which the installer tests' prefix records in the file named by
// VTQ_GUIDE_OPENED (installer-test install).
TEST_F(InstalledVerbsTest, OnlineHelpOpensTheInstalledGuide) {
  const char* record = std::getenv("VTQ_GUIDE_OPENED");
  if (!record)
    GTEST_SKIP() << "VTQ_GUIDE_OPENED names no file for the browser to write";
  std::filesystem::remove(record);
  ProgramRun run(L"\"" + ProgramFolder() + L"\\Harrowdel.exe\"");
  ASSERT_TRUE(run.Started());
  const HWND main = run.WaitForWindow(L"Vantrelloquin");
  ASSERT_NE(main, nullptr);
  PostMessageW(GetDlgItem(main, IDC_cmdHelp), BM_CLICK, 0, 0);
  std::string opened;
  for (DWORD waited = 0; waited < kPatience && opened.empty(); waited += 100) {
    Sleep(100);
    std::ifstream(record) >> opened;
  }
  EXPECT_NE(opened.find("/Vantrelloquin/Vantrelloquin.html"), std::string::npos)
      << "the browser was given [" << opened << "]";
  EXPECT_TRUE(run.Close());
}

// The version the program records at its start, the one the list of
// installed programs shows and the build's are the same.
TEST_F(InstalledVerbsTest, TheInstalledProgramRecordsTheBuildsVersion) {
  ProgramRun run(L"\"" + ProgramFolder() + L"\\Harrowdel.exe\"");
  ASSERT_TRUE(run.Started());
  EXPECT_TRUE(run.Close());
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER,
                       L"Software\\VB and VBA Program Settings\\Quorvelle Vantrelloquin\\"
                       L"Installation",
                       L"Version"),
            VTQ_BUILD_VERSION);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), VTQ_BUILD_VERSION);
}

}  // namespace
