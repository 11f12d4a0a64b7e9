#include "ops/SoundingOpen.h"

#include "model/FileBytes.h"
#include "model/SafeFile.h"
#include "ops/GefReader.h"

namespace qm {

OpenedSounding openSounding(const std::string& path, const ChannelTypeTable& tables, int commaDecimalMode,
                            Sounding& out) {
    OpenedSounding opened;
    if (!isGefFileName(path)) {
        opened.load = readSoundingFile(path, tables, commaDecimalMode, out);
        return opened;
    }
    opened.format = SourceFormat::Gef;
    FileBytes bytes;
    const FileResult read = readWholeFile(path, bytes);
    if (!read.ok) {
        opened.load = {false, read.error, {}};
        return opened;
    }
    GefExtras extras;
    opened.load = readGefText(bytes.view(), tables, out, &extras);
    if (opened.load.ok) {
        out.filePath = path;
        out.openedFileTitle = fileTitleOf(path);
        opened.netAreaRatio = extras.netAreaRatio;
    }
    return opened;
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
