#pragma once
// ActiveSplitter: the engine object that cuts files into fragment series.
// Its container fills FilesToSplit, sets the destination, the format, the
// sizes and the protection options, and calls Split; progress and disk
// requests come back through a SplitterEvents observer, synchronously, on the
// caller's thread.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/currency.h"
#include "engine/file_list.h"
#include "engine/format.h"
#include "engine/globals.h"
#include "engine/item_index.h"

namespace vtq {

// What the splitter tells its container. Every handler has a do-nothing
// default so that a container implements only what it follows.
class SplitterEvents {
 public:
  virtual ~SplitterEvents() = default;
  // Not raised by the control's build.
  virtual void MultisizeFlagChange(bool /*multisize*/) {}
  virtual void SplitStart(int32_t /*pbMax*/) {}
  virtual void SplitInterval(int32_t /*pbCurrent*/) {}
  // Set cancel to true to end the run; the fragments written so far stay.
  virtual void RequireNextDisk(int16_t /*diskNumber*/, bool& /*cancel*/) {}
  // cancel arrives true; set it to false to have the space checked again.
  virtual void NotEnoughDiskSpace(bool& /*cancel*/) {}
  // Not an event of the object model: a front end's notice that a fragment
  // file is complete on disk (name and length), raised after it is closed.
  virtual void FragmentWritten(int16_t /*number*/, const std::string& /*name*/,
                               uint64_t /*bytes*/) {}
};

class ActiveSplitter {
 public:
  ActiveSplitter(Globals& globals, SplitterEvents& events);
  ~ActiveSplitter();
  ActiveSplitter(const ActiveSplitter&) = delete;
  ActiveSplitter& operator=(const ActiveSplitter&) = delete;

  // The program's options; the control's build keeps them but splits as if
  // none were set (engine/control/splitter_control.cpp).
  // 0: split the whole series; n > 0: re-create fragment n only.
  int16_t RegenerateFragment() const { return regenerateFragment_; }
  void SetRegenerateFragment(int16_t fragment) { regenerateFragment_ = fragment; }
  void SetCABIsMultifile(bool multifile) { cabIsMultifile_ = multifile; }
  bool CheckabilityEnabled() const { return checkability_; }
  void SetCheckabilityEnabled(bool enabled) { checkability_ = enabled; }

  // The same list every time; created on first use.
  FileList& FilesToSplit();

  const std::string& DestinationFolder() const { return destination_; }
  // Stored with a separator at its end.
  void SetDestinationFolder(const std::string& folder);

  // Fragments the entry needs under the current settings; overflow (6)
  // beyond 32,767.
  int16_t FragsNeeded(const ItemIndex& file);

  AftFileFormat FileFormat() const { return format_; }
  // 3 and above (and, being no format either, negative values) become aftRaw.
  void SetFileFormat(int32_t format);

  int32_t FragmentSize() const { return fragmentSize_; }
  // Clamped to the supported range; the caller's variable receives the
  // clamped value.
  void SetFragmentSize(int32_t& size);
  int32_t FragmentSizeAtStart() const { return firstFragmentSize_; }
  // Clamped like SetFragmentSize; switches the multisize flag on.
  void SetFragmentSizeAtStart(int32_t& size);
  bool DifferentSizeAtStart() const { return multisize_; }
  // Never on in the aftBrannock format; off resets the first size.
  void SetDifferentSizeAtStart(bool different);

  void Split();

  // Whether the entry fits on the drive named by the first letter of
  // `drive` (natively: the filesystem holding `drive`). The removable rule
  // (formatted capacity, or free space with `freespace`, times the fragment
  // count) is chosen by the destination folder's drive.
  bool EnoughDiskSpace(const std::string& drive, const ItemIndex& file, bool freespace = false);

  const std::string& EncryptionKey() const { return encryptionKey_; }
  // A non-empty key switches encryption on, an empty one off.
  void SetEncryptionKey(const std::string& key);
  bool UseEncryption() const { return useEncryption_; }
  void SetUseEncryption(bool use);

  bool BatGen_Available() const { return format_ == aftRaw; }
  // The program's build only: the control's fails to link a call.
  std::string BatGen_String(const ItemIndex& file);

  // Engine-internal pieces of the object, public for the run and for tests.
  // The first-fragment prefix; for the own format only its length counts.
  std::string HeaderText(const ItemIndex& file, bool estimate);
  std::string FormatRecordBytes() const;
  std::string FileRecordBytes(const ItemIndex& file, bool estimate);
  std::string EncryptionRecordBytes();
  // Data bytes of a fragment apart from its check digits (the first one's
  // include the prefix).
  int32_t DataSize() const { return fragmentSize_ - CheckDigitBytes(); }
  int32_t FirstDataSize() const { return firstFragmentSize_ - CheckDigitBytes(); }

 private:
  class Run;
  friend class Run;

  void SplitFile(const std::string& filename);
  // The source's base name as the first fragment holds it.
  std::string StoredSourceName(const ItemIndex& file);
  int32_t Clamped(int32_t size) const;
  // What differs between the program's build (engine/program/) and the
  // control's (engine/control/), which honours none of the options above.
  int32_t CheckDigitBytes() const;
  bool Encrypting() const;
  bool CabinetIsMultifile() const;
  int16_t FragmentToRegenerate() const;
  void ReportMultisizeFlag(bool multisize);
  void Encipher(std::span<uint8_t> data);
  std::string CheckDigitsFor(std::span<const uint8_t> data);

  Globals& globals_;
  SplitterEvents& events_;
  std::unique_ptr<FileList> files_;
  std::string destination_;
  AftFileFormat format_ = aftQuorvelle;
  int32_t fragmentSize_ = aftHighDensity;
  int32_t firstFragmentSize_ = aftHighDensity;
  bool multisize_ = false;
  std::string encryptionKey_{kBuiltInPassphrase};
  bool useEncryption_ = false;
  bool cabIsMultifile_ = false;
  bool checkability_ = false;
  int16_t regenerateFragment_ = 0;
};

}  // namespace vtq
