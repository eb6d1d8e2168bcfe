#include "core/export/make_rules.h"

#include "core/base/message_text.h"

#include <set>

namespace tessra {

namespace {

constexpr std::size_t LineWidth = 78;

std::string Escaped(const std::string& name) {
    std::string out;
    for (const char c : name) {
        if (c == ' ' || c == '\t' || c == '#' || c == ':') {
            out += '\\';
        } else if (c == '$') {
            out += '$';
        }
        out += c;
    }
    return out;
}

// Appends names after a rule's head, breaking the line before one that would
// run past the width.
void AppendNames(std::string& out, std::size_t& column, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string word = Escaped(name);
        if (column + 1 + word.size() > LineWidth && column > 0) {
            out += " \\\n ";
            column = 1;
        }
        out += ' ' + word;
        column += 1 + word.size();
    }
}

} // namespace

Result<std::string> WriteMakeRules(const std::vector<MakeRule>& rules) {
    std::string out;
    std::set<std::string> targets, sources;
    for (const MakeRule& rule : rules) {
        for (const auto* names : {&rule.Targets, &rule.Sources}) {
            for (const std::string& name : *names) {
                if (name.find_first_of("\n\r") != std::string::npos) {
                    return Error{"A make rule cannot name " + Shortened(name) +
                                 ", whose name holds a line break."};
                }
                (names == &rule.Targets ? targets : sources).insert(name);
            }
        }
    }
    for (const MakeRule& rule : rules) {
        std::string head;
        for (const std::string& target : rule.Targets) {
            head += (head.empty() ? "" : " ") + Escaped(target);
        }
        out += head + ':';
        std::size_t column = head.size() + 1;
        AppendNames(out, column, rule.Sources);
        out += '\n';
    }
    for (const std::string& source : sources) {
        if (!targets.contains(source)) {
            out += '\n' + Escaped(source) + ":\n";
        }
    }
    return out;
}

} // namespace tessra
