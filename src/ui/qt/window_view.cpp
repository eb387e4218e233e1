#include "ui/qt/window_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "ui/qt/fonts.h"
#include "ui/qt/key_map.h"
#include "ui/qt/picture.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/widgets.h"

namespace ui::qt {
namespace {

// How each picture box fits its picture: the question picture fills its frame, the marks, the
// stopwatch and the spinner sit centred and shrink when too large, the rest (artwork of exactly
// the box's size) is drawn from the top-left corner.
Fit FitOf(ControlId id) {
  using M = MainControl;
  if (id == M::图片框3) return Fit::kStretch;
  if (id == M::图片框4 || id == M::对错 || id == M::对错1) return Fit::kCentreScaleDown;
  return Fit::kTopLeft;
}

QByteArray ToBytes(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

Qt::WindowFlags FlagsOf(const WindowSpec& description) {
  Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
  if (description.topmost) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

}  // namespace

WindowView::WindowView(Window& window, RaiseEvent raise, QWidget* owner)
    : QWidget(owner, FlagsOf(window.description())), window_(window), raise_(std::move(raise)) {
  const WindowSpec& description = window.description();
  setWindowTitle(FromGbk(window.title()));
  setFixedSize(description.width, description.height);
  if (window.id() == WindowId::kMain) {
    move(description.left, description.top);
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - description.width) / 2,
         area.top() + (area.height() - description.height) / 2);
  }
  setFocusPolicy(Qt::StrongFocus);
  background_ = DecodePicture(ArtworkBytes(description.background));

  for (Control* control : window.controls()) Build(*control);
  // Earlier rows of the description lie above later ones (the preparing panel over the
  // question, the hidden viewer over the picture).
  const auto controls = window.controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if (auto widget = widgets_.find(*it); widget != widgets_.end()) widget->second->raise();
  }
  window_.set_observer(this);
}

WindowView::~WindowView() {
  if (window_.observer() == this) window_.set_observer(nullptr);
}

QWidget* WindowView::WidgetOf(ControlId id) const {
  const Control* control = window_.Find(id);
  if (control == nullptr) return nullptr;
  auto it = widgets_.find(control);
  return it == widgets_.end() ? nullptr : it->second;
}

QTimer* WindowView::TimerOf(ControlId id) const {
  const Control* control = window_.Find(id);
  if (control == nullptr) return nullptr;
  auto it = timers_.find(control);
  return it == timers_.end() ? nullptr : it->second;
}

QWidget* WindowView::ParentOf(const Control& control) {
  Control* container = window_.ParentOf(control);
  if (container == nullptr) return this;
  QWidget* widget = Build(*container);
  return widget != nullptr ? widget : this;
}

void WindowView::Raise(ControlId control, EventKind kind, int32_t arg1, int32_t arg2,
                       int32_t arg3) {
  if (!raise_) return;
  Event event;
  event.control = control;
  event.kind = kind;
  event.arg1 = arg1;
  event.arg2 = arg2;
  event.arg3 = arg3;
  raise_(event);
}

QWidget* WindowView::Build(Control& control) {
  if (auto it = widgets_.find(&control); it != widgets_.end()) return it->second;
  if (timers_.contains(&control)) return nullptr;
  const ControlSpec& description = control.description();
  const ControlId id = control.id();
  QWidget* widget = nullptr;
  switch (control.kind()) {
    case Kind::kPictureBox:
    case Kind::kDrawingPanel:
      widget = new PictureView(FitOf(id), ParentOf(control));
      break;
    case Kind::kShapeBox:
    case Kind::kHtmlViewer:
      // The viewer is never shown, so a plain widget stands for it.
      widget = new QWidget(ParentOf(control));
      widget->setFocusPolicy(Qt::NoFocus);
      break;
    case Kind::kLabel:
    case Kind::kTransparentLabel:
    case Kind::kHyperlink: {
      auto* label = new CaptionView(description, ParentOf(control));
      label->on_left_released = [this, id](int x, int y, int shift) {
        Raise(id, EventKind::kLeftReleased, x, y, shift);
      };
      widget = label;
      break;
    }
    case Kind::kCheckBox: {
      auto* box = new CheckBoxView(ParentOf(control));
      box->setFont(ToQFont(description.font));
      box->setFocusPolicy(Qt::ClickFocus);
      connect(box, &QAbstractButton::clicked, this, [this, id] { Raise(id, EventKind::kClicked); });
      widget = box;
      break;
    }
    case Kind::kComboBox: {
      auto& model = static_cast<ComboBox&>(control);
      auto* combo = new QComboBox(ParentOf(control));
      combo->setFont(ToQFont(description.font));
      combo->setFocusPolicy(Qt::ClickFocus);
      combo->setEditable(false);
      for (int i = 0; i < model.item_count(); ++i) combo->addItem(FromGbk(model.item(i)));
      // The list has no bound event; the learner's choice is simply the box's new selection.
      connect(combo, &QComboBox::activated, this,
              [&model](int index) { model.set_selection(index); });
      widget = combo;
      break;
    }
    case Kind::kPictureButton: {
      QImage resting, highlighted;
      if (!description.button_pictures.empty()) {
        resting = DecodePicture(ArtworkBytes(description.button_pictures[0]));
      }
      if (description.button_pictures.size() > 1) {
        highlighted = DecodePicture(ArtworkBytes(description.button_pictures[1]));
      }
      auto* button = new PictureButtonView(resting, highlighted, ParentOf(control));
      connect(button, &QAbstractButton::clicked, this,
              [this, id] { Raise(id, EventKind::kClicked); });
      widget = button;
      break;
    }
    case Kind::kTimer: {
      auto* timer = new QTimer(this);
      timer->setTimerType(Qt::CoarseTimer);
      connect(timer, &QTimer::timeout, this, [this, id] { Raise(id, EventKind::kTick); });
      timers_.emplace(&control, timer);
      Apply(control, Property::kPeriod);
      return nullptr;
    }
    case Kind::kDatabaseUnit:
      return nullptr;
  }
  widgets_.emplace(&control, widget);
  widget->setGeometry(control.left(), control.top(), control.width(), control.height());
  for (Property property : {Property::kCaption, Property::kPicture, Property::kPointer,
                            Property::kTicked, Property::kSelection}) {
    Apply(control, property);
  }
  widget->setVisible(control.visible());
  return widget;
}

