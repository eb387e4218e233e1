// The edge between the program's GBK texts and Qt's strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ui::qt {

QString FromGbk(std::string_view gbk);
QString FromUtf8(std::string_view utf8);
std::string ToGbk(const QString& text);

}  // namespace ui::qt
