#ifdef _WIN32
#include "engine/tests/support/simulated_drive.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

#include "engine/tests/support/unix_shell.h"

namespace vtq::test {
namespace {

constexpr std::string_view kLetters = "abrh";

char LowerLetter(char letter) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  if (kLetters.find(lower) == std::string_view::npos) {
    throw std::invalid_argument(std::string("no simulated drive ") + letter +
                                ": use A, B (floppy), R (CD-ROM) or H (fixed)");
  }
  return lower;
}

// Lazy unmounting: a handle a test left open must not keep the disk busy.
std::string UnmountAndRemove(const std::string& disks) {
  const std::string q = ShellQuote(disks);
  return "if [ -d " + q + " ]; then for d in " + q + "/*; do umount -l \"$d\" 2>/dev/null; done; " +
         "rm -rf " + q + "; fi";
}

}  // namespace

std::string SimulatedDrive::SmallDisksUnavailable() {
  const std::string probe = WinePrefixUnixPath() + "/simdisks/probe";
  const UnixResult result = RunUnixShell(
      "[ \"$(id -u)\" = 0 ] || { echo 'sized disks are tmpfs mounts and need root'; exit 1; }\n"
      "mkdir -p " +
      ShellQuote(probe) + " && mount -t tmpfs -o size=4096 tmpfs " + ShellQuote(probe) +
      " && umount " + ShellQuote(probe) + " && rmdir " + ShellQuote(probe));
  if (result.status == 0)
    return {};
  return "cannot mount a tmpfs for a sized disk: " + result.output;
}

SimulatedDrive::SimulatedDrive(char letter, uint64_t diskBytes)
    : letter_(static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))),
      diskBytes_(diskBytes),
      prefix_(WinePrefixUnixPath()),
      disks_(prefix_ + "/simdisks/" + LowerLetter(letter)) {
  // Drive tests run one at a time: whatever is left here is from a test that
  // did not get to clean up.
  RunUnixShellOrThrow(UnmountAndRemove(disks_) + "\nmkdir -p " + ShellQuote(disks_));
  InsertNewDisk();
}

SimulatedDrive::~SimulatedDrive() {
  try {
    std::string prepared = "../drives/";
    prepared += LowerLetter(letter_);
    PointLetterAt(prepared);
    RunUnixShell(UnmountAndRemove(disks_));
  } catch (...) {
    // A destructor cannot fail the test; the next drive test cleans up.
  }
}

std::string SimulatedDrive::Root() const {
  return std::string(1, letter_) + ":\\";
}

std::string SimulatedDrive::DiskUnixPath(int number) const {
  return disks_ + "/" + std::to_string(number);
}

std::string SimulatedDrive::DiskFolder(int number) const {
  if (number < 1 || number > count_)
    throw std::out_of_range("no such disk");
  return WindowsNameOfUnixPath(DiskUnixPath(number)) + "\\";
}

void SimulatedDrive::PointLetterAt(const std::string& target) {
  const std::string link = prefix_ + "/dosdevices/" + LowerLetter(letter_) + ":";
  RunUnixShellOrThrow("ln -sfn " + ShellQuote(target) + " " + ShellQuote(link + ".new") +
                      " && mv -T " + ShellQuote(link + ".new") + " " + ShellQuote(link));
}

int SimulatedDrive::InsertNewDisk() {
  const int number = count_ + 1;
  const std::string path = ShellQuote(DiskUnixPath(number));
  std::string script = "mkdir -p " + path;
  if (diskBytes_ != 0) {
    script +=
        " && mount -t tmpfs -o size=" + std::to_string(diskBytes_) + ",mode=0777 tmpfs " + path;
  }
  RunUnixShellOrThrow(script);
  count_ = number;
  InsertDisk(number);
  return number;
}

void SimulatedDrive::InsertDisk(int number) {
  if (number < 1 || number > count_)
    throw std::out_of_range("no such disk");
  PointLetterAt(DiskUnixPath(number));
  current_ = number;
}

void SimulatedDrive::SetWriteProtected(int number, bool on) {
  if (number < 1 || number > count_)
    throw std::out_of_range("no such disk");
  const std::string path = ShellQuote(DiskUnixPath(number));
  const std::string mode = on ? "ro" : "rw";
  // A plain folder becomes a mount of its own first, so that it can be
  // remounted read-only like a tmpfs.
  std::string script;
  if (diskBytes_ == 0)
    script = "mountpoint -q " + path + " || mount --bind " + path + " " + path + "\n" +
             "mount -o remount,bind," + mode + " " + path;
  else
    script = "mount -o remount," + mode + " " + path;
  RunUnixShellOrThrow(script);
}

void SimulatedDrive::Eject() {
  PointLetterAt(disks_ + "/empty-drive");
  current_ = 0;
}

}  // namespace vtq::test
#endif
