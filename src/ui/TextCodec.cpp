#include "ui/TextCodec.h"

#include <QFile>

#include "model/CodePage.h"

namespace qm::ui {

QString fromCp1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(static_cast<char16_t>(cp1252ToUnicode(b))));
    }
    return out;
}

std::string toCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (int b = 0x80; b <= 0x9F; ++b) {
            if (cp1252ToUnicode(static_cast<unsigned char>(b)) == u) {
                mapped = static_cast<char>(b);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

QString fromFileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string toFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace qm::ui
