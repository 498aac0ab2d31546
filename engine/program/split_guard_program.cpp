// The program's split run traps each step's error when the host gives an
// error advisor; without one the error reaches the caller.

#include <utility>

#include "engine/program/bug_tracer.h"
#include "engine/program/error_trap.h"
#include "engine/split_guard.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kSplitFileOccurance[] =
    "Occurance: In CLS routine SplitFile (ActiveSplitter class)";
extern const char kPinpointed[] = "Pinpointer successful - pinpointed bug at: ";
extern const char kRunFragmentBytesize[] = "Fragment bytesize: ";
extern const char kRunFirstFragmentBytesize[] = "iFragment bytesize: ";
extern const char kRunFlags[] = "Flags: ";
extern const char kBugTrackerTitleStart[] = "Bug-Tracker 5 Report - Send this information to ";

namespace {

const char* TrueFalse(bool b) {
  return b ? "True" : "False";
}

std::string Error5Report(const SplitErrorFigures& f) {
  return std::string(kSplitFileOccurance) + '\r' + kRunFragmentBytesize +
         std::to_string(f.fragmentSize) + '\r' + kRunFirstFragmentBytesize +
         std::to_string(f.firstFragmentSize) + '\r' + kRunFlags + TrueFalse(f.encryption) +
         TrueFalse(f.multisize) + TrueFalse(f.regeneration) + TrueFalse(f.cabinetIsMultifile) +
         '\r' + kPinpointed + f.stage + '\r' + "FL: " + std::to_string(f.firstFileLength);
}

class PassingGuard final : public SplitGuard {
 public:
  bool Run(const std::function<void()>& step) override {
    step();
    return true;
  }
};

class TrappingGuard final : public SplitGuard {
 public:
  TrappingGuard(ErrorAdvisor& advisor, MessageBoxes& boxes,
                std::function<SplitErrorFigures()> figures, std::function<void()> closeAll)
      : trap_(advisor, [&boxes, figures = std::move(figures),
                        closeAll = std::move(closeAll)](const VbError&) {
          ShowBugTracerNotice(boxes);
          boxes.Show(Error5Report(figures()), BugTrackerTitle(), mb::kOk | mb::kIconInformation);
          closeAll();
        }) {}

  bool Run(const std::function<void()>& step) override {
    return trap_.Run(step) == ErrorTrap::Outcome::kContinue;
  }

 private:
  ErrorTrap trap_;
};

}  // namespace

std::unique_ptr<SplitGuard> MakeSplitGuard(const Platform& platform,
                                           std::function<SplitErrorFigures()> figures,
                                           std::function<void()> closeAll) {
  if (platform.errorAdvisor == nullptr)
    return std::make_unique<PassingGuard>();
  return std::make_unique<TrappingGuard>(*platform.errorAdvisor, platform.boxes, std::move(figures),
                                         std::move(closeAll));
}

}  // namespace vtq
