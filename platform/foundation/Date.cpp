#include "platform/foundation/Date.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

#include <cmath>
#include <ctime>
#include <fmt/format.h>

namespace foundation {

Date Date::now() { return Date(RunLoop::main().now()); }

double Date::timeIntervalSinceNow() const { return seconds_ - now().seconds_; }

std::string Date::format(std::string_view pattern) const {
    const double whole = std::floor(seconds_);
    const auto time = static_cast<std::time_t>(whole);
    const int millis = static_cast<int>((seconds_ - whole) * 1000);
    std::tm parts{};
    localtime_r(&time, &parts);
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        char letter = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == letter)
            ++run;
        switch (letter) {
        case 'y':
            out += run == 2 ? fmt::format("{:02}", (parts.tm_year + 1900) % 100)
                            : fmt::format("{:0{}}", parts.tm_year + 1900, run);
            break;
        case 'M':
            out += fmt::format("{:0{}}", parts.tm_mon + 1, run);
            break;
        case 'd':
            out += fmt::format("{:0{}}", parts.tm_mday, run);
            break;
        case 'H':
            out += fmt::format("{:0{}}", parts.tm_hour, run);
            break;
        case 'm':
            out += fmt::format("{:0{}}", parts.tm_min, run);
            break;
        case 's':
            out += fmt::format("{:0{}}", parts.tm_sec, run);
            break;
        case 'S':
            out += fmt::format("{:03}", millis).substr(0, run);
            break;
        case '\'': {
            // Quoted text is copied; a doubled quote, inside or outside, is one literal quote.
            std::size_t at = i + 1;
            if (at < pattern.size() && pattern[at] == '\'') {
                out += '\'';
                run = 2;
                break;
            }
            for (; at < pattern.size(); ++at) {
                if (pattern[at] != '\'')
                    out += pattern[at];
                else if (at + 1 < pattern.size() && pattern[at + 1] == '\'')
                    out += pattern[at++];
                else
                    break;
            }
            run = at - i + 1;
            break;
        }
        default:
            out.append(run, letter);
        }
        i += run;
    }
    return out;
}

} // namespace foundation
