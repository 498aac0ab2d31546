#include "wingui/file_drop_target.h"

#include <shellapi.h>

namespace vtq::wingui {

std::optional<std::vector<std::wstring>> OfferedFiles(IDataObject* data) {
  if (data == nullptr)
    return std::nullopt;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium)))
    return std::nullopt;
  std::vector<std::wstring> paths;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
    auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    if (drop != nullptr) {
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(std::move(path));
      }
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return paths;
}

base::win::ComRef<IDropTarget> FileDropTarget::Create(DropDecision decide) {
  return base::win::ComRef<IDropTarget>(new FileDropTarget(std::move(decide)));
}

HRESULT FileDropTarget::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() {
  return ++references_;
}

ULONG FileDropTarget::Release() {
  const ULONG left = --references_;
  if (left == 0)
    delete this;
  return left;
}

DWORD FileDropTarget::Decide(IDataObject* data, DWORD allowed, bool dropping) {
  const auto paths = OfferedFiles(data);
  if (!paths || !decide_)
    return DROPEFFECT_NONE;
  return decide_(*paths, dropping) & allowed;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (effect == nullptr || data == nullptr)
    return E_INVALIDARG;
  dragEffect_ = Decide(data, *effect, false);
  *effect = dragEffect_;
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect == nullptr)
    return E_INVALIDARG;
  *effect = dragEffect_ & *effect;
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  dragEffect_ = DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (effect == nullptr || data == nullptr)
    return E_INVALIDARG;
  dragEffect_ = DROPEFFECT_NONE;
  *effect = Decide(data, *effect, true);
  return S_OK;
}

DropRegistration::DropRegistration(HWND window, IDropTarget* target)
    : window_(window), result_(RegisterDragDrop(window, target)) {}

DropRegistration::~DropRegistration() {
  if (SUCCEEDED(result_))
    RevokeDragDrop(window_);
}

}  // namespace vtq::wingui
