// ActiveAssembler: the engine's assembler for containers, its events raised
// through the connection point of __ActiveAssembler. The control's engine
// build neither deciphers nor verifies.

#include <utility>

#include "comkit/connection_point.h"
#include "control/by_ref_arguments.h"
#include "control/classes.h"
#include "control/event_source.h"
#include "control/com_values.h"
#include "control/event_args.h"
#include "control/file_list_class.h"
#include "control/interfaces.h"
#include "engine/assembler.h"

namespace vtq::control {
namespace {

enum AssemblerEvent : DISPID { kAssembleStart = 1, kAssembleInterval, kRequireNextDisk };

class AssemblerObject final
    : public EventSource<_ActiveAssembler, DIID___ActiveAssembler, CLSID_ActiveAssembler>,
      private AssemblerEvents {
 public:
  explicit AssemblerObject(std::shared_ptr<EngineHost> host)
      : host_(std::move(host)), assembler_(host_->Engine(), *this) {}

  STDMETHODIMP get_FilesToAssemble(::FileList** result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    return GetFileList(static_cast<_ActiveAssembler*>(this), assembler_.FilesToAssemble(),
                       listSlot_, result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_DestinationFolder(BSTR* result) override try {
    return ToBstr(assembler_.DestinationFolder(), result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_DestinationFolder(BSTR value) override try {
    return Guarded([&] { assembler_.DestinationFolder(EngineText(value)); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FormatCouldBe(VARIANT filename, ::AftFileFormat format,
                                 VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    const auto index = IndexOf(filename);
    if (!index)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] {
      *result = Bool(assembler_.FormatCouldBe(*index, static_cast<AftFileFormat>(format)));
    });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FileFormat(VARIANT filename, ::AftFileFormat* result) override try {
    if (!result)
      return E_POINTER;
    const auto index = IndexOf(filename);
    if (!index)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] { *result = static_cast<::AftFileFormat>(assembler_.FileFormat(*index)); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP put_FormatForUnknowns(::AftFileFormat* value) override try {
    if (!value)
      return E_POINTER;
    assembler_.FormatForUnknowns(static_cast<AftFileFormat>(*value));
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FormatForUnknowns(::AftFileFormat* result) override try {
    if (!result)
      return E_POINTER;
    *result = static_cast<::AftFileFormat>(assembler_.FormatForUnknowns());
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_FragmentCount(VARIANT filename, short* result) override try {
    if (!result)
      return E_POINTER;
    const auto index = IndexOf(filename);
    if (!index)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] { *result = assembler_.FragmentCount(*index); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  // Empty (not text) for a FormatForUnknowns outside the three formats.
  STDMETHODIMP get_AssembledFilename(VARIANT filename, VARIANT* result) override try {
    if (!result)
      return E_POINTER;
    VariantInit(result);
    const auto index = IndexOf(filename);
    if (!index)
      return DISP_E_TYPEMISMATCH;
    HRESULT hr = S_OK;
    const HRESULT run = Guarded([&] {
      if (const auto name = assembler_.AssembledFilename(*index)) {
        V_VT(result) = VT_BSTR;
        hr = ToBstr(*name, &V_BSTR(result));
        if (FAILED(hr))
          V_VT(result) = VT_EMPTY;
      }
    });
    return FAILED(run) ? run : hr;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Assemble() override try {
    // Events may let the container's last reference go before the run ends.
    Microsoft::WRL::ComPtr<_ActiveAssembler> self(this);
    return Guarded([&] { assembler_.Assemble(); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  void AssembleStart(int16_t pbMax) override { Fire(kAssembleStart, {ShortArg(pbMax)}); }
  void AssembleInterval(int16_t pbCurrent) override {
    Fire(kAssembleInterval, {ShortArg(pbCurrent)});
  }
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override {
    VARIANT_BOOL answer = Bool(cancel);
    Fire(kRequireNextDisk, {ShortArg(diskNumber), comkit::ByRef(&answer)});
    cancel = answer != VARIANT_FALSE;
  }

  std::shared_ptr<EngineHost> host_;
  FileListSlot listSlot_;
  ActiveAssembler assembler_;
};

}  // namespace

HRESULT MakeActiveAssembler(std::shared_ptr<EngineHost> host, REFIID riid, void** out) {
  return comkit::CreateObject<AssemblerObject>(riid, out, std::move(host));
}

HRESULT CreateActiveAssembler(REFIID riid, void** out) {
  return MakeActiveAssembler(EngineHost::ForProcess(), riid, out);
}

}  // namespace vtq::control
