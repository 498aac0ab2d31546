#include "comkit/tests/script_host/event_connection.h"

#include "comkit/event_sink.h"
#include "comkit/ref_counted.h"
#include "comkit/source_interface.h"
#include "comkit/tests/script_host/byref_arguments.h"

namespace vtq::script_host {

using Microsoft::WRL::ComPtr;

namespace {

// The class whose [default] interface the object's IDispatch describes,
// for objects without IProvideClassInfo.
ComPtr<ITypeInfo> ClassOfDispatch(IDispatch* object) {
  ComPtr<ITypeInfo> info, found;
  ComPtr<ITypeLib> library;
  UINT index = 0;
  TYPEATTR* attr = nullptr;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) ||
      FAILED(info->GetContainingTypeLib(&library, &index)) || FAILED(info->GetTypeAttr(&attr))) {
    return found;
  }
  const GUID wanted = attr->guid;
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < library->GetTypeInfoCount() && !found; ++i) {
    ComPtr<ITypeInfo> coclass;
    TYPEKIND kind;
    if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS ||
        FAILED(library->GetTypeInfo(i, &coclass)) || FAILED(coclass->GetTypeAttr(&attr))) {
      continue;
    }
    const UINT impls = attr->cImplTypes;
    coclass->ReleaseTypeAttr(attr);
    for (UINT j = 0; j < impls && !found; ++j) {
      INT flags = 0;
      HREFTYPE ref = 0;
      ComPtr<ITypeInfo> implemented;
      TYPEATTR* implAttr = nullptr;
      if (FAILED(coclass->GetImplTypeFlags(j, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
          (flags & IMPLTYPEFLAG_FSOURCE) || FAILED(coclass->GetRefTypeOfImplType(j, &ref)) ||
          FAILED(coclass->GetRefTypeInfo(ref, &implemented)) ||
          FAILED(implemented->GetTypeAttr(&implAttr))) {
        continue;
      }
      if (implAttr->guid == wanted)
        found = coclass;
      implemented->ReleaseTypeAttr(implAttr);
    }
  }
  return found;
}

ComPtr<ITypeInfo> ClassOf(IDispatch* object) {
  ComPtr<IProvideClassInfo> provider;
  ComPtr<ITypeInfo> coclass;
  if (SUCCEEDED(object->QueryInterface(IID_IProvideClassInfo, &provider)) &&
      SUCCEEDED(provider->GetClassInfo(&coclass)) && coclass) {
    return coclass;
  }
  return ClassOfDispatch(object);
}

class Sink final : public comkit::EventSink {
 public:
  Sink(IID events, ComPtr<ITypeInfo> names, std::wstring prefix, IActiveScript* script)
      : EventSink(events), names_(std::move(names)), prefix_(std::move(prefix)), script_(script) {}

  STDMETHODIMP Invoke(DISPID member, REFIID, LCID lcid, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override {
    BSTR name = nullptr;
    UINT count = 0;
    if (FAILED(names_->GetNames(member, &name, 1, &count)) || count == 0)
      return DISP_E_MEMBERNOTFOUND;
    std::wstring handler = prefix_ + name;
    SysFreeString(name);
    ComPtr<IDispatch> script;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {handler.data()};
    if (FAILED(script_->GetScriptDispatch(nullptr, &script)) ||
        FAILED(script->GetIDsOfNames(IID_NULL, names, 1, lcid, &id))) {
      return S_OK;  // no handler: the event is dropped
    }
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ByRefArguments args(params ? *params : none);
    EXCEPINFO exception = {};
    UINT argError = 0;
    // A failing handler has been reported through OnScriptError already.
    script->Invoke(id, IID_NULL, lcid, DISPATCH_METHOD, args.Params(), result, &exception,
                   &argError);
    args.WriteBack();
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return S_OK;
  }

 private:
  ~Sink() override = default;

  ComPtr<ITypeInfo> names_;
  const std::wstring prefix_;
  ComPtr<IActiveScript> script_;
};

}  // namespace

std::unique_ptr<EventConnection> EventConnection::Connect(IDispatch* object,
                                                          const std::wstring& prefix,
                                                          IActiveScript* script, HRESULT* hr) {
  const ComPtr<ITypeInfo> coclass = ClassOf(object);
  const ComPtr<ITypeInfo> events = comkit::DefaultSourceInfo(coclass.Get());
  const IID iid = comkit::DefaultSourceOf(coclass.Get());
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (!events) {
    *hr = E_NOINTERFACE;
    return nullptr;
  }
  *hr = object->QueryInterface(IID_IConnectionPointContainer, &container);
  if (SUCCEEDED(*hr))
    *hr = container->FindConnectionPoint(iid, &point);
  if (FAILED(*hr))
    return nullptr;
  ComPtr<IDispatch> sink;
  *hr = comkit::CreateObject<Sink>(IID_IDispatch, &sink, iid, events, prefix, script);
  if (FAILED(*hr))
    return nullptr;
  DWORD cookie = 0;
  *hr = point->Advise(sink.Get(), &cookie);
  if (FAILED(*hr))
    return nullptr;
  return std::make_unique<EventConnection>(std::move(point), cookie);
}

EventConnection::~EventConnection() {
  point_->Unadvise(cookie_);
}

}  // namespace vtq::script_host
