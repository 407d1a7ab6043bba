// What the rename and the comment dialogs share: one entry's identity, taken before the dialog
// opened; its values read when the dialog opens (controls disabled and the failure told when
// the entry is gone); OK writes them, tells a failure, and closes with OK in every case, so the
// main window rescans and shows what the entry holds.
#pragma once
#include <windows.h>

#include <vector>

#include "annotations/entry_edit.h"
#include "ui/gdi.h"
#include "ui/window.h"

namespace orv {

class TEntryEditDialog : public ui::ModalDialog {
 public:
  // True when closed with OK (the main window then rescans).
  bool Run(HINSTANCE instance, HWND owner);

 protected:
  // `font` is the main window's; the dialog shows its text in a copy. `inputs` are the controls
  // disabled, with OK, when the entry cannot be opened.
  TEntryEditDialog(Registry& registry, EntryIdentity entry, HFONT font, int templateId,
                   std::vector<int> inputs)
      : registry_(registry), entry_(std::move(entry)), ownerFont_(font), templateId_(templateId),
        inputs_(std::move(inputs)) {}
  Registry& registry_;
  const EntryIdentity entry_;

  // Fills the controls from the entry; false when it could not be opened.
  virtual bool ReadEntry() = 0;
  virtual EntryEditResult WriteEntry() = 0;
  // An edit box that takes text of any length.
  void Unlimited(int editId) const { SendMessageW(Item(editId), EM_SETLIMITTEXT, 0, 0); }

  void OnInit() override;
  bool OnCommand(int id, int code) override;
  // After the font and before the entry is read.
  virtual void OnPrepare() {}

 private:
  void OkButtonClick();
  HFONT ownerFont_;
  int templateId_;
  ui::Font font_;
  std::vector<int> inputs_;
};

}  // namespace orv
