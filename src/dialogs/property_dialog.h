// The property window: modeless and single, it shows one program on three pages and follows
// the main list's selection. It keeps the texts it shows, never the record: a rescan may
// replace every record while the window stays open.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/property_content.h"
#include "platform/system_services.h"

namespace orv {

class TPropertyDialog {
 public:
  using EditCommentHandler = std::function<void(const EntryIdentity&)>;

  // Creates the window, cleared, owned by `owner` (hidden until Show). The object frees itself
  // when the window is destroyed, by closing or by its owner; null when creation failed.
  static TPropertyDialog* Create(HINSTANCE instance, HWND owner, HFONT ownerFont,
                                 Registry& registry, SystemServices& system,
                                 EditCommentHandler editComment);

  TPropertyDialog(const TPropertyDialog&) = delete;
  TPropertyDialog& operator=(const TPropertyDialog&) = delete;
  HWND Handle() const { return handle_; }

  // Fills every page from the record, or clears them for none. Reads the record only here.
  void SetProgram(const TProgram* program);
  // Shows the window and brings it to the front.
  void Show();
  // Keyboard navigation of the modeless window, from the main message loop: true when the
  // message was used.
  bool PreTranslateMessage(MSG& message);

 private:
  struct LinkLabel {
    HWND label = nullptr;
    std::string target;
    bool linked = false;
    bool hot = false;       // under the mouse
    bool allowMailto = false;
  };
  enum Link { kPublisher, kHelpLink, kUpdateInfo, kReadme, kInstallLocation, kPatchSupport, kLinkCount };
  struct Anchored {
    HWND control;
    RECT design;
    bool stretchWidth, moveRight, stretchHeight, moveDown;
  };
  struct Page {
    HWND window = nullptr;
    SIZE design{};
    std::vector<Anchored> controls;
  };

  TPropertyDialog(Registry& registry, SystemServices& system, HFONT ownerFont,
                  EditCommentHandler editComment)
      : registry_(registry), system_(system), ownerFont_(ownerFont),
        editComment_(std::move(editComment)) {}
  ~TPropertyDialog();

  // One procedure keeps `this` from WM_INITDIALOG on; no exception crosses into Windows.
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The window is gone: the object frees itself once no handler of it is running.
  void WindowDestroyed();
  static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  INT_PTR PageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void CreatePage(HINSTANCE instance, int templateId, int id, Page& page);
  void AnchorPage(Page& page);
  void LayoutForm();
  void LayoutPage(Page& page);
  void ShowPage(int index);
  void SetText(HWND page, int id, const std::string& text);
  void SetLinkLabel(Link link, const LinkField& field);
  void ListView2Change();
  void FillFileList();
  void FillPatchList();
  int LinkOf(HWND label) const;
  void LinkLabelClick(int link);
  void LinkLabelMouseUp(int link, bool right, POINT client);
  void ActCopyLinkExecute();
  void Button2Click();
  bool Busy() const { return busy_ > 0; }

  HWND handle_ = nullptr;
  Registry& registry_;
  SystemServices& system_;
  HFONT ownerFont_;
  EditCommentHandler editComment_;
  HFONT font_ = nullptr, boldFont_ = nullptr, linkFont_ = nullptr;
  HWND tabs_ = nullptr;
  Page pages_[3];
  LinkLabel links_[kLinkCount];
  int rememberedLink_ = -1;  // the label last right-clicked, for the copy-link command
  HMENU linkMenu_ = nullptr;
  PropertyContent content_;
  SIZE minimum_{};
  // Handlers on the stack: a box or menu they run may see the window destroyed; the object
  // then lives until the outermost handler returns.
  int busy_ = 0;
  bool destroyed_ = false;
  friend struct PropertyBusy;
};

// The open property window, or null.
extern TPropertyDialog* PropertyDialog;

}  // namespace orv
