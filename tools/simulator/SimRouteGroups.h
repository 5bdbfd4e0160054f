// The one list of the server's route groups, one per screen group.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

#include <memory>
#include <vector>

// Every route group, in the order their routes are added (a later group's
// function replaces an earlier one's of the same number).
std::vector<std::unique_ptr<ISimRouteGroup>> MakeRouteGroups();
