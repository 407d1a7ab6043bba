#include "ui/anchor_layout.h"

#include <commctrl.h>

#include <algorithm>

namespace orv::ui {
namespace {

bool IsClass(HWND control, const wchar_t* name) {
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  return lstrcmpiW(className, name) == 0;
}

// One axis: both anchors stretch, the far one alone moves.
void Follow(LONG& nearEdge, LONG& farEdge, int delta, bool anchoredNear, bool anchoredFar) {
  if (anchoredFar && anchoredNear) {
    farEdge = std::max(nearEdge, farEdge + delta);
  } else if (anchoredFar) {
    nearEdge += delta;
    farEdge += delta;
  }
}

}  // namespace

void AnchorLayout::Begin(HWND parent) {
  RECT client{};
  GetClientRect(parent, &client);
  Begin(parent, {client.right, client.bottom});
}

void AnchorLayout::Begin(HWND parent, SIZE design) {
  parent_ = parent;
  design_ = design;
  items_.clear();
}

RECT AnchorLayout::PlaceInParent(HWND control) const {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void AnchorLayout::Add(HWND control, unsigned anchors) {
  if (control) items_.push_back({control, PlaceInParent(control), anchors});
}

void AnchorLayout::AddAt(HWND control, const RECT& design, unsigned anchors) {
  if (control) items_.push_back({control, design, anchors});
}

void AnchorLayout::AddByGeometry(int margin) {
  int listBottom = -1;
  for (HWND child = GetWindow(parent_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsClass(child, WC_LISTVIEWW)) listBottom = PlaceInParent(child).bottom;
  for (HWND child = GetWindow(parent_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = PlaceInParent(child);
    const bool isList = IsClass(child, WC_LISTVIEWW);
    const bool reachesRight = r.right >= design_.cx - margin;
    unsigned anchors = kAnchorTopLeft;
    if (reachesRight) anchors = IsClass(child, WC_BUTTONW) ? (anchors & ~kAnchorLeft) | kAnchorRight
                                                           : anchors | kAnchorRight;
    if (isList) anchors |= kAnchorBottom;
    else if (listBottom >= 0 && r.top >= listBottom) anchors = (anchors & ~kAnchorTop) | kAnchorBottom;
    items_.push_back({child, r, anchors});
  }
}

void AnchorLayout::Apply() const {
  if (!parent_ || items_.empty()) return;
  RECT client{};
  GetClientRect(parent_, &client);
  const int dx = client.right - design_.cx, dy = client.bottom - design_.cy;
  for (const Item& item : items_) {
    RECT r = item.design;
    Follow(r.left, r.right, dx, item.anchors & kAnchorLeft, item.anchors & kAnchorRight);
    Follow(r.top, r.bottom, dy, item.anchors & kAnchorTop, item.anchors & kAnchorBottom);
    MoveWindow(item.control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

}  // namespace orv::ui
