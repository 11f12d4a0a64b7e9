#include "ui/CommonDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "model/SafeFile.h"
#include "ui/TextCodec.h"

namespace qm::ui {

CommonDialog::CommonDialog(std::unique_ptr<FileDialogBackend> backend) : backend_(std::move(backend)) {}

void CommonDialog::take(std::string chosen) {
    fileName = std::move(chosen);
    fileTitle = fileName.empty() ? std::string() : fileTitleOf(fileName);
}

void CommonDialog::showOpen() { take(backend_->showOpen(*this)); }

void CommonDialog::showSave() { take(backend_->showSave(*this)); }

std::string qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // The description usually repeats the pattern in brackets; Qt reads
        // the patterns from the last brackets, so give it the converted ones.
        const qsizetype bracket = description.lastIndexOf(QLatin1Char('('));
        if (bracket > 0 && description.endsWith(QLatin1Char(')'))) description = description.left(bracket).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;")).toStdString();
}

namespace {

QString startPath(const CommonDialog& dialog) {
    const QString dir = fromFileName(dialog.initDir);
    if (dialog.fileName.empty()) return dir;
    const QString name = fromFileName(dialog.fileName);
    return QFileInfo(name).isAbsolute() ? name : QDir(dir).filePath(name);
}

std::string chosen(const QString& path) {
    if (path.isEmpty()) return {};
    QDir::setCurrent(QFileInfo(path).absolutePath());
    return toFileName(QDir::toNativeSeparators(path));
}

}  // namespace

std::string QtFileDialogBackend::showOpen(const CommonDialog& dialog) {
    return chosen(QFileDialog::getOpenFileName(parent_, QString(), startPath(dialog),
                                               QString::fromStdString(qtNameFilters(dialog.filter))));
}

std::string QtFileDialogBackend::showSave(const CommonDialog& dialog) {
    // The commands apply their own overwrite rule and add no extension.
    return chosen(QFileDialog::getSaveFileName(parent_, QString(), startPath(dialog),
                                               QString::fromStdString(qtNameFilters(dialog.filter)), nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

}  // namespace qm::ui
