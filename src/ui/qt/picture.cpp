#include "ui/qt/picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QPainter>

#include "ui/qt/qt_text.h"

namespace ui::qt {
namespace {

bool WithinLimit(QSize size) {
  return size.isValid() && size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide;
}

}  // namespace

QImage DecodePicture(const QByteArray& bytes) {
  if (bytes.isEmpty()) return {};
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  if (!WithinLimit(reader.size())) return {};
  QImage image;
  if (!reader.read(&image)) return {};
  return image;
}

QByteArray ArtworkBytes(std::string_view name) {
  if (name.empty()) return {};
  QFile file(QStringLiteral(":/art/") + FromUtf8(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QRect FitRect(QSize picture, QSize area, Fit fit) {
  switch (fit) {
    case Fit::kTopLeft:
      return QRect(QPoint(0, 0), picture);
    case Fit::kStretch:
      return QRect(QPoint(0, 0), area);
    case Fit::kCentreScaleDown: {
      QSize size = picture;
      if (size.width() > area.width() || size.height() > area.height()) {
        size = picture.scaled(area, Qt::KeepAspectRatio);
      }
      return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                   size);
    }
  }
  return {};
}

PictureView::PictureView(Fit fit, QWidget* parent) : QWidget(parent), fit_(fit) {
  setFocusPolicy(Qt::NoFocus);
}

PictureView::~PictureView() { StopMovie(); }

void PictureView::StopMovie() {
  if (movie_) movie_->stop();
  movie_.reset();
  buffer_.reset();
}

void PictureView::SetPicture(const QByteArray& bytes) {
  if (bytes == bytes_ && (!image_.isNull() || bytes.isEmpty())) return;
  StopMovie();
  bytes_ = bytes;
  image_ = DecodePicture(bytes);
  if (!image_.isNull()) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes_);
    buffer->open(QIODevice::ReadOnly);
    auto movie = std::make_unique<QMovie>(buffer.get());
    if (movie->isValid() && movie->frameCount() > 1) {
      connect(movie.get(), &QMovie::frameChanged, this, [this] {
        image_ = movie_->currentImage();
        update();
      });
      buffer_ = std::move(buffer);
      movie_ = std::move(movie);
      if (isVisible()) movie_->start();
    }
  }
  update();
}

QImage PictureView::frame() const { return image_; }

void PictureView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!movie_) return;
  if (movie_->state() == QMovie::Paused) {
    movie_->setPaused(false);
  } else if (movie_->state() == QMovie::NotRunning) {
    movie_->start();
  }
}

void PictureView::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (movie_) movie_->setPaused(true);
}

void PictureView::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.drawImage(FitRect(image_.size(), size(), fit_), image_);
}

}  // namespace ui::qt
