// Row colours by tag and stripes; everything else is the list control's own drawing.
#include "app/command_ids.h"
#include "app/main_window.h"
#include "ui/colors.h"

namespace orv {

LRESULT TForm1::ListViewCustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int item = static_cast<int>(draw.nmcd.dwItemSpec);
      const TProgram* r = ProgramOfItem(item);
      const TAppTag* tag = r ? tagList_->Items(r->TagIndex) : nullptr;
      if (tag && tag->Color != kNoColor) {
        const TColor color = tag->Color;
        draw.clrTextBk = ui::ColorToRgb(color);
        if (tag->WhiteText) draw.clrText = ui::colors::TextOnDark();
        return CDRF_NEWFONT;
      }
      if (actions_.IsChecked(kCmdStngStripe) && item % 2 == 0) {
        draw.clrTextBk = ui::ColorToRgb(stripeColor_);
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

void TForm1::ApplyGridLines() {
  const bool on = actions_.IsChecked(kCmdStngGridLine);
  List().SetExtendedStyle(LVS_EX_GRIDLINES, on ? LVS_EX_GRIDLINES : 0);
}

}  // namespace orv
