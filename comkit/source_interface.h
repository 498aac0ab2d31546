#pragma once
// The event interface of a class: the [default, source] entry of its class
// in a type library, which IProvideClassInfo2::GetGUID reports and which
// script hosts connect to.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

namespace vtq::comkit {

// The type info of the class's [default, source] interface; null when the
// class has none.
Microsoft::WRL::ComPtr<ITypeInfo> DefaultSourceInfo(ITypeInfo* coclass);

// Its IID; IID_NULL when the class has none.
IID DefaultSourceOf(ITypeInfo* coclass);

}  // namespace vtq::comkit
