// SPDX-License-Identifier: GPL-2.0-or-later
// What --sensors prints: for each of the seven readings, where it comes
// from and why, its value now and the number text the display would show
// for it; for one without a source, the candidates passed over and why.
// How a user checks the choice of sensors (and a label of their own) without
// waiting two minutes into a run.
#pragma once

#include <iosfwd>

#include "platform/sensors.h"

namespace status {

// Takes one reading of each; the number text is what the status run would
// show if the reading stayed the same.
void ListSensors(platform::Sensors& sensors, std::ostream& out);

}  // namespace status
