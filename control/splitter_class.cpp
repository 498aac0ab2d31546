// ActiveSplitter: the engine's splitter for containers, its events raised
// through the connection point of __ActiveSplitter.

#include <utility>

#include "comkit/connection_point.h"
#include "control/by_ref_arguments.h"
#include "control/classes.h"
#include "control/event_source.h"
#include "control/com_values.h"
#include "control/event_args.h"
#include "control/file_list_class.h"
#include "control/interfaces.h"
#include "engine/splitter.h"

namespace vtq::control {
namespace {

enum SplitterEvent : DISPID { kSplitStart = 1, kSplitInterval, kRequireNextDisk, kNotEnoughSpace };

class SplitterObject final
    : public EventSource<_ActiveSplitter, DIID___ActiveSplitter, CLSID_ActiveSplitter>,
      private SplitterEvents {
 public:
  explicit SplitterObject(std::shared_ptr<EngineHost> host)
      : host_(std::move(host)), splitter_(host_->Engine(), *this) {}

  STDMETHODIMP get_FilesToSplit(::FileList** result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    HRESULT hr = S_OK;
    const HRESULT run = Guarded([&] {
      hr = GetFileList(static_cast<_ActiveSplitter*>(this), splitter_.FilesToSplit(), listSlot_,
                       result);
    });
    return FAILED(run) ? run : hr;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_DestinationFolder(BSTR* result) override try {
    return ToBstr(splitter_.DestinationFolder(), result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_DestinationFolder(BSTR value) override try {
    return Guarded([&] { splitter_.SetDestinationFolder(EngineText(value)); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FragsNeeded(VARIANT file, short* result) override try {
    if (!result)
      return E_POINTER;
    const auto index = IndexOf(file);
    if (!index)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] { *result = splitter_.FragsNeeded(*index); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FileFormat(::AftFileFormat* result) override try {
    if (!result)
      return E_POINTER;
    *result = static_cast<::AftFileFormat>(splitter_.FileFormat());
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_FileFormat(::AftFileFormat value) override try {
    return Guarded([&] { splitter_.SetFileFormat(value); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FragmentSize(::AftFileSize* result) override try {
    if (!result)
      return E_POINTER;
    *result = static_cast<::AftFileSize>(splitter_.FragmentSize());
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  // The size is clamped to the supported range, and the caller's variable
  // receives the clamped value.
  STDMETHODIMP put_FragmentSize(::AftFileSize* value) override try {
    if (!value)
      return E_POINTER;
    int32_t size = *value;
    const HRESULT hr = Guarded([&] { splitter_.SetFragmentSize(size); });
    *value = static_cast<::AftFileSize>(size);
    return hr;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FragmentSizeAtStart(::AftFileSize* result) override try {
    if (!result)
      return E_POINTER;
    *result = static_cast<::AftFileSize>(splitter_.FragmentSizeAtStart());
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_FragmentSizeAtStart(::AftFileSize* value) override try {
    if (!value)
      return E_POINTER;
    int32_t size = *value;
    const HRESULT hr = Guarded([&] { splitter_.SetFragmentSizeAtStart(size); });
    *value = static_cast<::AftFileSize>(size);
    return hr;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_DifferentSizeAtStart(VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = Bool(splitter_.DifferentSizeAtStart());
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_DifferentSizeAtStart(VARIANT_BOOL value) override try {
    return Guarded([&] { splitter_.SetDifferentSizeAtStart(value != VARIANT_FALSE); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Split() override try {
    // Events may let the container's last reference go before the run ends.
    Microsoft::WRL::ComPtr<_ActiveSplitter> self(this);
    return Guarded([&] { splitter_.Split(); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_EnoughDiskSpace(BSTR drive, VARIANT file, VARIANT_BOOL freespace,
                                   VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    const auto index = IndexOf(file);
    if (!index)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] {
      *result =
          Bool(splitter_.EnoughDiskSpace(EngineText(drive), *index, freespace != VARIANT_FALSE));
    });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  void SplitStart(int32_t pbMax) override { Fire(kSplitStart, {LongArg(pbMax)}); }
  void SplitInterval(int32_t pbCurrent) override { Fire(kSplitInterval, {LongArg(pbCurrent)}); }
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
    VARIANT_BOOL answer = Bool(cancel);
    Fire(kRequireNextDisk, {ShortArg(diskNumber), comkit::ByRef(&answer)});
    cancel = answer != VARIANT_FALSE;
  }
  void NotEnoughDiskSpace(bool& cancel) override {
    VARIANT_BOOL answer = Bool(cancel);
    Fire(kNotEnoughSpace, {comkit::ByRef(&answer)});
    cancel = answer != VARIANT_FALSE;
  }

  std::shared_ptr<EngineHost> host_;
  FileListSlot listSlot_;
  ActiveSplitter splitter_;
};

}  // namespace

HRESULT MakeActiveSplitter(std::shared_ptr<EngineHost> host, REFIID riid, void** out) {
  return comkit::CreateObject<SplitterObject>(riid, out, std::move(host));
}

HRESULT CreateActiveSplitter(REFIID riid, void** out) {
  return MakeActiveSplitter(EngineHost::ForProcess(), riid, out);
}

}  // namespace vtq::control