void WindowView::ControlChanged(const Control& control, Property property) {
  Apply(control, property);
}

void WindowView::ApplyPicture(const Control& control) {
  auto* view = qobject_cast<PictureView*>(widgets_.at(&control));
  if (view == nullptr) return;
  const auto& pictured = static_cast<const PicturedControl&>(control);
  // A control that holds no bytes shows the artwork its row names, if any.
  view->SetPicture(pictured.picture().empty() ? ArtworkBytes(control.description().picture)
                                              : ToBytes(pictured.picture()));
}

void WindowView::Apply(const Control& control, Property property) {
  if (property == Property::kPeriod) {
    auto it = timers_.find(&control);
    if (it == timers_.end()) return;
    const int period = static_cast<const Timer&>(control).period();
    // The model reports only real changes, so a running clock given its own period again is
    // not restarted and keeps its rhythm.
    if (period <= 0) {
      it->second->stop();
    } else {
      it->second->start(period);
    }
    return;
  }
  auto it = widgets_.find(&control);
  if (it == widgets_.end()) return;
  QWidget* widget = it->second;
  switch (property) {
    case Property::kCaption:
      if (auto* label = qobject_cast<CaptionView*>(widget)) {
        label->SetCaption(FromGbk(static_cast<const CaptionedControl&>(control).caption()));
      } else if (auto* box = qobject_cast<CheckBoxView*>(widget)) {
        box->setText(FromGbk(static_cast<const CaptionedControl&>(control).caption()));
      }
      break;
    case Property::kPicture:
      if (control.kind() == Kind::kPictureBox || control.kind() == Kind::kDrawingPanel) {
        ApplyPicture(control);
      }
      break;
    case Property::kVisible:
      widget->setVisible(control.visible());
      break;
    case Property::kPointer:
      if (control.kind() == Kind::kLabel) {
        if (static_cast<const Label&>(control).pointer() == Pointer::kHand) {
          widget->setCursor(Qt::PointingHandCursor);
        } else {
          widget->unsetCursor();
        }
      }
      break;
    case Property::kTicked:
      if (auto* box = qobject_cast<CheckBoxView*>(widget)) {
        box->setChecked(static_cast<const CheckBox&>(control).ticked());
      }
      break;
    case Property::kSelection:
      if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(static_cast<const ComboBox&>(control).selection());
      }
      break;
    case Property::kLeft:
    case Property::kTop:
      widget->move(control.left(), control.top());
      break;
    case Property::kPeriod:
      break;
  }
}

void WindowView::paintEvent(QPaintEvent*) {
  if (background_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  // The background covers the window with its proportions kept, cut evenly at the sides
  // that stand over (the main window's 1280 x 1024 picture loses a strip top and bottom).
  const QSize scaled = background_.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
  const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2),
                     scaled);
  painter.drawImage(target, background_);
}

void WindowView::keyPressEvent(QKeyEvent* event) {
  if (id() == WindowId::kScore) {
    // Any key that reaches the score window closes it, Shift, Ctrl and Alt included.
    Raise(ScoreControl::kWindow, EventKind::kKeyPressed, static_cast<int32_t>(VirtualKeyOf(*event)),
          ShiftState(event->modifiers()));
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    close();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void WindowView::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

}  // namespace ui::qt
