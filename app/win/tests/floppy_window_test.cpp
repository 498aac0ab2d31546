// The main window's commands from end to end on a simulated 1.44 MB floppy
// drive: the buttons clicked through the window, its message boxes answered
// as a user at the drive would (a disk taken out goes onto a shelf, a disk
// put in comes back from it), the passphrase dialog typed into, and what
// lands on the disks read back byte for byte. The drive is a tmpfs of
// 1,474,560 bytes that the CTest fixture simulated_floppy mounts and maps
// to a removable drive letter (scripts/simulated-floppy).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/operations/tests/recording_prompts.h"
#include "app/operations/window_events.h"
#include "app/operations/error_dialog.h"
#include "app/win/main_window.h"
#include "app/win/main_window_controller.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/shell_double.h"
#include "app/win/tests/window_harness.h"
#include "app/win/window_services.h"
#include "base/ansi_text.h"
#include "base/win/restore_guards.h"
#include "engine/tests/support/platform_doubles.h"
#include "engine/tests/support/scratch.h"
#include "engine/tests/support/unix_shell.h"
#include "wingui/controls.h"

namespace vtq::app {
namespace {

namespace fs = std::filesystem;
using test::Click;
using vtq::test::PatternBytes;
using vtq::test::ReadBytes;
using vtq::test::ShownBox;
using vtq::test::WriteBytes;

constexpr uint64_t kFloppyBytes = 1474560;

// The floppy drive and its shelf of disks taken out of it. A disk is the
// set of files on the medium; changing disks moves them between the medium
// and shelf\diskN, so the drive keeps one medium of one size, as a real
// drive does.
class FloppyDrive {
 public:
  // Why there is no floppy here; empty when there is one.
  static std::string Unavailable() {
    const char* letter = std::getenv("VTQ_FLOPPY_DRIVE");
    const char* dir = std::getenv("VTQ_FLOPPY_DIR");
    if (letter == nullptr || dir == nullptr)
      return "no simulated floppy: run these cases through ctest, whose fixture "
             "simulated_floppy sets it up";
    std::ifstream statusFile(vtq::test::WindowsNameOfUnixPath(std::string(dir) + "/status"));
    std::string status;
    std::getline(statusFile, status);
    if (status != "ready")
      return "no simulated floppy: " + (status.empty() ? "its set-up did not run" : status);
    const std::string root = std::string(letter) + "\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_REMOVABLE)
      return "no simulated floppy: " + root + " is not a removable drive";
    return {};
  }

  FloppyDrive()
      : root_(std::string(std::getenv("VTQ_FLOPPY_DRIVE")) + "\\"),
        shelf_(vtq::test::WindowsNameOfUnixPath(std::string(std::getenv("VTQ_FLOPPY_DIR")) +
                                                "/shelf")) {
    Erase(root_);
    Erase(shelf_);
  }
  ~FloppyDrive() {
    try {
      Erase(root_);
    } catch (const fs::filesystem_error&) {
      // The next case empties the drive before it starts.
    }
  }

  const std::string& Root() const { return root_; }
  std::string operator/(const std::string& name) const { return root_ + name; }
  unsigned DriveNumber() const { return static_cast<unsigned>(root_[0] - 'A'); }
  int Current() const { return current_; }

