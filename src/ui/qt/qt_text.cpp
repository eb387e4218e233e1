#include "ui/qt/qt_text.h"

#include "text/gbk.h"

namespace ui::qt {

QString FromGbk(std::string_view gbk) { return FromUtf8(text::GbkToUtf8(gbk)); }

QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToGbk(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return text::Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace ui::qt
