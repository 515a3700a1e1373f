#pragma once

#include <cstdint>

namespace net {

class HTTPClient;
struct HTTPCompletion;
struct HTTPFailure;
struct HTTPRequest;
struct HTTPResponse;
class HTTPTask;
class HostMap;
enum class CachePolicy : std::uint32_t;

} // namespace net
