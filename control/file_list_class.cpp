#include "control/file_list_class.h"

#include <wrl/client.h>

#include "comkit/dispatch_object.h"
#include "control/com_values.h"
#include "control/name_enumerator.h"

namespace vtq::control {
namespace {

class FileListObject final : public comkit::DispatchObject<::FileList> {
 public:
  FileListObject(IUnknown* owner, vtq::FileList& list, FileListSlot& slot)
      : owner_(owner), list_(list), slot_(slot) {}

  STDMETHODIMP Clear() override try {
    return Guarded([&] { list_.Clear(); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Add(BSTR filename, short* result) override try {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = list_.Add(EngineText(filename)); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP AddFolderContents(BSTR folder, BSTR pattern) override try {
    // A caller that leaves the pattern out gets the declared default; one
    // that passes a null text means the empty pattern, which finds nothing.
    return Guarded([&] { list_.AddFolderContents(EngineText(folder), EngineText(pattern)); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Count(short* result) override try {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = list_.Count(); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Remove(VARIANT index) override try {
    const auto place = IndexOf(index);
    if (!place)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] { list_.Remove(*place); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_Item(VARIANT index, BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    const auto place = IndexOf(index);
    if (!place)
      return DISP_E_TYPEMISMATCH;
    HRESULT hr = S_OK;
    const HRESULT run = Guarded([&] { hr = ToBstr(list_.Item(*place), result); });
    return FAILED(run) ? run : hr;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP NewEnum(IUnknown** result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    return EnumerateNames(list_.NewEnum(), result);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP get_SmallestFile(LONG* result) override try {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = list_.SmallestFile(); });
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  // The slot lies in the owner, which the view keeps alive until after this.
  ~FileListObject() override { slot_.view = nullptr; }
  Microsoft::WRL::ComPtr<IUnknown> owner_;
  vtq::FileList& list_;
  FileListSlot& slot_;
};

}  // namespace

HRESULT GetFileList(IUnknown* owner, FileList& list, FileListSlot& slot, ::FileList** out) {
  if (!out)
    return E_POINTER;
  if (slot.view) {
    slot.view->AddRef();
    *out = slot.view;
    return S_OK;
  }
  const HRESULT hr = comkit::CreateObject<FileListObject>(
      __uuidof(::FileList), reinterpret_cast<void**>(out), owner, list, slot);
  if (SUCCEEDED(hr))
    slot.view = *out;
  return hr;
}

}  // namespace vtq::control
