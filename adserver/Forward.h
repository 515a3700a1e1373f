#pragma once

namespace adserver {

class AdServer;
class Catalog;
class ConnectionStream;
class FaultPlan;
class FaultResponder;
class GuardedServer;
class Journal;
class NetworkRoutes;

} // namespace adserver
