#pragma once

#include <chrono>
#include <memory>
#include <variant>

namespace foundation {

class ASCII;
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
class NumberParser;
class PercentEncoding;
class PlatformContext;
class PropertyList;
class PropertyListBounds;
class RealClock;
class RunLoop;
class Sandbox;
class StringsFormat;
class SubscriberSlot;
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
template <typename... Args>
class Subscribers;

using Seconds = std::chrono::duration<double>;
using Status = Result<std::monostate>;
using Subscription = std::shared_ptr<void>;

} // namespace foundation
