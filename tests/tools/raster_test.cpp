// The picture encoders, checked by decoding with Qt's own readers.
#include "raster.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>

namespace {

std::vector<QImage> Decode(const std::string& bytes, QByteArray* format = nullptr) {
  QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer);
  if (format) *format = reader.format();
  std::vector<QImage> frames;
  for (QImage f = reader.read(); !f.isNull(); f = reader.read()) {
    frames.push_back(f.convertToFormat(QImage::Format_RGB32));
    if (!reader.canRead()) break;
  }
  return frames;
}

QImage Pattern(int w, int h, int colours) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int k = (x * 7 + y * 13 + (x * y) % 5) % colours;
      img.setPixel(x, y, qRgb(k * 37 % 256, k * 91 % 256, k * 53 % 256));
    }
  }
  return img;
}

TEST(Gif, FewColoursRoundTripExactly) {
  // A large, varied picture makes the code table fill up and restart many times.
  for (int colours : {2, 17, 200, 256}) {
    const QImage img = Pattern(500, 400, colours);
    QByteArray format;
    auto frames = Decode(art::EncodeGif({img}), &format);
    EXPECT_EQ(format, "gif");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], img) << colours << " colours";
  }
  const QImage tiny = Pattern(1, 1, 2);
  auto frames = Decode(art::EncodeGif({tiny}));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], tiny);
}

TEST(Gif, ManyColoursMapToTheNearest) {
  QImage img(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) img.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
  }
  auto frames = Decode(art::EncodeGif({img}));
  ASSERT_EQ(frames.size(), 1u);
  int worst = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const QRgb a = img.pixel(x, y), b = frames[0].pixel(x, y);
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  }
  EXPECT_LT(worst, 48);
}

TEST(Gif, AnimationKeepsEveryFrameAndLoops) {
  std::vector<QImage> frames;
  for (int i = 0; i < 6; ++i) {
    QImage f(94, 27, QImage::Format_RGB32);
    f.fill(Qt::white);
    QPainter p(&f);
    p.fillRect(i * 15, 5, 14, 17, QColor(30, 90, 200));
    p.end();
    frames.push_back(f);
  }
  const std::string gif = art::EncodeGif(frames, 12);
  QByteArray data(gif.data(), static_cast<qsizetype>(gif.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer);
  EXPECT_EQ(reader.imageCount(), 6);
  EXPECT_EQ(reader.loopCount(), -1) << "loops forever";
  auto decoded = Decode(gif);
  ASSERT_EQ(decoded.size(), 6u);
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(decoded[i], frames[i]) << "frame " << i;
}

TEST(Picture, FlatSignsBecomeGifShadingBecomesJpeg) {
  const QByteArray sign =
      "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 400 400' width='400' height='400'>"
      "<circle cx='200' cy='200' r='180' fill='#D7000F'/>"
      "<circle cx='200' cy='200' r='140' fill='white'/>"
      "<rect x='80' y='185' width='240' height='30' fill='#D7000F'/></svg>";
  const QImage flat = art::RenderSvg(sign, QSize(400, 400));
  ASSERT_FALSE(flat.isNull());
  EXPECT_TRUE(art::IsFlat(flat));
  QByteArray format;
  ASSERT_EQ(Decode(art::EncodePicture(flat), &format).size(), 1u);
  EXPECT_EQ(format, "gif");

  const QByteArray shaded =
      "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 400 400' width='400' height='400'>"
      "<defs><linearGradient id='g' x1='0' y1='0' x2='1' y2='1'>"
      "<stop offset='0' stop-color='#102040'/><stop offset='1' stop-color='#f0c080'/>"
      "</linearGradient></defs><rect width='400' height='400' fill='url(#g)'/></svg>";
  const QImage photo = art::RenderSvg(shaded, QSize(400, 400));
  EXPECT_FALSE(art::IsFlat(photo));
  auto decoded = Decode(art::EncodePicture(photo), &format);
  EXPECT_EQ(format, "jpeg");
  ASSERT_EQ(decoded.size(), 1u);
  EXPECT_EQ(decoded[0].size(), QSize(400, 400));

  EXPECT_TRUE(art::RenderSvg("<svg", QSize(10, 10)).isNull());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
