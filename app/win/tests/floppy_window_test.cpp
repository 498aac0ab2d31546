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

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/operations/error_dialog.h"
#include "app/win/main_window.h"
#include "app/win/main_window_controller.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/shell_double.h"
#include "app/win/tests/window_harness.h"
#include "app/win/window_services.h"
#include "base/utf8_text.h"
#include "base/win/handles.h"
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
  // Why the fixture made no floppy here (no root, no mount); empty when it
  // made one.
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
    return {};
  }
  // What is wrong with a floppy the fixture says it made; empty when the
  // drive is removable and holds a whole 1.44 MB disk.
  static std::string Fault() {
    const std::string root = std::string(std::getenv("VTQ_FLOPPY_DRIVE")) + "\\";
    const UINT type = GetDriveTypeA(root.c_str());
    ULARGE_INTEGER available{}, total{};
    const bool measured = GetDiskFreeSpaceExA(root.c_str(), &available, &total, nullptr);
    if (type == DRIVE_REMOVABLE && measured && total.QuadPart == kFloppyBytes)
      return {};
    return root + " is no simulated floppy: drive type " + std::to_string(type) +
           (measured ? ", " + std::to_string(total.QuadPart) + " bytes"
                     : ", no size (error " + std::to_string(GetLastError()) + ")");
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
  // The names on the disk in the drive, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const fs::path& entry : EntriesOf(root_))
      names.push_back(entry.filename().string());
    std::sort(names.begin(), names.end());
    return names;
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
    const base::win::FindHandle search(FindFirstFileA(pattern.c_str(), &found));
    if (!search)
      return entries;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..")
        entries.push_back(fs::path(folder) / name);
    } while (FindNextFileA(search.Get(), &found));
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
    if (const std::string fault = FloppyDrive::Fault(); !fault.empty())
      FAIL() << fault;
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
  static std::wstring Wide(const std::string& text) { return base::FromUtf8(text); }

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
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &started)) {
    return GetLastError();
  }
  const base::win::KernelHandle process(started.hProcess);
  const base::win::KernelHandle thread(started.hThread);
  WaitForSingleObject(process.Get(), 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

// A disk's worth and a preset fragment's worth of data: the batch file,
// written first onto disk 1, leaves the first fragment a page short, which
// pushes the last bytes onto a third disk; the batch file names all three.
// The question counts with the preset size alone.
TEST_F(FloppyWindowTest, RawSeriesWithItsBatchFileRejoinsFromTheDisks) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const auto source = PatternBytes(kFloppyBytes + 1457664, 11);
  WriteBytes(dir_ / "archive.bin", source);
  ChooseFileToSplit(dir_ / "archive.bin");
  ChooseSplitDestination(floppy_->Root());
  Click(main_, IDC_SaveBAT);
  std::vector<uint64_t> freeWhenTakenOut;
  boxes_.answers["VazeVezazu"] = [&](const ShownBox&) {
    freeWhenTakenOut.push_back(floppy_->FreeBytes());
    floppy_->Insert(floppy_->Current() + 1);
    return mb::kIdOk;
  };
  Click(main_, IDC_Command7);

  ASSERT_EQ(boxes_.Titles(),
            (std::vector<std::string>{"Are you sure?", "VazeVezazu", "VazeVezazu"}));
  EXPECT_EQ(boxes_.shown[0].text, "This will take up 3 to 4 disks. Do you still want to proceed?");
  EXPECT_EQ(boxes_.shown[1].text, "Please insert disk 2 and click ok");
  EXPECT_EQ(boxes_.shown[2].text, "Please insert disk 3 and click ok");
  EXPECT_EQ(boxes_.shown[1].style, mb::kOkCancel | mb::kIconExclamation);
  EXPECT_TRUE(IsWindowEnabled(main_));
  // Disk 1 is full: the batch file and the first fragment.
  ASSERT_EQ(freeWhenTakenOut.size(), 2u);
  EXPECT_EQ(freeWhenTakenOut[0], 0u);
  ASSERT_TRUE(fs::exists(floppy_->FileOnDisk(1, "archive.BAT")));
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(1, "archive.001")), kFloppyBytes - 4096);
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(2, "archive.002")), 1457664u);
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(3, "archive.003")), 4096u);

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
  const std::string fragments[] = {"archive.001", "archive.002", "archive.003"};
  for (int disk = 1; disk <= 3; ++disk) {
    const std::string& fragment = fragments[disk - 1];
    fs::copy_file(floppy_->FileOnDisk(disk, fragment), dir_ / "joined\\" + fragment);
  }
  fs::copy_file(floppy_->FileOnDisk(1, "archive.BAT"), dir_ / "joined\\archive.BAT");
  EXPECT_EQ(RunInFolder("cmd /c archive.BAT", dir_ / "joined"), 0u);
  EXPECT_EQ(ReadBytes(dir_ / "joined\\archive.bin"), source);
}

