#include "comkit/ole_control_part.h"

#include "comkit/com_barrier.h"

namespace vtq::comkit {

STDMETHODIMP OleControlPart::GetControlInfo(CONTROLINFO* info) try {
  if (!info)
    return E_POINTER;
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
} catch (...) {
  return FailCurrentException(L"GetControlInfo");
}

STDMETHODIMP OleControlPart::FreezeEvents(BOOL freeze) try {
  core_.FreezeEvents(freeze != FALSE);
  return S_OK;
} catch (...) {
  return FailCurrentException(L"FreezeEvents");
}

}  // namespace vtq::comkit
