#include "comkit/in_place_parts.h"

namespace vtq::comkit {

namespace {

HRESULT WindowOf(const ControlCore& core, HWND* out) {
  if (!out)
    return E_POINTER;
  *out = core.Window();
  return *out ? S_OK : E_FAIL;
}

}  // namespace

STDMETHODIMP InPlaceObjectPart::GetWindow(HWND* out) {
  return WindowOf(core_, out);
}

STDMETHODIMP InPlaceObjectPart::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position)
    return E_POINTER;
  return core_.SetObjectRects(*position);
}

STDMETHODIMP InPlaceActiveObjectPart::GetWindow(HWND* out) {
  return WindowOf(core_, out);
}

}  // namespace vtq::comkit