  // The disk in the drive goes onto the shelf and `number` comes in: from
  // the shelf when it was in before, else a fresh empty disk.
  void Insert(int number) {
    const std::string out = DiskFolder(current_);
    fs::create_directory(out);
    MoveFiles(root_, out);
    current_ = number;
    const std::string in = DiskFolder(number);
    if (fs::exists(in))
      MoveFiles(in, root_);
  }
  // Where disk `number` lies while it is out of the drive.
  std::string DiskFolder(int number) const { return shelf_ + "\\disk" + std::to_string(number); }
  // Disk `number`'s file `name`, in the drive or on the shelf.
  std::string FileOnDisk(int number, const std::string& name) const {
    return (number == current_ ? root_ : DiskFolder(number) + "\\") + name;
  }
  // What formatting does: the disk in the drive comes out empty.
  void Format() { Erase(root_); }
  uint64_t FreeBytes() const {
    ULARGE_INTEGER available{};
    GetDiskFreeSpaceExA(root_.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
  }

 private:
  // The entries of `folder`. An empty root directory has no "." and ".."
  // either, so the system finds nothing in it at all (error 2), which the
  // library's directory iterator takes for a missing folder.
  static std::vector<fs::path> EntriesOf(const std::string& folder) {
    std::vector<fs::path> entries;
    WIN32_FIND_DATAA found;
    const std::string pattern = folder + (folder.back() == '\\' ? "*" : "\\*");
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
      return entries;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..")
        entries.push_back(fs::path(folder) / name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
  }
  static void Erase(const std::string& folder) {
    for (const fs::path& entry : EntriesOf(folder))
      fs::remove_all(entry);
  }
  // Across devices: copied, then removed.
  static void MoveFiles(const std::string& from, const std::string& to) {
    for (const fs::path& entry : EntriesOf(from)) {
      fs::copy(entry, fs::path(to) / entry.filename(),
               fs::copy_options::recursive | fs::copy_options::overwrite_existing);
      fs::remove_all(entry);
    }
  }

  std::string root_;
  std::string shelf_;
  int current_ = 1;
};

// Message boxes answered by their title, as the person at the drive would:
// an answer may change disks first. A title without an answer gets the
// box's first button.
class AnsweringBoxes final : public MessageBoxes {
 public:
  using Answerer = std::function<int(const ShownBox&)>;
  std::map<std::string, Answerer> answers;
  std::vector<ShownBox> shown;

  int Show(std::string_view text, std::string_view title, unsigned style) override {
    shown.push_back({std::string(text), std::string(title), style});
    const ShownBox box = shown.back();
    if (const auto answer = answers.find(box.title); answer != answers.end())
      return answer->second(box);
    switch (box.Buttons()) {
      case mb::kYesNo:
      case mb::kYesNoCancel:
        return mb::kIdYes;
      case mb::kRetryCancel:
        return mb::kIdRetry;
      case mb::kAbortRetryIgnore:
        return mb::kIdAbort;
      default:
        return mb::kIdOk;
    }
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const ShownBox& box : shown)
      titles.push_back(box.title);
    return titles;
  }
};

class FloppyWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = FloppyDrive::Unavailable(); !why.empty())
      GTEST_SKIP() << why;
    floppy_ = std::make_unique<FloppyDrive>();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // Asked for disk n, the user takes out the disk in the drive and puts
    // in disk n: a fresh one while splitting, the one from the shelf while
    // assembling.
    const auto insert = [this](const ShownBox&) {
      floppy_->Insert(floppy_->Current() + 1);
      return mb::kIdOk;
    };
    boxes_.answers["VazeVezazu"] = insert;
    shell_.format = [this](unsigned drive) {
      if (drive == floppy_->DriveNumber())
        floppy_->Format();
    };
  }

  void Open() {
    controller_ = std::make_unique<MainWindowController>(ControllerServices{
        test::Instance(), store_, globals_, shell_, player_, paths_, prompts_, L"C:\\vtq\\"});
    window_ = std::make_unique<MainWindow>(
        MainWindowServices{test::Instance(), store_, boxes_, shell_, L"C:\\vtq\\"}, 0,
        controller_.get());
    controller_->Attach(*window_);
    ASSERT_TRUE(window_->Create());
    main_ = window_->Hwnd();
    prompts_.SetOwner(main_);
    ASSERT_TRUE(controller_->Load(L""));
  }

  HWND Item(int id) { return GetDlgItem(main_, id); }
  void SetField(int id, const std::wstring& text) { wingui::SetText(Item(id), text); }
  static std::wstring Wide(const std::string& text) { return base::FromAnsi(text); }

  void ChooseFileToSplit(const std::string& file) {
    shell_.file = Wide(file);
    Click(main_, IDC_Command4);
  }
  void ChooseSplitDestination(const std::string& folder) {
    shell_.folder = Wide(folder);
    Click(main_, IDC_Command3);
  }
  void ChooseFragments(const std::string& first) {
    shell_.file = Wide(first);
    Click(main_, IDC_Command5);
  }
  void ChooseAssembleDestination(const std::string& folder) {
    shell_.folder = Wide(folder);
    Click(main_, IDC_Command6);
  }
  // Ticks "Use password:" and types the passphrase into its box.
  void UsePassphrase(const std::wstring& passphrase) {
    Click(main_, IDC_UseEnc);
    SetField(IDC_Passphrase, passphrase);
  }
  // A modal passphrase dialog titled `title` answered with `typed`.
  static test::ModalScript TypedInto(const std::wstring& title, const std::wstring& typed) {
    return {title, [typed](HWND dialog) {
              test::Type(dialog, IDC_txtPassword, typed);
              Click(dialog, IDOK);
            }};
  }

