#pragma once

namespace adserver {

class AdServer;
class Catalog;
class FaultPlan;
class Journal;

} // namespace adserver
