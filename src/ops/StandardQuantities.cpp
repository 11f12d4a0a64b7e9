#include "ops/StandardQuantities.h"

#include <algorithm>
#include <cmath>

#include "model/CodePage.h"
#include "model/NumberText.h"
#include "model/Units.h"

namespace qm {

namespace {

std::string channelLabel(const Sounding& s, int c) { return std::to_string(c) + " " + s.channelName[c]; }

// Why channel c cannot give the rule's column; empty when it can.
std::string unusableBecause(const Sounding& s, const ChannelTypeTable& tables, int c, const QuantityRule& rule,
                            int standardUnit) {
    if (standardUnit == 0) return "no " + std::string(rule.tableUnit) + " in its unit table";
    const float current = s.channelUnitFactor[c];
    const float standard = tables.factor(rule.channelType, standardUnit);
    if (s.channelUnitIndex[c] != standardUnit && (current == 0.0f || standard == 0.0f || !std::isfinite(current) ||
                                                  !std::isfinite(standard)))
        return "its unit cannot be converted to " + std::string(rule.tableUnit);
    return {};
}

}  // namespace

QuantityColumns quantityColumns(const Sounding& s, const ChannelTypeTable& tables,
                                std::span<const QuantityRule> rules) {
    QuantityColumns out;
    std::vector<int> ruleChannel(rules.size(), 0);
    const int channelCount = std::clamp<int>(s.channelCount, 0, kMaxChannels);
    for (int c = 1; c <= channelCount; ++c) {
        const auto rule = std::find_if(rules.begin(), rules.end(),
                                       [&](const QuantityRule& q) { return q.channelType == s.channelType[c]; });
        if (rule == rules.end()) {
            out.leftOut.push_back(channelLabel(s, c) + " (no standard quantity)");
            continue;
        }
        const auto index = static_cast<std::size_t>(rule - rules.begin());
        if (ruleChannel[index] != 0) {
            out.leftOut.push_back(channelLabel(s, c) + " (channel " + std::to_string(ruleChannel[index]) +
                                  " has the same quantity)");
            continue;
        }
        const int unit = findUnit(s, tables, c, std::string(rule->tableUnit));
        if (const std::string why = unusableBecause(s, tables, c, *rule, unit); !why.empty()) {
            out.leftOut.push_back(channelLabel(s, c) + " (" + why + ")");
            continue;
        }
        ruleChannel[index] = c;
    }
    for (std::size_t i = 0; i < rules.size(); ++i)
        if (ruleChannel[i] != 0)
            out.columns.push_back({i, ruleChannel[i], findUnit(s, tables, ruleChannel[i], std::string(rules[i].tableUnit))});
    return out;
}

std::optional<double> standardValue(const Sounding& s, const ChannelTypeTable& tables, const QuantityColumn& column,
                                    int r) {
    const float v = s.value(column.channel, r);
    if (v == kNoDataValue || !std::isfinite(v)) return std::nullopt;
    if (s.channelUnitIndex[column.channel] == column.standardUnit) return v;
    const double standard = tables.factor(s.channelType[column.channel], column.standardUnit);
    const double converted = static_cast<double>(v) / s.channelUnitFactor[column.channel] * standard;
    if (!std::isfinite(converted)) return std::nullopt;
    return converted;
}

std::string leftOutMessage(std::string_view fileKind, const QuantityColumns& columns) {
    if (columns.leftOut.empty()) return {};
    std::string text = "The " + std::string(fileKind) + " file leaves out channel";
    if (columns.leftOut.size() > 1) text += "s";
    for (std::size_t i = 0; i < columns.leftOut.size(); ++i) text += (i == 0 ? " " : ", ") + columns.leftOut[i];
    return text + ".";
}

std::string plainFieldText(std::string_view bytes, std::string_view separators) {
    std::string text = cp1252ToAscii(bytes);
    for (char& ch : text)
        if (separators.find(ch) != std::string_view::npos) ch = ' ';
    return text;
}

double depthBelowSurface(const Sounding& s, int r) { return std::fabs(static_cast<double>(s.depth[r])); }

bool blankText(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string soundingFileStem(const Sounding& s) {
    std::string_view name = s.filePath;
    if (const auto slash = name.find_last_of("/\\"); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return blankText(name) ? std::string("CPT") : std::string(name);
}

std::string fixedNumberText(double value, int decimals) {
    std::string pattern = "0";
    if (decimals > 0) pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return formatPattern(value, pattern, '.');
}

}  // namespace qm
