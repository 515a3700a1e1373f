#pragma once

namespace adserver {

class AdServer;
class Catalog;
class FaultPlan;
class FaultResponder;
class Journal;
class NetworkRoutes;

} // namespace adserver
