#pragma once

#include "net/service_endpoints.h"
#include "switching/proxy_check_cycle.h"

namespace switching {

// The probes the program makes: the test page through the proxy, the timed
// download of the service's file over the user's own line, the service's
// geo text and address page through the proxy.
CheckProbes ServiceCheckProbes(const net::ServiceEndpoints& endpoints);

} // namespace switching
