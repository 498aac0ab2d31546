#pragma once
// What the commands ask of the cabinet component when they pack, and the
// small window that shows a packing step. The window's build packs through
// the component; tests record what was asked and fail where they choose.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vtq {

// The captions of the packing window.
inline constexpr const char* kCaptionCompressing = "Compressing....";
inline constexpr const char* kCaptionCombining = "Combining....";
inline constexpr const char* kCaptionExtracting = "Extracting....";

inline constexpr const char* kSoundCompress = "WexlorCompress";

struct PackRequest {
  std::wstring cabinet;               // full name of the cabinet to write
  bool compress = true;               // false stores the entries as they are
  std::vector<std::wstring> files;    // each at the top of the cabinet
  std::vector<std::wstring> folders;  // each with its subfolders, kept as cabinet folders
};

// An entry of the last list packed, as the failure message names it.
struct PackedEntry {
  std::wstring source;
  std::wstring cabDir;
};

using PackProgress = std::function<void(int16_t percent)>;

// Points a component's progress events at the caller's handler for as long
// as one Pack or Extract runs.
class ProgressRoute {
 public:
  ProgressRoute(const PackProgress*& slot, const PackProgress& progress) : slot_(slot) {
    slot_ = &progress;
  }
  ~ProgressRoute() { slot_ = nullptr; }
  ProgressRoute(const ProgressRoute&) = delete;
  ProgressRoute& operator=(const ProgressRoute&) = delete;

 private:
  const PackProgress*& slot_;
};

class CabinetPacker {
 public:
  virtual ~CabinetPacker() = default;
  // Writes the cabinet, replacing one of the same name, and returns when it
  // is done; `progress` follows the component's progress value. A failure is
  // raised as a VbError (the component's own is cabinet::kCabinetFailure).
  virtual void Pack(const PackRequest& request, const PackProgress& progress) = 0;
  // The first entry of the last list packed; empty texts when it had none.
  virtual PackedEntry FirstEntry() const = 0;
};

// The modeless window shown while the component works. While it shows,
// SetProgress lets the window system draw it and take its Cancel.
class PackingView {
 public:
  virtual ~PackingView() = default;
  virtual void Show(std::string_view caption) = 0;
  virtual void SetProgress(int16_t percent) = 0;
  virtual void Close() = 0;
  // Packing can be stopped: the window offers Cancel until it closes.
  virtual void OfferCancel() {}
  // Whether Cancel was chosen since the window showed.
  virtual bool CancelRequested() { return false; }
};

// Raised from a packing step's progress when the user chose Cancel; the
// component removes the cabinet it had begun.
struct PackingCancelled {};

// Shows the packing window for as long as it lives, whichever way the step
// ends.
class ShownPackingView {
 public:
  ShownPackingView(PackingView& view, std::string_view caption) : view_(view) {
    view_.Show(caption);
  }
  ~ShownPackingView() { view_.Close(); }
  ShownPackingView(const ShownPackingView&) = delete;
  ShownPackingView& operator=(const ShownPackingView&) = delete;

 private:
  PackingView& view_;
};

// The message of a failed make-CAB run, naming the component's description
// and the first entry of its list.
std::string MakeCabFailureText(const std::string& description, const PackedEntry& first);
// The same for packing the input of a split.
std::string PackBeforeSplitFailureText(const std::string& description, const PackedEntry& first);

}  // namespace vtq
