// Controls that keep their distance to the edges of their parent's client area as it is sized:
// anchored left and right a control stretches, anchored right only it moves; the same for top
// and bottom. The design is the client area and the controls' places when they were added.
#pragma once
#include <windows.h>

#include <vector>

namespace orv::ui {

enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
  kAnchorTopLeft = kAnchorLeft | kAnchorTop,
  kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom,
};

class AnchorLayout {
 public:
  // The design is `parent`'s client area as it is now, or one of the given size.
  void Begin(HWND parent);
  void Begin(HWND parent, SIZE design);
  // A control at its place now.
  void Add(HWND control, unsigned anchors);
  void Add(int controlId, unsigned anchors) { Add(GetDlgItem(parent_, controlId), anchors); }
  // A control placed at `design` (client pixels of the design).
  void AddAt(HWND control, const RECT& design, unsigned anchors);
  // Every control of the parent by its geometry, as a page of fields: those reaching the right
  // edge (within `margin`) stretch with it, buttons there move with it; list views stretch in
  // height and what lies below the last of them moves down.
  void AddByGeometry(int margin);
  // Places every control for the parent's client area now; it may be smaller than the design.
  void Apply() const;
  bool Empty() const { return items_.empty(); }
  SIZE Design() const { return design_; }

 private:
  struct Item {
    HWND control;
    RECT design;
    unsigned anchors;
  };
  RECT PlaceInParent(HWND control) const;
  HWND parent_ = nullptr;
  SIZE design_{};
  std::vector<Item> items_;
};

}  // namespace orv::ui
