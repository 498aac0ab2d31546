#pragma once
// Where windows go: the desktop's work area, the nine anchor positions of
// wp_DefPos, centring, and window positions kept in the registry.

#include <windows.h>

#include <optional>
#include <string>

#include "helperlib/core/registry.h"

namespace orrin {

// The desktop without the task bar; nullopt when the system does not say.
std::optional<RECT> DesktopWorkArea();

// The values of wp_DefPos.
enum class Anchor {
  kNoChange = 0,
  kTopLeft = 1,
  kTopRight = 2,
  kCenter = 3,
  kBottomLeft = 4,
  kBottomRight = 5,
  kBottomCenter = 6,
  kTopCenter = 7,
  kCenterLeft = 8,
  kCenterRight = 9,
};

// The top-left corner for a window of `size` at `anchor` of `area`.
POINT AnchoredOrigin(SIZE size, const RECT& area, Anchor anchor);

// Moves a top-level window to an anchor position of the work area.
bool MoveToAnchor(HWND window, Anchor anchor);
// Centres a window in its parent's client area (a child window) or over
// it (an owned or top-level window).
bool CenterOver(HWND window, HWND parent);

// The names of the five values under the key: its last element followed by
// " top", " left", " width", " height" and " state".
struct PositionValueNames {
  std::wstring top, left, width, height, state;
};
PositionValueNames PositionNames(const std::wstring& key);

// The window's restored rectangle (not the one of its minimised or
// maximised form) and its state: 0 normal, 1 minimised, 2 maximised.
bool SaveWindowPosition(Registry& registry, HWND window, HKEY root, const std::wstring& key);
// Puts the window where it was saved. A window that was minimised comes
// back normal; a stored place on no monitor counts as nothing stored. With
// nothing stored the window goes to `fallback`. True when a stored
// position was used.
bool LoadWindowPosition(Registry& registry, HWND window, HKEY root, const std::wstring& key,
                        Anchor fallback);

}  // namespace orrin