TEST_F(FloppyWindowTest, EncryptedSeriesComesBackFromTheDisksOnlyWithItsPassphrase) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const auto source = PatternBytes(2000000, 12);
  WriteBytes(dir_ / "secret.bin", source);
  ChooseFileToSplit(dir_ / "secret.bin");
  ChooseSplitDestination(floppy_->Root());
  UsePassphrase(L"Kestrel Wing");
  {
    test::ModalScripts typing({TypedInto(L"Password Confirmation", L"Kestrel Wing")});
    Click(main_, IDC_Command7);
    EXPECT_EQ(typing.Started(), 1u);
  }
  ASSERT_EQ(boxes_.Titles(), (std::vector<std::string>{"Are you sure?", "VazeVezazu"}));
  EXPECT_EQ(boxes_.shown[0].text, "This will take up 2 files/disks. Do you still want to proceed?");
  EXPECT_EQ(fs::file_size(floppy_->FileOnDisk(1, "secret.001")), kFloppyBytes);
  ASSERT_TRUE(fs::exists(floppy_->FileOnDisk(2, "secret.002")));
  // The series' own fragments are no plain slices of the source.
  const auto first = ReadBytes(floppy_->FileOnDisk(1, "secret.001"));
  EXPECT_EQ(std::search(first.begin(), first.end(), source.begin(), source.begin() + 64),
            first.end());

  floppy_->Insert(1);
  vtq::test::MakeFolder(dir_ / "out");
  ChooseFragments(*floppy_ / "secret.001");
  ChooseAssembleDestination(dir_ / "out");
  boxes_.shown.clear();
  {
    test::ModalScripts typing({{L"Security check", [](HWND dialog) {
                                  EXPECT_EQ(test::TextOf(dialog, IDC_lblPrompt),
                                            L"This fragment series has been encrypted. Please "
                                            L"enter the correct password. Passwords are "
                                            L"case-sensitive.");
                                  test::Type(dialog, IDC_txtPassword, L"kestrel wing");
                                  Click(dialog, IDOK);
                                }}});
    Click(main_, IDC_Command8);
    EXPECT_EQ(typing.Started(), 1u);
  }
  ASSERT_EQ(boxes_.Titles(), std::vector<std::string>{"Access denied"});
  EXPECT_EQ(boxes_.shown[0].text, "Password incorrect");
  EXPECT_EQ(boxes_.shown[0].style, mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(vtq::test::NamesIn(dir_ / "out").empty());
  EXPECT_TRUE(IsWindowEnabled(main_));

  boxes_.shown.clear();
  {
    test::ModalScripts typing({TypedInto(L"Security check", L"Kestrel Wing")});
    Click(main_, IDC_Command8);
    EXPECT_EQ(typing.Started(), 1u);
  }
  ASSERT_EQ(boxes_.Titles(), std::vector<std::string>{"VazeVezazu"});
  EXPECT_EQ(boxes_.shown[0].text, "Please insert the next disk (number 2) and click ok");
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "out"), std::vector<std::string>{"secret.bin"});
  EXPECT_EQ(ReadBytes(dir_ / "out\\secret.bin"), source);
}

