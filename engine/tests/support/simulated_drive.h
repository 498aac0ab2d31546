#pragma once
// A drive letter of the Wine prefix given to one test: A: and B: are floppy
// drives, R: a CD-ROM drive, H: a fixed disk (typed so by scripts/wine-run).
// The letter points at a "disk": a fresh folder, or a small tmpfs of a given
// size when the tests run as root. Disks can be changed while the program
// runs, as a user swaps floppies. Windows builds only (the drive tests).
//
//   SimulatedDrive a('A', 1457664);   // a 1.44 MB floppy (tmpfs pages: 1,458,176)
//   a.Root()            -> "A:\"
//   a / "big.001"       -> "A:\big.001"
//   a.InsertNewDisk()   -> 2: a fresh empty disk is in the drive now
//   a.InsertDisk(1)     -> disk 1 back in the drive
//   a.Eject()           -> no disk in the drive
//   a.DiskFolder(1)     -> "Z:\...\" where disk 1's files are, in or out
//   a.SetWriteProtected(1, true) -> writes to disk 1 fail (needs root)
//
// The destructor points the letter back at its prepared folder and removes
// the disks. Tests that ask for a size call VTQ_REQUIRE_SMALL_DISKS() first.
// The letters are shared by the whole prefix: a suite that uses them is
// registered with `LOCK wine_drives` (engine/tests/drives/*_test.cpp are).
#ifdef _WIN32

#include <cstdint>
#include <string>

namespace vtq::test {

class SimulatedDrive {
 public:
  // `letter`: one of A, B, R, H. `diskBytes` 0 gives plain folders as disks
  // (the room of the build machine); any other size a tmpfs per disk, which
  // needs root (see SmallDisksUnavailable). The drive starts with disk 1 in.
  explicit SimulatedDrive(char letter, uint64_t diskBytes = 0);
  ~SimulatedDrive();
  SimulatedDrive(const SimulatedDrive&) = delete;
  SimulatedDrive& operator=(const SimulatedDrive&) = delete;

  // Why sized disks cannot be made here; empty when they can.
  static std::string SmallDisksUnavailable();

  char Letter() const { return letter_; }
  // "A:\"
  std::string Root() const;
  // "A:\" + name
  std::string operator/(const std::string& name) const { return Root() + name; }

  // Puts a fresh empty disk in the drive (an atomic swap of the letter's
  // link) and returns its number, counting from 1.
  int InsertNewDisk();
  // Puts disk `number` (1 ... DiskCount()) back in the drive.
  void InsertDisk(int number);
  // Leaves the drive without a disk.
  void Eject();
  // The disk in the drive, 0 for none.
  int CurrentDisk() const { return current_; }
  int DiskCount() const { return count_; }
  // Slides disk `number`'s write-protect tab: a read-only remount, so it
  // needs root like sized disks do. Reading and DiskFolder still work.
  void SetWriteProtected(int number, bool on);
  // The Windows name of disk `number`'s folder (ending in "\"), readable
  // whether or not that disk is in the drive.
  std::string DiskFolder(int number) const;

 private:
  std::string DiskUnixPath(int number) const;
  void PointLetterAt(const std::string& target);

  char letter_;
  uint64_t diskBytes_;
  std::string prefix_;  // Unix path of the Wine prefix
  std::string disks_;   // Unix path of this letter's disks
  int count_ = 0;
  int current_ = 0;
};

}  // namespace vtq::test

// Skips the current test, with the reason, where sized disks cannot be made.
#define VTQ_REQUIRE_SMALL_DISKS()                                                     \
  do {                                                                                \
    const std::string vtq_why = ::vtq::test::SimulatedDrive::SmallDisksUnavailable(); \
    if (!vtq_why.empty())                                                             \
      GTEST_SKIP() << vtq_why;                                                        \
  } while (false)

#endif
