#pragma once
// Text files hold Windows-1252 bytes, and the model keeps them as bytes. The
// window converts to and from QString only where a text meets a widget, so a
// header line read and saved keeps every byte.

#include <QString>
#include <string>
#include <string_view>

namespace qm::ui {

QString fromCp1252(std::string_view bytes);
// Characters the code page cannot hold become '?'.
std::string toCp1252(const QString& text);

// File names are in the system's own encoding, not the code page.
QString fromFileName(const std::string& path);
std::string toFileName(const QString& path);

}  // namespace qm::ui