  std::unique_ptr<FloppyDrive> floppy_;
  base::win::ScopedOle ole_;
  settings::MemoryValues values_;
  settings::SettingsStore store_{values_};
  AnsweringBoxes boxes_;
  vtq::test::CountingLoop loop_;
  ErrorDialogAdvisor advisor_{boxes_};
  Platform platform_{boxes_, loop_, SystemDrives(), SystemFolders(), &advisor_};
  Globals globals_{platform_};
  test::ScriptedShell shell_;
  SystemSoundPlayer player_;
  WindowPaths paths_{globals_};
  WindowPrompts prompts_{test::Instance(), store_, boxes_, player_, L"C:\\vtq\\"};
  vtq::test::ScratchDir dir_;
  std::unique_ptr<MainWindowController> controller_;
  std::unique_ptr<MainWindow> window_;
  HWND main_ = nullptr;
};

// Runs `command` in `folder` with Wine's cmd and waits for it.
DWORD RunInFolder(const std::string& command, const std::string& folder) {
  std::string line = command;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &process)) {
    return GetLastError();
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST_F(FloppyWindowTest, RawSeriesWithItsBatchFileRejoinsFromTheDisks) {
  Open();
  const auto source = PatternBytes(3000000, 11);
  WriteBytes(dir_ / "archive.bin", source);
  ChooseFileToSplit(dir_ / "archive.bin");
  ChooseSplitDestination(floppy_->Root());
  Click(main_, IDC_SaveBAT);
  Click(main_, IDC_Command7);

  // The first disk takes what it has free, the others the preset 1.44 MB:
  // three disks, and the batch file may need a fourth.
  ASSERT_EQ(boxes_.Titles(),
            (std::vector<std::string>{"Are you sure?", "VazeVezazu", "VazeVezazu"}));
  EXPECT_EQ(boxes_.shown[0].text, "This will take up 3 to 4 disks. Do you still want to proceed?");
  EXPECT_EQ(boxes_.shown[1].text, "Please insert disk 2 and click ok");
  EXPECT_EQ(boxes_.shown[2].text, "Please insert disk 3 and click ok");
  EXPECT_EQ(boxes_.shown[1].style, mb::kOkCancel | mb::kIconExclamation);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(1, "archive.001")), kFloppyBytes);
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(2, "archive.002")), 1457664u);
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(3, "archive.003")),
            3000000u - kFloppyBytes - 1457664u);
  ASSERT_TRUE(fs::exists(floppy_->FileOnDisk(3, "archive.BAT")));

  // Raw fragments carry no count: from the floppy they cannot be assembled.
  floppy_->Insert(1);
  vtq::test::MakeFolder(dir_ / "out");
  ChooseFragments(*floppy_ / "archive.001");
  ChooseAssembleDestination(dir_ / "out");
  Click(main_, IDC_Command8);
  ASSERT_EQ(boxes_.shown.size(), 4u);
  EXPECT_EQ(boxes_.shown[3].title, "Unable to determine number of fragments");
  EXPECT_EQ(boxes_.shown[3].text,
            "Since these fragments are unformatted, all fragments must be copied to the same "
            "directory on your hard disk before assembling can take place.");
  EXPECT_EQ(boxes_.shown[3].style, mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(vtq::test::NamesIn(dir_ / "out").empty());

  // Copied to the hard disk, the batch file joins them without the program.
  vtq::test::MakeFolder(dir_ / "joined");
  for (int disk = 1; disk <= 3; ++disk) {
    const std::string fragment = "archive.00" + std::to_string(disk);
    fs::copy_file(floppy_->FileOnDisk(disk, fragment), dir_ / "joined\\" + fragment);
  }
  fs::copy_file(floppy_->FileOnDisk(3, "archive.BAT"), dir_ / "joined\\archive.BAT");
  EXPECT_EQ(RunInFolder("cmd /c archive.BAT", dir_ / "joined"), 0u);
  EXPECT_EQ(ReadBytes(dir_ / "joined\\archive.bin"), source);
}

}  // namespace
}  // namespace vtq::app
