#pragma once
// One object's events delivered to the script, as classic clients name
// their handlers: event "Said" of an object connected with prefix "ctl_"
// calls the script's Sub ctl_Said. The object's event interface is the
// [default, source] one of its class (IProvideClassInfo, or else the class
// of its type library whose default interface its IDispatch describes).
// Events without a handler are dropped. The connection ends with this
// object.

#include <windows.h>
#include <activscp.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>

namespace vtq::script_host {

class EventConnection {
 public:
  // Null with the failure in *hr when the object raises no events the
  // host can find or connect to.
  static std::unique_ptr<EventConnection> Connect(IDispatch* object, const std::wstring& prefix,
                                                  IActiveScript* script, HRESULT* hr);
  EventConnection(Microsoft::WRL::ComPtr<IConnectionPoint> point, DWORD cookie)
      : point_(std::move(point)), cookie_(cookie) {}
  ~EventConnection();
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;

 private:
  Microsoft::WRL::ComPtr<IConnectionPoint> point_;
  DWORD cookie_;
};

}  // namespace vtq::script_host
