// The one application object of a Qt test program, on the offscreen platform.
#pragma once

#include <QApplication>

#include "art_resources.h"

namespace qt_testing {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "examora-qt-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* created = new QApplication(argc, argv);
    art::InitResources();
    return created;
  }();
  return *app;
}

}  // namespace qt_testing