// Fragment 1 carries the series' header and fragment 3 lies in the middle;
// each comes back as the full run wrote it, under the same passphrase.
TEST_F(FloppyWindowTest, RegeneratedFragmentsAreThoseOfTheSeries) {
  ASSERT_NO_FATAL_FAILURE(Open());
  WriteBytes(dir_ / "regen.bin", PatternBytes(50000, 13));
  vtq::test::MakeFolder(dir_ / "series");
  ChooseFileToSplit(dir_ / "regen.bin");
  ChooseSplitDestination(dir_ / "series");
  Click(main_, IDC_CustomEnabled);
  SetField(IDC_CustomSize, L"10");
  test::Choose(main_, IDC_CustSizeUnits, 1);
  UsePassphrase(L"Osprey");
  const auto split = [&] {
    test::ModalScripts typing({TypedInto(L"Password Confirmation", L"Osprey")});
    Click(main_, IDC_Command7);
    EXPECT_EQ(typing.Started(), 1u);
  };
  split();
  const std::vector<std::string> series = {"regen.001", "regen.002", "regen.003", "regen.004",
                                           "regen.005"};
  ASSERT_EQ(vtq::test::NamesIn(dir_ / "series"), series);
  const auto first = ReadBytes(dir_ / "series\\regen.001");
  const auto third = ReadBytes(dir_ / "series\\regen.003");
  fs::remove(dir_ / "series\\regen.001");
  fs::remove(dir_ / "series\\regen.003");

  SetField(IDC_RegenFragVal, L"3");
  ASSERT_TRUE(wingui::IsChecked(Item(IDC_RegenFragBool)));
  split();
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "series"),
            (std::vector<std::string>{"regen.002", "regen.003", "regen.004", "regen.005"}));
  EXPECT_EQ(ReadBytes(dir_ / "series\\regen.003"), third);

  SetField(IDC_RegenFragVal, L"1");
  split();
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "series"), series);
  EXPECT_EQ(ReadBytes(dir_ / "series\\regen.001"), first);
  // Only the whole series asked how many files it takes.
  EXPECT_EQ(boxes_.Titles(), std::vector<std::string>{"Are you sure?"});
}

// Fill space splits with the size the window's splitter last had: after a
// series of 100 kb fragments, each disk after the first takes 100 kb, run
// after run, not the floppy size a fresh splitter starts with.
TEST_F(FloppyWindowTest, FillSpaceGoesOnWithTheLastSizeRunAfterRun) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const auto source = PatternBytes(1600000, 16);
  WriteBytes(dir_ / "fill.bin", source);
  ChooseFileToSplit(dir_ / "fill.bin");
  ChooseSplitDestination(floppy_->Root());
  Click(main_, IDC_CustomEnabled);
  SetField(IDC_CustomSize, L"100");
  test::Choose(main_, IDC_CustSizeUnits, 1);
  int disksAsked = 0;
  boxes_.answers["VazeVezazu"] = [&](const ShownBox&) {
    ++disksAsked;
    floppy_->Insert(floppy_->Current() + 1);
    return mb::kIdOk;
  };
  Click(main_, IDC_Command7);
  ASSERT_EQ(disksAsked, 2);  // the first disk filled, then 100 kb and the rest
  Click(main_, IDC_optAutofill);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    floppy_->Insert(floppy_->Current() + 1);
    const int firstDisk = floppy_->Current();
    disksAsked = 0;
    Click(main_, IDC_Command7);
    EXPECT_EQ(disksAsked, 2);
    EXPECT_EQ(ReadBytes(floppy_->FileOnDisk(firstDisk + 1, "fill.002")).size(), 102400u);
  }
}

