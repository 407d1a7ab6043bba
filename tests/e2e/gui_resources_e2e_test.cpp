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
  const auto before = app.CountGuiObjects();
  ASSERT_GT(before.gdi, 0) << "the GDI object count could not be read";
  for (int i = 0; i < 100; ++i) {
    app.Command(kCmdRefresh);
    if (i % 10 == 0) {
      app.Command(kCmdGoNextTab);
      app.Command(kCmdGoPrevTab);
    }
  }
  UpdateWindow(app.Handle());
  const auto after = app.CountGuiObjects();
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
