#include "helperlib/core/window_place.h"

#include "helperlib/core/path_words.h"

namespace orrin {

std::optional<RECT> DesktopWorkArea() {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
    return std::nullopt;
  return area;
}

POINT AnchoredOrigin(SIZE size, const RECT& area, Anchor anchor) {
  const LONG left = area.left, right = area.right - size.cx;
  const LONG top = area.top, bottom = area.bottom - size.cy;
  const LONG middleX = area.left + (area.right - area.left - size.cx) / 2;
  const LONG middleY = area.top + (area.bottom - area.top - size.cy) / 2;
  switch (anchor) {
    case Anchor::kTopLeft:
      return {left, top};
    case Anchor::kTopRight:
      return {right, top};
    case Anchor::kCenter:
      return {middleX, middleY};
    case Anchor::kBottomLeft:
      return {left, bottom};
    case Anchor::kBottomRight:
      return {right, bottom};
    case Anchor::kBottomCenter:
      return {middleX, bottom};
    case Anchor::kTopCenter:
      return {middleX, top};
    case Anchor::kCenterLeft:
      return {left, middleY};
    case Anchor::kCenterRight:
      return {right, middleY};
    case Anchor::kNoChange:
      break;
  }
  return {area.left, area.top};
}

bool MoveToAnchor(HWND window, Anchor anchor) {
  if (!IsWindow(window))
    return false;
  if (anchor == Anchor::kNoChange)
    return true;
  const auto area = DesktopWorkArea();
  RECT rect{};
  if (!area || !GetWindowRect(window, &rect))
    return false;
  const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  const POINT at = AnchoredOrigin(size, *area, anchor);
  return SetWindowPos(window, nullptr, at.x, at.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

bool CenterOver(HWND window, HWND parent) {
  RECT rect{}, client{};
  if (!IsWindow(window) || !IsWindow(parent) || !GetWindowRect(window, &rect) ||
      !GetClientRect(parent, &client)) {
    return false;
  }
  const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  POINT at = AnchoredOrigin(size, client, Anchor::kCenter);
  // A child is placed in its parent's client coordinates, anything else on
  // the screen.
  const bool child = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
  const HWND frame = child ? GetParent(window) : nullptr;
  MapWindowPoints(parent, frame, &at, 1);
  return SetWindowPos(window, nullptr, at.x, at.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

PositionValueNames PositionNames(const std::wstring& key) {
  const std::wstring name = ParentPath(key, PathPart::kLast);
  return {name + L" top", name + L" left", name + L" width", name + L" height", name + L" state"};
}

bool SaveWindowPosition(Registry& registry, HWND window, HKEY root, const std::wstring& key) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!IsWindow(window) || !GetWindowPlacement(window, &placement))
    return false;
  // The restored rectangle is in work-area coordinates; the values are in
  // screen coordinates, as the window's own position is.
  RECT rect = placement.rcNormalPosition;
  if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    if (const auto area = DesktopWorkArea())
      OffsetRect(&rect, area->left, area->top);
  }
  const int state = IsIconic(window) ? 1 : IsZoomed(window) ? 2 : 0;
  const PositionValueNames names = PositionNames(key);
  return registry.SetNumber(root, key, names.top, rect.top) &&
         registry.SetNumber(root, key, names.left, rect.left) &&
         registry.SetNumber(root, key, names.width, rect.right - rect.left) &&
         registry.SetNumber(root, key, names.height, rect.bottom - rect.top) &&
         registry.SetNumber(root, key, names.state, state);
}

bool LoadWindowPosition(Registry& registry, HWND window, HKEY root, const std::wstring& key,
                        Anchor fallback) {
  if (!IsWindow(window))
    return false;
  const PositionValueNames names = PositionNames(key);
  const auto top = registry.GetNumber(root, key, names.top);
  const auto left = registry.GetNumber(root, key, names.left);
  const auto width = registry.GetNumber(root, key, names.width);
  const auto height = registry.GetNumber(root, key, names.height);
  const auto state = registry.GetNumber(root, key, names.state);
  bool usable = top && left && width && height && *width > 0 && *height > 0;
  RECT rect{};
  if (usable) {
    rect = {*left, *top, *left + *width, *top + *height};
    usable = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
  }
  if (!usable) {
    MoveToAnchor(window, fallback);
    return false;
  }
  if (IsIconic(window) || IsZoomed(window))
    ShowWindow(window, SW_RESTORE);
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (state.value_or(0) == 2)
    ShowWindow(window, SW_MAXIMIZE);
  return true;
}

}  // namespace orrin
