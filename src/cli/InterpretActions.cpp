// --interpret [--area-ratio A] [--water-table M] [--unit-weight auto|KN]:
// the View menu's interpretation settings without a window. From here on the
// exports carry the interpretation and --info names its settings; the
// sounding itself is not changed.

#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/NumberText.h"

namespace qm::cli {

namespace {

const char* const kInterpret = "--interpret";

// A number after `option`, checked by `problem`; a usage error otherwise.
double settingValue(const std::string& text, const std::string& option, std::string (*problem)(double)) {
    const std::optional<double> v = localeTextToNumber(text, '.');
    if (!v) throw UsageError{option + " takes a number, not " + text};
    if (const std::string why = problem(*v); !why.empty()) throw UsageError{option + " " + text + ": " + why};
    return *v;
}

bool runInterpret(CliContext& ctx, const std::vector<std::string>& args, std::size_t& next) {
    InterpretationSettings settings;
    if (ctx.fileAreaRatio && areaRatioProblem(*ctx.fileAreaRatio).empty()) settings.areaRatio = *ctx.fileAreaRatio;
    for (;;) {
        if (takeFlag(args, next, "--area-ratio")) {
            settings.areaRatio = settingValue(argumentOf(args, next, "--area-ratio"), "--area-ratio", areaRatioProblem);
        } else if (takeFlag(args, next, "--water-table")) {
            settings.waterTable =
                settingValue(argumentOf(args, next, "--water-table"), "--water-table", waterTableProblem);
        } else if (takeFlag(args, next, "--unit-weight")) {
            const std::string& text = argumentOf(args, next, "--unit-weight");
            if (text == "auto") settings.unitWeight.reset();
            else settings.unitWeight = settingValue(text, "--unit-weight", unitWeightProblem);
        } else {
            break;
        }
    }
    if (ctx.checking) return true;
    ctx.interpretation = settings;
    return true;
}

}  // namespace

std::optional<Interpretation> interpretationOf(const CliContext& ctx) {
    if (!ctx.interpretation) return std::nullopt;
    return interpret(ctx.sounding, ctx.tables, *ctx.interpretation);
}

void registerInterpretActions(ActionRegistry& r) {
    r.add({kInterpret, std::string(kInterpret) + " [--area-ratio A] [--water-table M] [--unit-weight W]",
           "the exports after it carry the interpretation (qt, stresses, Qtn, Fr, Bq, Ic, zone): net area ratio "
           "A (0.80), water table M metres below ground (the header's), unit weight W auto or kN/m3 (auto)",
           runInterpret});
}

}  // namespace qm::cli
