#include "ads/request/UserAgent.h"

#include "ads/request/URLDownload.h"
#include "platform/foundation/ASCII.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/UserDefaults.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>

namespace pennant {

UserAgent::Facts UserAgent::current() {
    const auto& device = foundation::DeviceProfile::current();
    return Facts{device.model,
                 device.systemName,
                 device.systemVersion,
                 device.machine,
                 foundation::UserDefaults::standard().stringForKey("AppleLocale"),
                 URLDownload::isJailbroken()};
}

std::string UserAgent::format(const Facts& facts) {
    std::string version = facts.systemVersion;
    std::ranges::replace(version, '.', '_');
    // A missing locale prints the way the platform prints a missing object.
    const std::string locale = foundation::ASCII::lowercased(facts.locale.value_or("(null)"));
    return fmt::format("Mozilla/5.0 ({}; U; CPU {} {} like Mac OS X; HW {}; {}) "
                       "AppleWebKit/525.18.1 (KHTML, like Gecko) (Pennant-iSDK-{}{}{})",
                       facts.model, facts.systemName, version, facts.machine, locale, "20091119",
                       "", facts.jailbroken ? "; j" : "");
}

} // namespace pennant
