#include "comkit/in_place_parts.h"

#include "comkit/com_barrier.h"

namespace vtq::comkit {

namespace {

HRESULT WindowOf(const ControlCore& core, HWND* out) {
  if (!out)
    return E_POINTER;
  *out = core.Window();
  return *out ? S_OK : E_FAIL;
}

}  // namespace

STDMETHODIMP InPlaceObjectPart::GetWindow(HWND* out) try {
  return WindowOf(core_, out);
} catch (...) {
  return FailCurrentException(L"GetWindow");
}

STDMETHODIMP InPlaceObjectPart::SetObjectRects(LPCRECT position, LPCRECT) try {
  if (!position)
    return E_POINTER;
  return core_.SetObjectRects(*position);
} catch (...) {
  return FailCurrentException(L"SetObjectRects");
}

STDMETHODIMP InPlaceActiveObjectPart::GetWindow(HWND* out) try {
  return WindowOf(core_, out);
} catch (...) {
  return FailCurrentException(L"GetWindow");
}

}  // namespace vtq::comkit
