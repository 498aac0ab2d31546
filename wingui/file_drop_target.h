#pragma once
// An OLE drop target for files. When the dragged data offers a file list
// (CF_HDROP) the callback gets the paths and decides the effect, both while
// the data is dragged over (dropping false) and when it is dropped
// (dropping true); data without a file list gets no effect and no call.
// The effect reported is the callback's answer limited to what the source
// allows.

#include <windows.h>
#include <oleidl.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/win/handles.h"

namespace vtq::wingui {

using DropDecision = std::function<DWORD(const std::vector<std::wstring>& paths, bool dropping)>;

// The paths of a CF_HDROP offer, nullopt when the data has none.
std::optional<std::vector<std::wstring>> OfferedFiles(IDataObject* data);

class FileDropTarget final : public IDropTarget {
 public:
  // A new target with one reference, owned by the result.
  static base::win::ComRef<IDropTarget> Create(DropDecision decide);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  explicit FileDropTarget(DropDecision decide) : decide_(std::move(decide)) {}
  ~FileDropTarget() = default;
  DWORD Decide(IDataObject* data, DWORD allowed, bool dropping);

  std::atomic<ULONG> references_{1};
  DropDecision decide_;
  DWORD dragEffect_ = DROPEFFECT_NONE;  // decided at DragEnter, kept while over
};

// RegisterDragDrop for a window, revoked when the guard goes. Needs
// OleInitialize on the thread.
class DropRegistration {
 public:
  DropRegistration(HWND window, IDropTarget* target);
  ~DropRegistration();
  DropRegistration(const DropRegistration&) = delete;
  DropRegistration& operator=(const DropRegistration&) = delete;
  HRESULT Result() const { return result_; }

 private:
  HWND window_;
  HRESULT result_;
};

}  // namespace vtq::wingui
