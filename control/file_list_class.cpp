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

  STDMETHODIMP Clear() override {
    return Guarded([&] { list_.Clear(); });
  }
  STDMETHODIMP Add(BSTR filename, short* result) override {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = list_.Add(EngineText(filename)); });
  }
  STDMETHODIMP AddFolderContents(BSTR folder, BSTR pattern) override {
    // A caller that leaves the pattern out gets the declared default; one
    // that passes a null text means the empty pattern, which finds nothing.
    return Guarded([&] { list_.AddFolderContents(EngineText(folder), EngineText(pattern)); });
  }
  STDMETHODIMP Count(short* result) override {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = list_.Count(); });
  }
  STDMETHODIMP Remove(VARIANT index) override {
    const auto place = IndexOf(index);
    if (!place)
      return DISP_E_TYPEMISMATCH;
    return Guarded([&] { list_.Remove(*place); });
  }
  STDMETHODIMP get_Item(VARIANT index, BSTR* result) override {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    const auto place = IndexOf(index);
    if (!place)
      return DISP_E_TYPEMISMATCH;
    HRESULT hr = S_OK;
    const HRESULT run = Guarded([&] { hr = ToBstr(list_.Item(*place), result); });
    return FAILED(run) ? run : hr;
  }
  STDMETHODIMP NewEnum(IUnknown** result) override {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    return EnumerateNames(list_.NewEnum(), result);
  }
  STDMETHODIMP get_SmallestFile(LONG* result) override {
    if (!result)
      return E_POINTER;
    return Guarded([&] { *result = list_.SmallestFile(); });
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
