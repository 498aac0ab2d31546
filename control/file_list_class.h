#pragma once
// FileList: a container's view of an engine object's file list. It holds
// a reference to the object that owns the list, so the list lives as long
// as the view, whoever lets go first. While a container holds the view,
// the owner hands out that same view again: a list is one object to its
// container.

#include "control/interfaces.h"
#include "engine/file_list.h"

namespace vtq::control {

// The owner's note of its list's view while one exists; the view clears it
// when it goes.
struct FileListSlot {
  ::FileList* view = nullptr;
};

// The view of `list`, owned by `owner`, for the caller: the one in `slot`,
// or a new one noted there.
HRESULT GetFileList(IUnknown* owner, FileList& list, FileListSlot& slot, ::FileList** out);

}  // namespace vtq::control
