// Pictures as the controls show them: the bytes of a JPEG or GIF file (a question's picture, a
// mark, the placeholder) or, when a control holds no bytes, the artwork its row names. Decoding
// goes through Qt's image readers with a size limit, so a damaged or hostile picture in a
// hand-edited bank cannot exhaust memory.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string_view>

class QMovie;
class QBuffer;

namespace ui::qt {

// Pictures larger than this on either side are not shown.
inline constexpr int kMaxPictureSide = 4096;

// The first frame of `bytes`; a null image when they are not a picture Qt can read within the
// limit.
QImage DecodePicture(const QByteArray& bytes);

// The bytes of the artwork `name` (picture_names.h); empty when the program does not carry it.
QByteArray ArtworkBytes(std::string_view name);

enum class Fit {
  kTopLeft,          // natural size from the top-left corner
  kStretch,          // fills the control, proportions not kept
  kCentreScaleDown,  // centred at natural size, scaled down (proportions kept) when larger
};

// Where a picture of `picture` size is drawn inside a control of `area` size.
QRect FitRect(QSize picture, QSize area, Fit fit);

// A control that shows one picture; an animated GIF plays while the control is visible.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  PictureView(Fit fit, QWidget* parent);
  ~PictureView() override;

  // Shows `bytes` (empty: nothing).
  void SetPicture(const QByteArray& bytes);
  const QByteArray& bytes() const { return bytes_; }
  bool animated() const { return movie_ != nullptr; }
  // The frame shown now; null when there is none.
  QImage frame() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void StopMovie();

  Fit fit_;
  QByteArray bytes_;
  QImage image_;
  std::unique_ptr<QBuffer> buffer_;
  std::unique_ptr<QMovie> movie_;
};

}  // namespace ui::qt
