// The metrics page in the Prometheus text format, version 0.0.4.
#pragma once

#include <string>

#include "server/operator_snapshot.h"

// startTime: when the process started, in seconds since 1970.
std::string MetricsText(const OperatorSnapshot& s, double startTime);
