#pragma once
// The enumerator a file list hands to for-each: the full names as texts,
// in list order, from a snapshot taken when the walk began, so that the
// container may change the list while it walks it.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace vtq::control {

HRESULT EnumerateNames(std::vector<std::string> names, IUnknown** out);

}  // namespace vtq::control
