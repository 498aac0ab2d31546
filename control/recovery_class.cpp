// ActiveRecovery: the recovery commands of the operations layer for
// scripts and containers (write a series' recovery files, verify it, repair
// it), their progress raised through the connection point of
// __ActiveRecovery. The control's engine build checks neither check digits
// nor passphrases, so a checkable or encrypted series is refused rather
// than judged without them.

#include <algorithm>
#include <limits>
#include <utility>

#include "app/operations/series_recovery.h"
#include "app/operations/series_side_files.h"
#include "app/operations/series_verdict.h"
#include "comkit/connection_point.h"
#include "control/by_ref_arguments.h"
#include "control/classes.h"
#include "control/event_source.h"
#include "control/com_values.h"
#include "control/event_args.h"
#include "control/interfaces.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"

namespace vtq::control {
namespace {

enum RecoveryEvent : DISPID { kProgress = 1, kStepEnded };

constexpr const char kRecoverySource[] = "ActiveRecovery";
// The class's own refusals, numbered as a component's errors are.
constexpr int32_t kNotASeries = err::kObjectErrorBase + 3001;
constexpr int32_t kProtectedSeries = err::kObjectErrorBase + 3002;
constexpr int32_t kNoRecoveryWritten = err::kObjectErrorBase + 3003;
constexpr int32_t kNoRepair = err::kObjectErrorBase + 3004;
// The classic "Invalid property value".
constexpr int32_t kInvalidPropertyValue = 380;

[[noreturn]] void Refuse(int32_t number, const std::string& description) {
  Raise(number, kRecoverySource, description);
}

// A step's bytes as two 32-bit numbers, halved together until the total fits.
std::pair<int32_t, int32_t> AsLongs(uint64_t done, uint64_t total) {
  while (total > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    done >>= 1;
    total >>= 1;
  }
  return {static_cast<int32_t>(std::min(done, total)), static_cast<int32_t>(total)};
}

class RecoveryObject final
    : public EventSource<_ActiveRecovery, DIID___ActiveRecovery, CLSID_ActiveRecovery>,
      private RecoveryEvents {
 public:
  explicit RecoveryObject(std::shared_ptr<EngineHost> host) : host_(std::move(host)) {}

  STDMETHODIMP get_FirstFragment(BSTR* result) override try {
    return ToBstr(firstFragment_, result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_FirstFragment(BSTR value) override try {
    firstFragment_ = EngineText(value);
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_RecoveryPercent(double* result) override {
    if (!result)
      return E_POINTER;
    *result = percent_;
    return S_OK;
  }
  STDMETHODIMP put_RecoveryPercent(double value) override try {
    return Guarded([&] {
      if (!(value > 0 && value <= 100))
        Refuse(kInvalidPropertyValue,
               "The share of recovery data is a percentage: more than 0, "
               "at most 100.");
      percent_ = value;
    });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

  STDMETHODIMP WriteRecoveryFiles() override try {
    Microsoft::WRL::ComPtr<_ActiveRecovery> self(this);
    return Guarded([&] {
      const SeriesOutline outline = ReadableSeries();
      WriteRecoveryRequest request;
      request.fragments = SeriesFragmentNames(firstFragment_, outline.fragments);
      request.amount.percent = percent_;
      const WriteRecoveryResult written = WriteSeriesRecovery(request, *this);
      switch (written.stop) {
        case WriteRecoveryStop::kNone:
          rebuildable_ = static_cast<int32_t>(std::min<uint64_t>(
              written.fragmentsRebuildable, std::numeric_limits<int32_t>::max()));
          return;
        case WriteRecoveryStop::kFragmentNotThere:
          Refuse(kNoRecoveryWritten,
                 written.absentFragment +
                     " is not there: recovery files need every fragment of the series in one "
                     "folder. No recovery files were written.");
        case WriteRecoveryStop::kBeyondLimits:
          Refuse(kNoRecoveryWritten,
                 "The series is beyond what recovery files can cover (at most 32768 slices and "
                 "65535 recovery slices). No recovery files were written.");
        case WriteRecoveryStop::kOutOfMemory:
          Raise(err::kOutOfMemory);
        case WriteRecoveryStop::kEngineError: {
          VbError error(written.error.number, {}, written.error.description);
          error.SetFileName(written.error.file);
          throw error;
        }
      }
    });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

  STDMETHODIMP Verify(VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = VARIANT_FALSE;
    Microsoft::WRL::ComPtr<_ActiveRecovery> self(this);
    return Guarded([&] {
      CheckableHere(ReadableSeries());
      *result = Bool(Judge());
    });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

  // Rebuilds, then judges the result as Verify does: one verdict, in the
  // same words, whichever was called.
  STDMETHODIMP Repair(VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = VARIANT_FALSE;
    Microsoft::WRL::ComPtr<_ActiveRecovery> self(this);
    return Guarded([&] {
      // A lost first fragment is one the recovery files can rebuild too;
      // what it says of the series is read once it is back.
      const bool firstLost = !CanOpenForReading(firstFragment_) && HasRecoveryFiles(firstFragment_);
      if (!firstLost)
        CheckableHere(ReadableSeries());
      RepairRequest request;
      request.series.firstFragment = firstFragment_;
      request.verifyAfter = false;
      const SeriesRepair repaired = RepairSeries(request, host_->Engine(), *this);
      switch (repaired.repair.stop) {
        case RepairStop::kNone:
          break;
        case RepairStop::kNoRecoveryFiles:
          Refuse(kNoRepair, "The series has no recovery files (" +
                                BaseName(repaired.repair.indexFile) + "); nothing was repaired.");
        case RepairStop::kSetRefused:
          Refuse(kNoRepair, "The recovery files are not used: " + repaired.repair.refusal +
                                ". Nothing was repaired.");
        case RepairStop::kNoCompleteSet:
          Refuse(kNoRepair,
                 "The recovery files hold no complete recovery set; nothing was repaired.");
      }
      if (repaired.repair.error)
        throw VbError(repaired.repair.error->number, {}, repaired.repair.error->description);
      if (repaired.repair.outOfMemory)
        Raise(err::kOutOfMemory);
      if (firstLost)
        CheckableHere(ReadableSeries());
      *result = Bool(Judge() && repaired.repair.Whole());
    });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

  STDMETHODIMP get_FragmentCount(long* result) override { return Count(fragments_, result); }
  STDMETHODIMP get_SoundFragments(long* result) override { return Count(sound_, result); }
  STDMETHODIMP get_MissingFragments(long* result) override { return Count(missing_, result); }
  STDMETHODIMP get_DamagedFragments(long* result) override { return Count(damaged_, result); }
  STDMETHODIMP get_RebuildableFragments(long* result) override {
    return Count(rebuildable_, result);
  }
  STDMETHODIMP get_Repairable(VARIANT_BOOL* result) override {
    if (!result)
      return E_POINTER;
    *result = Bool(repairable_);
    return S_OK;
  }
  STDMETHODIMP get_Verdict(BSTR* result) override try {
    return ToBstr(verdict_, result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  static HRESULT Count(int32_t value, long* result) {
    if (!result)
      return E_POINTER;
    *result = value;
    return S_OK;
  }

  SeriesOutline ReadableSeries() {
    const SeriesOutline outline = OutlineSeries(firstFragment_, aftRaw, host_->Engine());
    if (!outline.readable || outline.fragments <= 0) {
      Refuse(kNotASeries,
             "\"" + firstFragment_ + "\" could not be read as the first fragment of a series.");
    }
    return outline;
  }

  static void CheckableHere(const SeriesOutline& outline) {
    if (outline.checkable || outline.encrypted) {
      Refuse(kProtectedSeries,
             "Check digits and encryption unsupported in this version of ActiveVantrelloquin: "
             "the series cannot be verified or repaired here.");
    }
  }

  // Verify's verdict, kept for the result properties; whether it is sound.
  bool Judge() {
    VerifyRequest request;
    request.firstFragment = firstFragment_;
    const SeriesVerification v = VerifySeriesAndRecovery(request, host_->Engine());
    const VerifyBox box = VerifyBoxFor(v, "call Repair");
    fragments_ = v.report.fragments;
    missing_ = box.missing;
    damaged_ = box.damaged;
    sound_ = std::max(0, fragments_ - missing_ - damaged_);
    repairable_ = box.repairable;
    rebuildable_ = static_cast<int32_t>(
        std::min<uint64_t>(box.moreRebuildable, std::numeric_limits<int32_t>::max()));
    verdict_ = box.text;
    return box.sound;
  }

  void Progress(uint64_t done, uint64_t total) override {
    const auto [d, t] = AsLongs(done, total);
    Fire(kProgress, {LongArg(d), LongArg(t)});
  }
  void StepEnded() override { Fire(kStepEnded, {}); }

  std::shared_ptr<EngineHost> host_;
  std::string firstFragment_;
  double percent_ = 10;
  int32_t fragments_ = 0;
  int32_t sound_ = 0;
  int32_t missing_ = 0;
  int32_t damaged_ = 0;
  int32_t rebuildable_ = 0;
  bool repairable_ = false;
  std::string verdict_;
};

}  // namespace

HRESULT MakeActiveRecovery(std::shared_ptr<EngineHost> host, REFIID riid, void** out) {
  return comkit::CreateObject<RecoveryObject>(riid, out, std::move(host));
}

HRESULT CreateActiveRecovery(REFIID riid, void** out) {
  return MakeActiveRecovery(EngineHost::ForProcess(), riid, out);
}

}  // namespace vtq::control