// Disk 2 comes in with a file on it that leaves too little room: the offer
// to format it, declined, stops the split; accepted, the format dialog
// empties the disk and the split goes on.
TEST_F(FloppyWindowTest, AFullDiskIsFormattedOnRequestOrStopsTheSplit) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const auto source = PatternBytes(2000000, 14);
  WriteBytes(dir_ / "full.bin", source);
  ChooseFileToSplit(dir_ / "full.bin");
  ChooseSplitDestination(floppy_->Root());
  Click(main_, IDC_SaveBAT);
  boxes_.answers["VazeVezazu"] = [this](const ShownBox&) {
    floppy_->Insert(floppy_->Current() + 1);
    WriteBytes(*floppy_ / "old.txt", PatternBytes(1000000, 15));
    return mb::kIdOk;
  };
  int answer = mb::kIdCancel;
  boxes_.answers["Not enough disk space"] = [&](const ShownBox&) { return answer; };

  Click(main_, IDC_Command7);
  ASSERT_EQ(boxes_.Titles(),
            (std::vector<std::string>{"Are you sure?", "VazeVezazu", "Not enough disk space",
                                      "Insufficient disk space"}));
  EXPECT_EQ(boxes_.shown[2].text,
            "There is not enough disk space on the destination drive. Would you like to format "
            "this disk now?");
  // Cancel is the default: the disk in the drive may hold the series so far.
  EXPECT_EQ(boxes_.shown[2].style, mb::kOkCancel | mb::kIconExclamation | mb::kDefaultButton2);
  EXPECT_EQ(boxes_.shown[3].text,
            "Please free some up on the destination drive and then try again");
  EXPECT_EQ(boxes_.shown[3].style, mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(shell_.formatted.empty());
  EXPECT_EQ(floppy_->Names(), std::vector<std::string>{"old.txt"});
  EXPECT_TRUE(IsWindowEnabled(main_));

  // A fresh disk to start again with.
  floppy_->Insert(floppy_->Current() + 1);
  const int firstDisk = floppy_->Current();
  boxes_.shown.clear();
  answer = mb::kIdOk;
  Click(main_, IDC_Command7);
  ASSERT_EQ(boxes_.Titles(),
            (std::vector<std::string>{"Are you sure?", "VazeVezazu", "Not enough disk space"}));
  EXPECT_EQ(shell_.formatted,
            (std::vector<test::ScriptedShell::Formatting>{{floppy_->DriveNumber(), 0u, 1u}}));
  // The formatted disk lost the old file and took the fragment.
  const std::vector<std::string> names = floppy_->Names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "old.txt"), 0);
  EXPECT_EQ(std::count(names.begin(), names.end(), "full.002"), 1);
  auto joined = ReadBytes(floppy_->FileOnDisk(firstDisk, "full.001"));
  const auto second = ReadBytes(*floppy_ / "full.002");
  joined.insert(joined.end(), second.begin(), second.end());
  EXPECT_EQ(joined, source);
}

TEST_F(FloppyWindowTest, EachCommandRefusesWhatItCannotDo) {
  ASSERT_NO_FATAL_FAILURE(Open());
  WriteBytes(dir_ / "lone.bin", PatternBytes(1000, 16));
  ChooseFileToSplit(dir_ / "lone.bin");
  ChooseSplitDestination(*floppy_ / "gone");
  Click(main_, IDC_Command7);
  Click(main_, IDC_cmdCabOnly);
  ChooseFragments(dir_ / "lone.bin");
  Click(main_, IDC_Command8);

  ASSERT_EQ(boxes_.Titles(),
            (std::vector<std::string>{"", "Unable to create CAB", "Not enough information."}));
  EXPECT_EQ(boxes_.shown[0].text, "Destination directory doesn't exist - please check this");
  EXPECT_EQ(boxes_.shown[0].style, mb::kOk);
  EXPECT_EQ(boxes_.shown[1].text,
            "Sorry, you can only make CABs from folders - use the 'select folder to split' "
            "button to select a folder.");
  EXPECT_EQ(boxes_.shown[1].style, mb::kOk | mb::kIconCritical);
  EXPECT_EQ(boxes_.shown[2].text, "Please select where to put the finished file first!");
  EXPECT_EQ(boxes_.shown[2].style, mb::kOk | mb::kIconCritical);
  EXPECT_TRUE(floppy_->Names().empty());
  EXPECT_TRUE(IsWindowEnabled(main_));
}

// Text that packs well, so that a cabinet is visibly smaller than its files.
std::vector<uint8_t> TextBytes(size_t size) {
  const std::string line = "The quick brown fox jumps over the lazy dog, 0123456789.\r\n";
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<uint8_t>(line[i % line.size()]);
  return bytes;
}

