// One window of the model drawn with widgets: a child widget per visible kind of control, in
// the description's places, fonts and colours, kept up to date through the control observer,
// and the learner's actions raised as events of the binding table.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <unordered_map>

#include "ui/event_bindings.h"
#include "ui/windows.h"

class QComboBox;

namespace ui::qt {

class CaptionView;
class CheckBoxView;
class PictureButtonView;
class PictureView;

// Where a window's events go (the host's bridge into the logic).
using RaiseEvent = std::function<void(const Event&)>;

class WindowView : public QWidget, public ControlObserver {
  Q_OBJECT

 public:
  // Builds the widgets of `window` and observes it until destroyed. `owner` (may be null) is the
  // window this one stays above.
  WindowView(Window& window, RaiseEvent raise, QWidget* owner = nullptr);
  ~WindowView() override;

  WindowId id() const { return window_.id(); }
  Window& model() const { return window_; }

  // The widget of the control `id`; null for controls without one (timer, database unit) and
  // for controls of another window.
  QWidget* WidgetOf(ControlId id) const;
  // The timer of the control `id`, or null.
  QTimer* TimerOf(ControlId id) const;

  // ControlObserver
  void ControlChanged(const Control& control, Property property) override;

 signals:
  // The window was closed (Esc, or a close request of the system).
  void closed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* Build(Control& control);
  QWidget* ParentOf(const Control& control);
  void Apply(const Control& control, Property property);
  void ApplyPicture(const Control& control);
  void Raise(ControlId control, EventKind kind, int32_t arg1 = 0, int32_t arg2 = 0,
             int32_t arg3 = 0);

  Window& window_;
  RaiseEvent raise_;
  QImage background_;
  std::unordered_map<const Control*, QWidget*> widgets_;
  std::unordered_map<const Control*, QTimer*> timers_;
};

}  // namespace ui::qt
