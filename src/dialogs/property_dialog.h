// The property window: modeless and single, it shows one program on three pages and follows
// the main list's selection. It keeps the texts it shows, never the record: a rescan may
// replace every record while the window stays open.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "dialogs/property_content.h"
#include "platform/system_services.h"
#include "ui/anchor_layout.h"
#include "ui/gdi.h"
#include "ui/link_label.h"
#include "ui/tooltips.h"
#include "ui/window.h"

namespace orv {

class TPropertyDialog : public ui::Window {
 public:
  using EditCommentHandler = std::function<void(const EntryIdentity&)>;

  // Creates the window, cleared, owned by `owner` (hidden until Show). The object frees itself
  // when the window is destroyed, by closing or by its owner; null when creation failed.
  static TPropertyDialog* Create(HINSTANCE instance, HWND owner, HFONT ownerFont,
                                 Registry& registry, SystemServices& system,
                                 EditCommentHandler editComment);

  // Fills every page from the record, or clears them for none. Reads the record only here.
  void SetProgram(const TProgram* program);
  // Shows the window and brings it to the front.
  void Show();
  // Ctrl+Tab between the pages and the dialog's keyboard navigation, from the main loop.
  bool PreTranslateMessage(MSG& message) override;

 private:
  // One page: a child dialog whose messages go to the window.
  class Page : public ui::ChildDialog {
   public:
    explicit Page(TPropertyDialog& owner) : ChildDialog(owner), owner_(owner) {}
    ui::AnchorLayout layout;

   private:
    ui::Answer OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
      return owner_.PageMessage(*this, message, wParam, lParam);
    }
    TPropertyDialog& owner_;
  };

  TPropertyDialog(Registry& registry, SystemServices& system, HFONT ownerFont,
                  EditCommentHandler editComment);
  ~TPropertyDialog() override = default;

  ui::Answer OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyed() override;
  ui::Answer PageMessage(Page& page, UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate(HWND owner);
  void LayoutForm();
  void ShowPage(int index);
  void SetText(const Page& page, int id, const std::string& text);
  void SetLinkLabel(HWND label, const LinkField& field);
  void PatchListChange();
  void FillFileList();
  void FillPatchList();
  HWND Control(int page, int id) const { return GetDlgItem(pages_[page].Handle(), id); }
  void LinkLabelClick(HWND label);
  void EditCommentButtonClick();

  Registry& registry_;
  SystemServices& system_;
  HFONT ownerFont_;
  EditCommentHandler editComment_;
  ui::Font font_, boldFont_, noteFont_;
  HWND tabs_ = nullptr;
  Page pages_[3];
  ui::LinkLabels links_;
  ui::Tooltips hints_;
  PropertyContent content_;
  SIZE minimum_{};
};

// The open property window, or null.
extern TPropertyDialog* PropertyDialog;

}  // namespace orv
