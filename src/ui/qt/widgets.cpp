#include "ui/qt/widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/qt/fonts.h"

namespace ui::qt {

int32_t ShiftState(Qt::KeyboardModifiers modifiers) {
  int32_t state = 0;
  if (modifiers & Qt::ControlModifier) state |= 1;
  if (modifiers & Qt::ShiftModifier) state |= 2;
  if (modifiers & Qt::AltModifier) state |= 4;
  return state;
}

CaptionView::CaptionView(const ControlSpec& description, QWidget* parent)
    : QWidget(parent),
      colour_(QColor::fromRgb(static_cast<QRgb>(description.colour))),
      align_(description.align),
      wraps_(description.wraps),
      shadow_(description.shadow),
      opaque_(description.kind == Kind::kLabel) {
  QFont font = ToQFont(description.font);
  if (description.kind == Kind::kHyperlink) {
    font.setUnderline(true);
    setCursor(Qt::PointingHandCursor);
  }
  setFont(font);
  setFocusPolicy(Qt::NoFocus);
}

void CaptionView::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

void CaptionView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (opaque_) painter.fillRect(rect(), Qt::white);
  if (caption_.isEmpty()) return;
  int flags = 0;
  switch (align_) {
    case Align::kLeft:
      flags |= Qt::AlignLeft;
      break;
    case Align::kCenter:
      flags |= Qt::AlignHCenter;
      break;
    case Align::kRight:
      flags |= Qt::AlignRight;
      break;
  }
  flags |= wraps_ ? (Qt::AlignTop | Qt::TextWordWrap) : (Qt::AlignVCenter | Qt::TextSingleLine);
  painter.setFont(font());
  if (shadow_) {
    painter.setPen(Qt::black);
    painter.drawText(rect().translated(2, 2), flags, caption_);
  }
  painter.setPen(colour_);
  painter.drawText(rect(), flags, caption_);
}

void CaptionView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && on_left_released) {
    const QPoint at = event->position().toPoint();
    on_left_released(at.x(), at.y(), ShiftState(event->modifiers()));
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

PictureButtonView::PictureButtonView(QImage resting, QImage highlighted, QWidget* parent)
    : QAbstractButton(parent), resting_(std::move(resting)), highlighted_(std::move(highlighted)) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover, true);
}

void PictureButtonView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& look = highlighted() && !highlighted_.isNull() ? highlighted_ : resting_;
  if (!look.isNull()) painter.drawImage(QPoint(0, 0), look);
}

void PictureButtonView::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  update();
}

void PictureButtonView::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  update();
}

}  // namespace ui::qt
