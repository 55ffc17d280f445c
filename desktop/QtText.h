#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace tellurix::desktop {

// The core's texts are UTF-8.
inline QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A file name as the file system's bytes decode, as the file dialogs show it.
inline QString shownName(const std::string& name) {
  return QFile::decodeName(QByteArray::fromStdString(name));
}

// Gives the control its name as its objectName, by which the tests find it.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace tellurix::desktop
