#pragma once

#include <chrono>
#include <variant>

namespace foundation {

class BlockPool;
class Bundle;
class Clock;
class Data;
class Date;
class Dictionary;
class FileManager;
class Lifetime;
class Log;
class NotificationCenter;
class PercentEncoding;
class PlatformContext;
class PropertyList;
class RealClock;
class RunLoop;
class Sandbox;
class StringsFormat;
class Timer;
class URL;
class UTF8;
class UserDefaults;
class Value;
class VirtualClock;
class WorkerThread;
struct DeviceProfile;
struct Error;
struct Notification;

template <typename T>
class Result;
template <typename T>
class Singleton;

using Seconds = std::chrono::duration<double>;
using Status = Result<std::monostate>;

} // namespace foundation
