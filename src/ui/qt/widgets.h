// The widgets that stand for the controls of the window model. Each draws what its control
// holds and reports the learner's actions through a callback; none changes the model itself
// (a check box that is clicked stays as it is until the logic ticks it).
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

#include "ui/window_description.h"

namespace ui::qt {

// Shift state as the window events report it: 1 Ctrl, 2 Shift, 4 Alt.
int32_t ShiftState(Qt::KeyboardModifiers modifiers);

// Labels, transparent labels and hyperlinks: one line vertically centred, or wrapped from the
// top; optionally a black shadow 2 px right and down; a white background unless transparent.
class CaptionView : public QWidget {
  Q_OBJECT

 public:
  CaptionView(const ControlSpec& description, QWidget* parent);

  void SetCaption(const QString& caption);
  const QString& caption() const { return caption_; }

  // Called with (x, y, shift state) when the left button is released over the control.
  std::function<void(int, int, int)> on_left_released;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString caption_;
  QColor colour_;
  Align align_;
  bool wraps_;
  bool shadow_;
  bool opaque_;
};

// A check box whose tick follows the model only: a click is reported, not applied.
class CheckBoxView : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

// A button drawn from pictures: the resting look, the highlighted look while the pointer is
// over it or it is pressed.
class PictureButtonView : public QAbstractButton {
  Q_OBJECT

 public:
  PictureButtonView(QImage resting, QImage highlighted, QWidget* parent);
  bool highlighted() const { return underMouse() || isDown(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage resting_;
  QImage highlighted_;
};

}  // namespace ui::qt
