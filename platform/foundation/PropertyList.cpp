#include "platform/foundation/PropertyList.h"

#include "platform/foundation/Date.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/PropertyListBounds.h"
#include "platform/foundation/StringsFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <plist/plist.h>

namespace foundation {

namespace {

constexpr const char* kDomain = "PropertyListErrorDomain";

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

std::optional<Value> fromPlist(plist_t node, int depth);

std::optional<Value> fromArray(plist_t node, int depth) {
    Value::Array array;
    const uint32_t count = plist_array_get_size(node);
    array.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        auto element = fromPlist(plist_array_get_item(node, i), depth + 1);
        if (!element)
            return std::nullopt;
        array.push_back(std::move(*element));
    }
    return Value(std::move(array));
}

std::optional<Value> fromDictionary(plist_t node, int depth) {
    Dictionary dictionary;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter, &key, &item);
        if (!item) {
            std::free(key);
            break;
        }
        auto value = fromPlist(item, depth + 1);
        std::string name = key ? key : "";
        std::free(key);
        if (!value) {
            std::free(iter);
            return std::nullopt;
        }
        dictionary.set(std::move(name), std::move(*value));
    }
    std::free(iter);
    return Value(std::move(dictionary));
}

std::optional<Value> fromPlist(plist_t node, int depth) {
    if (!node || depth >= PropertyList::kMaxDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return Value::boolean(flag != 0);
    }
    case PLIST_UINT: {
        // libplist keeps signed integers in the same 64 bits.
        uint64_t raw = 0;
        plist_get_uint_val(node, &raw);
        return Value::integer(static_cast<long long>(raw));
    }
    case PLIST_UID: {
        uint64_t raw = 0;
        plist_get_uid_val(node, &raw);
        return Value::integer(static_cast<long long>(raw));
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return Value::number(number);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return Value(std::string(text ? text : "", text ? length : 0));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return Value(Data(bytes, bytes ? length : 0));
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return Value::number(Date::kReferenceDateOffset + sec + usec / 1e6);
    }
    case PLIST_ARRAY:
        return fromArray(node, depth);
    case PLIST_DICT:
        return fromDictionary(node, depth);
    default:
        return std::nullopt;
    }
}

plist_t toPlist(const Value& value, int depth) {
    if (depth >= PropertyList::kMaxDepth)
        return nullptr;
    switch (value.type()) {
    case Value::Type::Null:
        return nullptr;
    case Value::Type::Boolean:
        return plist_new_bool(value.boolValue());
    case Value::Type::Number:
        if (value.isInteger())
            return plist_new_uint(static_cast<uint64_t>(value.intValue()));
        return std::isfinite(value.doubleValue()) ? plist_new_real(value.doubleValue()) : nullptr;
    case Value::Type::String:
        return plist_new_string(std::string(value.asString()).c_str());
    case Value::Type::Data:
        return plist_new_data(reinterpret_cast<const char*>(value.asData().bytes()),
                              value.asData().size());
    case Value::Type::Array: {
        plist_t array = plist_new_array();
        for (const Value& element : value.asArray()) {
            plist_t item = toPlist(element, depth + 1);
            if (!item) {
                plist_free(array);
                return nullptr;
            }
            plist_array_append_item(array, item);
        }
        return array;
    }
    case Value::Type::Dictionary: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, element] : value.asDictionary()) {
            plist_t item = toPlist(element, depth + 1);
            if (!item) {
                plist_free(dict);
                return nullptr;
            }
            plist_dict_set_item(dict, key.c_str(), item);
        }
        return dict;
    }
    }
    return nullptr;
}

// libplist recurses once per level while it builds and frees its tree, so the bytes are
// checked first. An XML list has one element more than levels: the <plist> around them.
Status checkBounds(std::string_view bytes, bool binary) {
    if (binary)
        return PropertyListBounds::checkBinary(bytes, PropertyList::kMaxDepth,
                                               PropertyList::kMaxValues);
    return PropertyListBounds::checkXML(bytes, PropertyList::kMaxDepth + 1);
}

Result<Value> readWithLibplist(const Data& data, bool binary) {
    if (auto bounded = checkBounds(data.view(), binary); !bounded)
        return bounded.error();
    plist_t node = nullptr;
    plist_from_memory(reinterpret_cast<const char*>(data.bytes()),
                      static_cast<uint32_t>(data.size()), &node);
    PlistPtr root(node);
    auto value = fromPlist(node, 0);
    if (!value)
        return Error{kDomain, -1, "Malformed property list"};
    return std::move(*value);
}

bool looksLikeXML(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    auto first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
}

template <typename Writer, typename Freer>
Result<Data> write(const Value& value, Writer writer, Freer freer) {
    PlistPtr root(toPlist(value, 0));
    if (!root)
        return Error{kDomain, -2, "Value cannot be written as a property list"};
    char* bytes = nullptr;
    uint32_t length = 0;
    writer(static_cast<plist_t>(root.get()), &bytes, &length);
    if (!bytes)
        return Error{kDomain, -2, "Property list could not be encoded"};
    Data data(bytes, length);
    freer(bytes);
    return data;
}

} // namespace

Result<Value> PropertyList::read(const Data& data) {
    if (data.empty())
        return Error{kDomain, -1, "Property list is empty"};
    if (data.size() > kMaxInputSize)
        return Error{kDomain, -1, "Property list is too large"};
    const bool binary = plist_is_binary(reinterpret_cast<const char*>(data.bytes()),
                                        static_cast<uint32_t>(data.size()));
    if (binary || looksLikeXML(data.view()))
        return readWithLibplist(data, binary);
    auto table = StringsFormat::parse(data.view());
    if (!table)
        return table.error();
    return Value(std::move(table.value()));
}

Result<Data> PropertyList::writeXML(const Value& value) {
    return write(value, plist_to_xml, plist_to_xml_free);
}

Result<Data> PropertyList::writeBinary(const Value& value) {
    return write(value, plist_to_bin, plist_to_bin_free);
}

} // namespace foundation
