#include "ui/qt/fonts.h"

#include "ui/qt/qt_text.h"

namespace ui::qt {
namespace {

constexpr std::string_view kKai[] = {"楷体_GB2312",   "KaiTi_GB2312",  "KaiTi",        "楷体",
                                     "AR PL UKai CN", "AR PL UKai TW", "AR PL UKai HK"};
constexpr std::string_view kSong[] = {"宋体",           "SimSun",         "NSimSun",
                                      "AR PL UMing CN", "AR PL UMing TW", "WenQuanYi Zen Hei"};
constexpr std::string_view kSans[] = {"Arial", "Liberation Sans", "DejaVu Sans"};
constexpr std::string_view kBlack[] = {"Arial Black", "Liberation Sans", "DejaVu Sans"};
constexpr std::string_view kSerif[] = {"Georgia", "Liberation Serif", "DejaVu Serif"};

template <size_t N>
QStringList List(const std::string_view (&faces)[N]) {
  QStringList out;
  for (std::string_view face : faces) out << FromUtf8(face);
  // Chinese captions in a Latin face fall back to a Chinese face, as Windows' font linking does.
  for (std::string_view face : kSong) {
    const QString name = FromUtf8(face);
    if (!out.contains(name)) out << name;
  }
  return out;
}

}  // namespace

QStringList FontFamilies(std::string_view face) {
  if (face.find("楷") != std::string_view::npos || face.starts_with("Kai")) return List(kKai);
  if (face == "宋体" || face == "SimSun") return List(kSong);
  if (face == "Arial Black") return List(kBlack);
  if (face == "Georgia") return List(kSerif);
  // Arial, and WST_Engl (a symbol-set face of two digits' use here) drawn as Arial.
  return List(kSans);
}

QFont ToQFont(const std::optional<Font>& font) {
  QFont out;
  const Font f = font.value_or(Font{"宋体", 12, false, Charset::kGb2312});
  out.setFamilies(FontFamilies(f.face));
  out.setPixelSize(f.pixel_height > 0 ? f.pixel_height : 12);
  out.setWeight(f.bold ? QFont::Bold : QFont::Normal);
  out.setStyleStrategy(QFont::PreferAntialias);
  return out;
}

}  // namespace ui::qt
