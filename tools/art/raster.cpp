#include "raster.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <unordered_map>

namespace art {

QImage RenderSvg(const QByteArray& svg, QSize size, QColor background) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {};
  QImage image(size, QImage::Format_ARGB32);
  image.fill(background);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer.render(&painter);
  painter.end();
  return image;
}

std::string EncodeJpeg(const QImage& image, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", quality);
  return bytes.toStdString();
}

namespace {

std::vector<std::pair<QRgb, size_t>> Histogram(const std::vector<QImage>& frames) {
  std::unordered_map<QRgb, size_t> counts;
  for (const QImage& f : frames) {
    const QImage img = f.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < img.width(); ++x) ++counts[line[x] | 0xFF000000u];
    }
  }
  std::vector<std::pair<QRgb, size_t>> sorted(counts.begin(), counts.end());
  // Most frequent first; ties by colour value so the result never depends on hashing.
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  return sorted;
}

int Distance(QRgb a, QRgb b) {
  const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
  return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

// giflib hands the encoded stream over in pieces; they are gathered here.
int Append(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  return length;
}

}  // namespace

std::string EncodeGif(const std::vector<QImage>& frames, int delay_cs) {
  if (frames.empty()) return {};
  const int w = frames[0].width(), h = frames[0].height();
  // Every frame is read over the first one's area: a smaller frame would be read past its end.
  for (const QImage& frame : frames) {
    if (frame.size() != frames[0].size()) return {};
  }
  auto histogram = Histogram(frames);
  std::vector<QRgb> palette;
  if (histogram.size() <= 256) {
    for (const auto& entry : histogram) palette.push_back(entry.first);
  } else {
    // Too many colours: keep the 40 most frequent exactly (the flat areas), and cover the
    // rest with an even 6 x 6 x 6 cube so no colour is far from an entry.
    for (size_t i = 0; i < 40; ++i) palette.push_back(histogram[i].first);
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 6; ++g) {
        for (int b = 0; b < 6; ++b) palette.push_back(qRgb(r * 51, g * 51, b * 51));
      }
    }
  }
  const size_t used = palette.size();
  std::unordered_map<QRgb, GifPixelType> index_of;
  for (size_t i = used; i-- > 0;) index_of[palette[i]] = static_cast<GifPixelType>(i);
  auto index = [&](QRgb c) {
    auto it = index_of.find(c);
    if (it == index_of.end()) {
      size_t best = 0;
      for (size_t i = 1; i < used; ++i) {
        if (Distance(c, palette[i]) < Distance(c, palette[best])) best = i;
      }
      it = index_of.emplace(c, static_cast<GifPixelType>(best)).first;
    }
    return it->second;
  };

  // One global table of 256 entries, the unused ones black.
  GifColorType colours[256] = {};
  for (size_t i = 0; i < used; ++i) {
    colours[i] = {static_cast<GifByteType>(qRed(palette[i])),
                  static_cast<GifByteType>(qGreen(palette[i])),
                  static_cast<GifByteType>(qBlue(palette[i]))};
  }
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, Append, &error);
  if (!gif) return {};
  EGifSetGifVersion(gif, true);
  ColorMapObject* map = GifMakeMapObject(256, colours);
  bool ok = map && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
  GifFreeMapObject(map);
  const bool animated = frames.size() > 1;
  if (ok && animated) {
    const GifByteType loop_forever[] = {1, 0, 0};
    ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop_forever) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
  }
  std::vector<GifPixelType> row(static_cast<size_t>(w));
  for (size_t f = 0; ok && f < frames.size(); ++f) {
    if (animated) {
      // Each frame stays in place for `delay_cs`; none has a transparent colour.
      const GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay_cs, NO_TRANSPARENT_COLOR};
      GifByteType block[4];
      const auto length = static_cast<int>(EGifGCBToExtension(&control, block));
      ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, block) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    const QImage img = frames[f].convertToFormat(QImage::Format_RGB32);
    for (int y = 0; ok && y < h; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < w; ++x) row[static_cast<size_t>(x)] = index(line[x] | 0xFF000000u);
      ok = EGifPutLine(gif, row.data(), w) == GIF_OK;
    }
  }
  // Closing writes the trailer, and frees the file after a failed write too.
  if (EGifCloseFile(gif, &error) != GIF_OK || !ok) return {};
  return out;
}

bool IsFlat(const QImage& image) {
  const auto histogram = Histogram({image});
  size_t total = 0, top = 0;
  for (size_t i = 0; i < histogram.size(); ++i) {
    total += histogram[i].second;
    if (i < 24) top += histogram[i].second;
  }
  return total > 0 && static_cast<double>(top) >= 0.93 * static_cast<double>(total);
}

std::string EncodePicture(const QImage& image) {
  return IsFlat(image) ? EncodeGif({image}) : EncodeJpeg(image);
}

}  // namespace art
