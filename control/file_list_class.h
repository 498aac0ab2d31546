#pragma once
// FileList: a container's view of an engine object's file list. It holds
// a reference to the object that owns the list, so the list lives as long
// as the view, whoever lets go first.

#include "control/interfaces.h"
#include "engine/file_list.h"

namespace vtq::control {

// A new view of `list`, owned by `owner`, for the caller.
HRESULT MakeFileList(IUnknown* owner, FileList& list, ::FileList** out);

}  // namespace vtq::control
