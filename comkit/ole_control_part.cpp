#include "comkit/ole_control_part.h"

namespace vtq::comkit {

STDMETHODIMP OleControlPart::GetControlInfo(CONTROLINFO* info) {
  if (!info)
    return E_POINTER;
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP OleControlPart::FreezeEvents(BOOL freeze) {
  core_.FreezeEvents(freeze != FALSE);
  return S_OK;
}

}  // namespace vtq::comkit
