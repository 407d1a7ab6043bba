// No GDI or USER object may leak: the counts stay the same across 100 full refreshes.
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

TEST(GuiResourcesE2E, CountsStayTheSameAcross100Refreshes) {
  AppWindow app;
  ASSERT_TRUE(app.Start(ExePath()));
  // Icons on: every refresh loads the status marks and extracts program icons.
  app.Command(kCmdStngLoadIcon);
  app.Command(kCmdStngStripe);
  // Warm up every path once, so one-time caches of the controls are not counted as leaks.
  for (int i = 0; i < 5; ++i) {
    app.Command(kCmdRefresh);
    app.Command(kCmdGoNextTab);
    app.Command(kCmdGoPrevTab);
  }
  UpdateWindow(app.Handle());
  // The lowest of a few readings: a reading taken mid-paint would hide a small leak.
  AppWindow::GuiObjects before = app.CountGuiObjects();
  for (int i = 0; i < 5; ++i) {
    Sleep(50);
    SendMessageW(app.Handle(), WM_NULL, 0, 0);
    const auto now = app.CountGuiObjects();
    if (now.gdi < before.gdi) before = now;
  }
  ASSERT_GT(before.gdi, 0) << "the GDI object count could not be read";
  for (int i = 0; i < 100; ++i) {
    app.Command(kCmdRefresh);
    if (i % 10 == 0) {
      app.Command(kCmdGoNextTab);
      app.Command(kCmdGoPrevTab);
    }
  }
  // Painting holds a few objects for a moment (buffers, brushes), so one reading may catch them;
  // a leak never comes back down to the count before.
  UpdateWindow(app.Handle());
  AppWindow::GuiObjects after;
  WaitUntil([&] {
    SendMessageW(app.Handle(), WM_NULL, 0, 0);  // the window has handled what was sent
    after = app.CountGuiObjects();
    return after.gdi <= before.gdi;
  }, 3000);
  EXPECT_EQ(after.gdi, before.gdi);
  if (before.user >= 0) {
    EXPECT_EQ(after.user, before.user);
  } else {
    RecordProperty("user_objects", "not countable on this system");
  }
  app.Command(kCmdStngLoadIcon);  // leave the settings as the other tests expect them
  app.Command(kCmdStngStripe);
  EXPECT_TRUE(app.Close());
}

}  // namespace
}  // namespace orv::e2e
