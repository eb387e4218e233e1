#include "raster.h"

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

class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void Write(uint32_t code, int bits) {
    acc_ |= code << count_;
    count_ += bits;
    while (count_ >= 8) {
      Byte(static_cast<uint8_t>(acc_ & 0xFF));
      acc_ >>= 8;
      count_ -= 8;
    }
  }
  void Finish() {
    if (count_ > 0) Byte(static_cast<uint8_t>(acc_ & 0xFF));
    acc_ = 0;
    count_ = 0;
    Flush();
    out_ += '\0';  // block terminator
  }

 private:
  void Byte(uint8_t b) {
    block_ += static_cast<char>(b);
    if (block_.size() == 255) Flush();
  }
  void Flush() {
    if (block_.empty()) return;
    out_ += static_cast<char>(block_.size());
    out_ += block_;
    block_.clear();
  }
  std::string& out_;
  std::string block_;
  uint32_t acc_ = 0;
  int count_ = 0;
};

// LZW-compresses 8-bit palette indexes the way GIF decoders expect (variable code width from
// 9 to 12 bits, a clear code whenever the table is full).
void Lzw(const std::vector<uint8_t>& indexes, std::string& out) {
  constexpr int kMinCodeSize = 8;
  constexpr uint32_t kClear = 1u << kMinCodeSize;
  constexpr uint32_t kEnd = kClear + 1;
  out += static_cast<char>(kMinCodeSize);
  BitWriter bits(out);
  std::vector<int16_t> table(4096 * 256, -1);
  int code_size = kMinCodeSize + 1;
  uint32_t max_code = kEnd;
  bits.Write(kClear, code_size);
  if (indexes.empty()) {
    bits.Write(kEnd, code_size);
    bits.Finish();
    return;
  }
  uint32_t current = indexes[0];
  for (size_t i = 1; i < indexes.size(); ++i) {
    const uint8_t next = indexes[i];
    int16_t& entry = table[current * 256 + next];
    if (entry >= 0) {
      current = static_cast<uint32_t>(entry);
      continue;
    }
    bits.Write(current, code_size);
    entry = static_cast<int16_t>(++max_code);
    if (max_code >= (1u << code_size)) ++code_size;
    if (max_code == 4095) {
      bits.Write(kClear, code_size);
      std::fill(table.begin(), table.end(), int16_t{-1});
      code_size = kMinCodeSize + 1;
      max_code = kEnd;
    }
    current = next;
  }
  bits.Write(current, code_size);
  bits.Write(kEnd, code_size);
  bits.Finish();
}

void U16(std::string& out, int v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
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
  while (palette.size() < 256) palette.push_back(0xFF000000u);
  std::unordered_map<QRgb, uint8_t> index_of;
  for (size_t i = used; i-- > 0;) index_of[palette[i]] = static_cast<uint8_t>(i);

  std::string out = "GIF89a";
  U16(out, w);
  U16(out, h);
  out += static_cast<char>(0xF7);  // global colour table of 256 entries, 8 bits per primary
  out += '\0';
  out += '\0';
  for (QRgb c : palette) {
    out += static_cast<char>(qRed(c));
    out += static_cast<char>(qGreen(c));
    out += static_cast<char>(qBlue(c));
  }
  if (frames.size() > 1) {
    out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
    U16(out, 0);  // loop forever
    out += '\0';
  }
  for (const QImage& frame : frames) {
    const QImage img = frame.convertToFormat(QImage::Format_RGB32);
    if (frames.size() > 1) {
      out += "\x21\xF9\x04";
      out += static_cast<char>(0x04);  // leave the frame in place; no transparency
      U16(out, delay_cs);
      out += '\0';
      out += '\0';
    }
    out += '\x2C';
    U16(out, 0);
    U16(out, 0);
    U16(out, w);
    U16(out, h);
    out += '\0';
    std::vector<uint8_t> indexes;
    indexes.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < w; ++x) {
        const QRgb c = line[x] | 0xFF000000u;
        auto it = index_of.find(c);
        if (it == index_of.end()) {
          size_t best = 0;
          int best_d = Distance(c, palette[0]);
          for (size_t i = 1; i < used; ++i) {
            const int d = Distance(c, palette[i]);
            if (d < best_d) {
              best_d = d;
              best = i;
            }
          }
          it = index_of.emplace(c, static_cast<uint8_t>(best)).first;
        }
        indexes.push_back(it->second);
      }
    }
    Lzw(indexes, out);
  }
  out += '\x3B';
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
