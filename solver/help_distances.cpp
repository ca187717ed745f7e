#include "solver/help_distances.h"

namespace kv::help_distances {

const DistanceTables kDistances = MakeDistanceTables();

}  // namespace kv::help_distances
