#include "ui/windows.h"

#include "ui/gbk_literal.h"

namespace ui {

Window::Window(WindowId id, const WindowSpec& description)
    : id_(id), spec_(description), title_(G(description.title)) {
  controls_.reserve(description.controls.size());
}

// Controls register in description order, so a control's identifier row is its place here.
Control* Window::Find(ControlId id) const {
  if (id.window() != id_ || id.row() >= controls_.size()) return nullptr;
  return controls_[id.row()];
}

Control* Window::ParentOf(const Control& control) const {
  const std::optional<ControlId> parent = control.description().parent;
  return parent ? Find(*parent) : nullptr;
}

void Window::Restore() {
  for (Control* control : controls_) control->Restore();
}

MainWindow::MainWindow() : Window(WindowId::kMain, MainWindowSpec()) {}

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

std::optional<char> OptionLetter(ControlId id) {
  if (id == MainControl::A) return 'A';
  if (id == MainControl::B) return 'B';
  if (id == MainControl::C) return 'C';
  if (id == MainControl::D) return 'D';
  return std::nullopt;
}

ScoreWindow::ScoreWindow() : Window(WindowId::kScore, ScoreWindowSpec()) {}

void CenterMainPanel(MainWindow& window) {
  PictureBox& panel = window.图片框1;
  panel.set_left(static_cast<int>((window.width() - panel.width()) / 2.0));
  panel.set_top(static_cast<int>((window.height() - panel.height()) / 2.0));
}

}  // namespace ui