TEST_F(FloppyWindowTest, CompressedFolderTreeComesBackWholeFromTheDisks) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const std::map<std::string, std::vector<uint8_t>> tree = {
      {"PROJ\\plan.bin", PatternBytes(900000, 21)},
      {"PROJ\\sub\\data.bin", PatternBytes(1000000, 22)},
      {"PROJ\\sub\\deeper\\notes.txt", TextBytes(3000000)},
      {"PROJ\\sub\\deeper\\tiny.txt", TextBytes(1)}};
  vtq::test::MakeFolder(dir_ / "PROJ");
  vtq::test::MakeFolder(dir_ / "PROJ\\sub");
  vtq::test::MakeFolder(dir_ / "PROJ\\sub\\deeper");
  for (const auto& [name, bytes] : tree)
    WriteBytes(dir_ / name, bytes);
  shell_.folder = Wide(dir_ / "PROJ");
  Click(main_, IDC_cmdSelFolderToSplit);
  ChooseSplitDestination(floppy_->Root());
  Click(main_, IDC_UseCompression);
  ASSERT_TRUE(wingui::IsChecked(Item(IDC_UseCompression)));
  Click(main_, IDC_Command7);

  // 4.9 MB of files, packed into two disks.
  ASSERT_EQ(boxes_.Titles(), (std::vector<std::string>{"Are you sure?", "VazeVezazu"}));
  EXPECT_EQ(boxes_.shown[0].text, "This will take up 2 files/disks. Do you still want to proceed?");
  EXPECT_EQ(floppy_->Names(), std::vector<std::string>{"PROJ.002"});
  EXPECT_EQ(controller_->PackingWindowHwnd(), nullptr);

  floppy_->Insert(1);
  vtq::test::MakeFolder(dir_ / "out");
  ChooseFragments(*floppy_ / "PROJ.001");
  ChooseAssembleDestination(dir_ / "out");
  boxes_.shown.clear();
  Click(main_, IDC_Command8);
  EXPECT_EQ(boxes_.Titles(), std::vector<std::string>{"VazeVezazu"});
  // The assembled cabinet is unpacked into a folder named after it and goes.
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "out"), std::vector<std::string>{"PROJ"});
  for (const auto& [name, bytes] : tree)
    EXPECT_EQ(ReadBytes(dir_ / "out\\" + name), bytes) << name;
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "out\\PROJ"), (std::vector<std::string>{"plan.bin", "sub"}));
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "out\\PROJ\\sub\\deeper"),
            (std::vector<std::string>{"notes.txt", "tiny.txt"}));
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(FloppyWindowTest, CompressedFileComesBackFromTheDisks) {
  ASSERT_NO_FATAL_FAILURE(Open());
  std::vector<uint8_t> source = PatternBytes(1600000, 23);
  const std::vector<uint8_t> text = TextBytes(2000000);
  source.insert(source.end(), text.begin(), text.end());
  WriteBytes(dir_ / "notes.txt", source);
  ChooseFileToSplit(dir_ / "notes.txt");
  ChooseSplitDestination(floppy_->Root());
  Click(main_, IDC_UseCompression);
  Click(main_, IDC_Command7);

  ASSERT_EQ(boxes_.Titles(), (std::vector<std::string>{"Are you sure?", "VazeVezazu"}));
  EXPECT_EQ(boxes_.shown[0].text, "This will take up 2 files/disks. Do you still want to proceed?");
  // Named after the file up to its first dot, then "cab"; the cabinet went
  // once split, from the temporary folder's root or the folder itself.
  EXPECT_EQ(floppy_->Names(), std::vector<std::string>{"notes.002"});
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  EXPECT_FALSE(fs::exists(std::string(temp, 2) + "\\notes.cab"));
  EXPECT_FALSE(fs::exists(std::string(temp) + "notes.cab"));

  floppy_->Insert(1);
  vtq::test::MakeFolder(dir_ / "out");
  ChooseFragments(*floppy_ / "notes.001");
  ChooseAssembleDestination(dir_ / "out");
  boxes_.shown.clear();
  Click(main_, IDC_Command8);
  EXPECT_EQ(boxes_.Titles(), std::vector<std::string>{"VazeVezazu"});
  // A cabinet of one file is unpacked straight into the destination.
  EXPECT_EQ(vtq::test::NamesIn(dir_ / "out"), std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(ReadBytes(dir_ / "out\\notes.txt"), source);
}

}  // namespace
}  // namespace vtq::app
