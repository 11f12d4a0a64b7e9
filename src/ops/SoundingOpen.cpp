#include "ops/SoundingOpen.h"

#include "model/FileBytes.h"
#include "model/SafeFile.h"
#include "ops/AgsReader.h"
#include "ops/GefReader.h"

namespace qm {

OpenedSounding openSounding(const std::string& path, const ChannelTypeTable& tables, int commaDecimalMode,
                            Sounding& out) {
    OpenedSounding opened;
    const AgsPath ags = agsPathOf(path);
    if (!isGefFileName(path) && ags.file.empty()) {
        opened.load = readSoundingFile(path, tables, commaDecimalMode, out);
        return opened;
    }
    opened.format = ags.file.empty() ? SourceFormat::Gef : SourceFormat::Ags;
    const std::string file = ags.file.empty() ? path : ags.file;
    FileBytes bytes;
    const FileResult read = readWholeFile(file, bytes);
    if (!read.ok) {
        opened.load = {false, read.error, {}};
        return opened;
    }
    if (opened.format == SourceFormat::Gef) {
        GefExtras extras;
        opened.load = readGefText(bytes.view(), tables, out, &extras);
        opened.netAreaRatio = extras.netAreaRatio;
    } else {
        AgsExtras extras;
        opened.load = readAgsText(bytes.view(), ags.test, tables, out, &extras);
        opened.netAreaRatio = extras.netAreaRatio;
    }
    if (opened.load.ok) {
        out.filePath = file;
        out.openedFileTitle = fileTitleOf(file);
    }
    return opened;
}

AgsPath agsPathOf(const std::string& path) {
    if (isAgsFileName(path)) return {path, {}};
    const std::size_t hash = path.rfind('#');
    if (hash != std::string::npos && isAgsFileName(std::string_view(path).substr(0, hash)))
        return {path.substr(0, hash), path.substr(hash + 1)};
    return {};
}

std::string cptPathFor(const std::string& path, SourceFormat format) {
    if (format == SourceFormat::Cpt) return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                                 ? path
                                 : path.substr(0, dot);
    return stem + ".cpt";
}

}  // namespace qm
