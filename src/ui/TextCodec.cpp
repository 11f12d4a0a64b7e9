#include "ui/TextCodec.h"

#include <QFile>
#include <array>

namespace qm::ui {

namespace {

// 0x80..0x9F of the code page; 0 marks the five unassigned bytes, which are
// taken as the control characters of the same code, as the system does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

QString fromCp1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t u = b;
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0) u = kHighControls[b - 0x80];
        out.append(QChar(u));
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
        for (std::size_t i = 0; i < kHighControls.size(); ++i) {
            const char16_t k = kHighControls[i];
            if ((k != 0 && k == u) || (k == 0 && u == 0x80 + i)) {
                mapped = static_cast<char>(0x80 + i);
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
