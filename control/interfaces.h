#pragma once
// The interfaces and identities of the library's type library, as widl
// generates them. Their names meet the engine's classes of the same names
// (FileList, Globals, ActiveSplitter...): the engine's live in namespace
// vtq, these in the global one, so code in vtq names them with "::".

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

// widl writes the declared default of a text parameter (AddFolderContents'
// "*.*") as a default argument, a string literal for a non-const BSTR.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wwrite-strings"
#include "marrowgate32_h.h"
#pragma GCC diagnostic pop
