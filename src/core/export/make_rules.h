#pragma once

#include "core/base/result.h"

#include <string>
#include <vector>

namespace tessra {

// One rule of a make dependency file: the files made together and the files
// they were made from.
struct MakeRule {
    std::vector<std::string> Targets;
    std::vector<std::string> Sources;
};

// The rules as make reads them: "TARGET ...: SOURCE ...", long lines
// continued with a backslash, a space in a name as "\ ", # as "\#" and $ as
// "$$". Every source that no rule makes also gets an empty rule of its own,
// so that make goes on when one is deleted or renamed (as gcc -MP does). A
// name with a line break cannot be written so and is refused.
Result<std::string> WriteMakeRules(const std::vector<MakeRule>& rules);

} // namespace tessra
