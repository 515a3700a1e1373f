#pragma once

namespace tool {

class Command;
struct Console;
class EncodeCommand;
class FetchCommand;
class FlexTree;
class InputSource;
class JSONCommand;
class QueryParseCommand;
class Tool;

} // namespace tool
