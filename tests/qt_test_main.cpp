// SPDX-License-Identifier: GPL-2.0-or-later
// main() of the tests that need a QApplication: on the offscreen platform,
// so they run without a display server.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
