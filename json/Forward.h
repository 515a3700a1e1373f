#pragma once

namespace json {

class DataScanner;
class JSONDeserializer;
class JSONScanner;
class JSONSerializer;
class TextEncoding;

} // namespace json
