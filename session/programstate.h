// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"
#include "settings/settings.h"

namespace kostwerk::session {

// What lives for the whole run and is shared by the windows.
struct ProgramState
{
    settings::Settings settings;
    core::WeekPlan weekPlan;
    bool dataLoaded = false; // set once a cache was read or a fetch ran
};

} // namespace kostwerk::session
