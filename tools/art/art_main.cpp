// examora-art MANIFEST SRC_DIR OUT_DIR: rasterises the artwork listed in MANIFEST (SVG sources
// in SRC_DIR) into the JPEG and GIF files the program shows, one file per manifest line.
// Same sources, same bytes: nothing depends on time, order of hashing or the environment.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "raster.h"

namespace {

// One manifest line: output<TAB>format<TAB>width<TAB>height<TAB>sources[<TAB>delay].
// Several comma-separated sources make an animated GIF with `delay_cs` per frame.
struct Entry {
  std::string output;
  std::string format;  // "jpeg" or "gif"
  int width = 0;
  int height = 0;
  std::vector<std::string> sources;
  int delay_cs = 10;
  int line = 0;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

std::optional<int> ParseCount(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

// A name that stays inside its folder: no separators, no leading dot, not empty.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

bool Fail(const std::string& where, const std::string& message) {
  std::fprintf(stderr, "examora-art: %s: %s\n", where.c_str(), message.c_str());
  return false;
}

bool ReadManifest(const std::string& path, std::vector<Entry>* entries) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(path, "cannot read the manifest");
  std::set<std::string> seen;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text[0] == '#') continue;
    const std::string where = path + ":" + std::to_string(number);
    const auto fields = Split(text, '\t');
    if (fields.size() != 5 && fields.size() != 6) {
      return Fail(where, "expected 5 or 6 tab-separated fields");
    }
    Entry e;
    e.line = number;
    e.output = fields[0];
    e.format = fields[1];
    if (!IsPlainFileName(e.output)) return Fail(where, "bad output name '" + e.output + "'");
    if (!seen.insert(e.output).second) return Fail(where, "output '" + e.output + "' twice");
    if (e.format != "jpeg" && e.format != "gif") {
      return Fail(where, "format must be jpeg or gif, not '" + e.format + "'");
    }
    const auto width = ParseCount(fields[2], 1, 4096);
    const auto height = ParseCount(fields[3], 1, 4096);
    if (!width || !height) return Fail(where, "width and height must be 1 to 4096");
    e.width = *width;
    e.height = *height;
    for (const std::string& source : Split(fields[4], ',')) {
      if (!IsPlainFileName(source)) return Fail(where, "bad source name '" + source + "'");
      e.sources.push_back(source);
    }
    if (e.sources.empty()) return Fail(where, "no source");
    const std::string delay = fields.size() == 6 ? fields[5] : std::string("-");
    if (delay != "-" && !delay.empty()) {
      const auto cs = ParseCount(delay, 1, 65535);
      if (!cs) return Fail(where, "delay must be 1 to 65535 hundredths of a second");
      e.delay_cs = *cs;
    }
    if (e.format == "jpeg" && e.sources.size() != 1) {
      return Fail(where, "a JPEG has exactly one source");
    }
    entries->push_back(std::move(e));
  }
  if (entries->empty()) return Fail(path, "lists no pictures");
  return true;
}

// Renders one source at the entry's size. The SVG must declare that very size: a drawing made
// for another size would be stretched, and the control it is made for would not fit it.
bool RenderSource(const Entry& e, const QString& path, QImage* image) {
  const std::string where = path.toStdString();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Fail(where, "cannot read");
  const QByteArray svg = file.readAll();
  QSvgRenderer probe(svg);
  if (!probe.isValid()) return Fail(where, "not a valid SVG");
  const QSize declared = probe.defaultSize();
  if (declared != QSize(e.width, e.height)) {
    return Fail(where, "declares " + std::to_string(declared.width()) + " x " +
                           std::to_string(declared.height()) + ", the manifest asks for " +
                           std::to_string(e.width) + " x " + std::to_string(e.height));
  }
  *image = art::RenderSvg(svg, declared);
  if (image->isNull()) return Fail(where, "rendering failed");
  return true;
}

// Colours across all frames, counted up to `limit` + 1.
size_t CountColours(const std::vector<QImage>& frames, size_t limit) {
  std::set<QRgb> colours;
  for (const QImage& frame : frames) {
    const QImage img = frame.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        colours.insert(line[x] | 0xFF000000u);
        if (colours.size() > limit) return colours.size();
      }
    }
  }
  return colours.size();
}

bool Build(const Entry& e, const QDir& src, const QDir& out) {
  std::vector<QImage> frames;
  for (const std::string& source : e.sources) {
    QImage image;
    if (!RenderSource(e, src.filePath(QString::fromStdString(source)), &image)) return false;
    frames.push_back(std::move(image));
  }
  // A GIF keeps 256 colours; past that its edges and shading are approximated. Not an error,
  // but worth a word to whoever draws the source.
  if (e.format == "gif" && CountColours(frames, 256) > 256) {
    std::fprintf(stderr, "examora-art: note: %s has more than 256 colours; some are approximated\n",
                 e.output.c_str());
  }
  const std::string bytes =
      e.format == "jpeg" ? art::EncodeJpeg(frames[0]) : art::EncodeGif(frames, e.delay_cs);
  const QString target = out.filePath(QString::fromStdString(e.output));
  if (bytes.empty()) return Fail(target.toStdString(), "encoding failed");
  // Written whole or not at all, so a failed run never leaves a truncated picture behind.
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    return Fail(target.toStdString(), "cannot write");
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: examora-art MANIFEST SRC_DIR OUT_DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QGuiApplication app(qt_argc, argv);

  std::vector<Entry> entries;
  if (!ReadManifest(argv[1], &entries)) return 1;
  const QDir src(QString::fromLocal8Bit(argv[2]));
  const QDir out(QString::fromLocal8Bit(argv[3]));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    Fail(argv[3], "cannot create the output folder");
    return 1;
  }
  for (const Entry& e : entries) {
    if (!Build(e, src, out)) return 1;
  }
  return 0;
}
