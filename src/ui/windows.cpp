#include "ui/windows.h"

#include "ui/gbk_literal.h"

namespace ui {

Window::Window(const WindowSpec& description) : spec_(description), title_(G(description.title)) {
  controls_.reserve(description.controls.size());
}

Control* Window::Find(std::string_view name) const {
  for (Control* control : controls_) {
    if (control->name() == name) return control;
  }
  return nullptr;
}

void Window::Restore() {
  for (Control* control : controls_) control->Restore();
}

MainWindow::MainWindow() : Window(MainWindowSpec()) {}

Label* MainWindow::OptionLabel(char letter) {
  switch (letter) {
    case 'A':
      return &A;
    case 'B':
      return &B;
    case 'C':
      return &C;
    case 'D':
      return &D;
    default:
      return nullptr;
  }
}

ScoreWindow::ScoreWindow() : Window(ScoreWindowSpec()) {}

void CenterMainPanel(MainWindow& window) {
  PictureBox& panel = window.图片框1;
  panel.set_left(static_cast<int>((window.width() - panel.width()) / 2.0));
  panel.set_top(static_cast<int>((window.height() - panel.height()) / 2.0));
}

}  // namespace ui
