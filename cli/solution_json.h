// The solution of `solve --json`: the tree the writers filled beside the
// text, as a JSON document that also holds the text itself.
#pragma once

#include <string>
#include <string_view>

#include "solver/problem_type.h"
#include "solver/solution_tree.h"

namespace kv::cli {

// The document, indented, ending in a line break. `stop` names why the solve
// wrote less than a solution ("none" when it ran to its end); `text` is the
// solution text as the tool prints it (UTF-8).
std::string SolutionJson(const SolutionTree& tree, const ProblemType& type, std::string_view stop,
                         std::string_view text);

}  // namespace kv::cli
