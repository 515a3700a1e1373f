#include "tools/pennant/FileDelegate.h"

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NumberParser.h"
#include "tools/pennant/Command.h"
#include "json/JSONDeserializer.h"

#include <ctime>
#include <fmt/format.h>

namespace tool {

namespace {
// A delegate file is a few lines written by hand.
constexpr std::size_t kReadLimit = 1024 * 1024;
constexpr const char* kErrorDomain = "PennantToolErrorDomain";

foundation::Error fileError(const std::string& message) {
    return foundation::Error{kErrorDomain, Command::kUsageOrInputError, message};
}
} // namespace

// Reads the known keys of one object; the first value of the wrong form stops it.
class FileDelegate::Reader {
public:
    explicit Reader(const foundation::Dictionary& entries) : entries_(entries) {}

    void text(std::string_view key, std::optional<std::string>& answer) {
        if (const auto* value = present(key, "a string", &foundation::Value::isString))
            answer = std::string(value->asString());
    }
    void flag(std::string_view key, std::optional<bool>& answer) {
        if (const auto* value = present(key, "true or false", &foundation::Value::isBoolean))
            answer = value->boolValue();
    }
    void color(std::string_view key, std::optional<graphics::Color>& answer) {
        if (const auto numbers = numberArray(key, 4, "an array of 4 numbers [r,g,b,a]"))
            answer = graphics::Color(float((*numbers)[0]), float((*numbers)[1]),
                                     float((*numbers)[2]), float((*numbers)[3]));
    }
    void place(std::string_view key, std::optional<std::optional<location::Location>>& answer) {
        if (const auto numbers = numberArray(key, 2, "an array [latitude, longitude]"))
            answer = location::Location({(*numbers)[0], (*numbers)[1]}, 0, foundation::Date::now());
    }
    void date(std::string_view key, std::optional<foundation::Date>& answer) {
        const auto* value = present(key, "a date YYYY-MM-DD", &foundation::Value::isString);
        if (!value)
            return;
        if (const auto day = parseDay(value->asString()))
            answer = *day;
        else
            fail(key, "a date YYYY-MM-DD");
    }

    const std::optional<foundation::Error>& error() const { return error_; }

private:
    // The value when the key is there in the expected form; a wrong form is an error.
    const foundation::Value* present(std::string_view key, std::string_view form,
                                     bool (foundation::Value::*isExpected)() const) {
        const auto* value = entries_.find(key);
        if (!value || error_)
            return nullptr;
        if ((value->*isExpected)())
            return value;
        fail(key, form);
        return nullptr;
    }
    std::optional<std::vector<double>> numberArray(std::string_view key, std::size_t count,
                                                   std::string_view form) {
        const auto* value = present(key, form, &foundation::Value::isArray);
        if (!value)
            return std::nullopt;
        std::vector<double> numbers;
        for (const auto& element : value->asArray())
            if (element.isNumber() && !element.isBoolean())
                numbers.push_back(element.doubleValue());
        if (numbers.size() == count && value->asArray().size() == count)
            return numbers;
        fail(key, form);
        return std::nullopt;
    }
    // Midnight UTC of a real calendar day.
    static std::optional<foundation::Date> parseDay(std::string_view text) {
        if (text.size() != 10 || text[4] != '-' || text[7] != '-')
            return std::nullopt;
        const auto year = foundation::NumberParser::integer(text.substr(0, 4), "year", 1, 9999);
        const auto month = foundation::NumberParser::integer(text.substr(5, 2), "month", 1, 12);
        const auto day = foundation::NumberParser::integer(text.substr(8, 2), "day", 1, 31);
        if (!year || !month || !day)
            return std::nullopt;
        std::tm fields{};
        fields.tm_year = int(year.value() - 1900);
        fields.tm_mon = int(month.value() - 1);
        fields.tm_mday = int(day.value());
        const std::time_t seconds = ::timegm(&fields);
        // timegm normalises 31 April into 1 May: a changed day means no such date.
        if (fields.tm_mday != int(day.value()))
            return std::nullopt;
        return foundation::Date(double(seconds));
    }
    void fail(std::string_view key, std::string_view form) {
        if (!error_)
            error_ = fileError(fmt::format("\"{}\" must be {}", key, form));
    }

    const foundation::Dictionary& entries_;
    std::optional<foundation::Error> error_;
};

foundation::Result<std::shared_ptr<FileDelegate>> FileDelegate::load(const std::string& path) {
    const auto bytes = foundation::FileManager::contentsAtPath(path, kReadLimit);
    if (!bytes)
        return fileError("cannot read the delegate file '" + path + "'");
    const auto parsed = json::JSONDeserializer().deserializeAsDictionary(*bytes);
    if (!parsed)
        return fileError("the delegate file '" + path + "' is not a JSON object");
    auto delegate = fromObject(parsed.value());
    if (!delegate)
        return fileError("the delegate file '" + path + "': " + delegate.error().message);
    return delegate;
}

foundation::Result<std::shared_ptr<FileDelegate>>
FileDelegate::fromObject(const foundation::Value& object) {
    auto delegate = std::make_shared<FileDelegate>();
    Reader reader(object.asDictionary());
    std::optional<std::string> publisherId;
    reader.text("publisherId", publisherId);
    delegate->publisherId_ = publisherId.value_or(kDefaultPublisherId);
    reader.flag("useTestAd", delegate->useTestAd_);
    reader.text("testAdAction", delegate->testAdAction_);
    reader.text("keywords", delegate->keywords_);
    reader.text("searchString", delegate->searchString_);
    reader.text("postalCode", delegate->postalCode_);
    reader.text("areaCode", delegate->areaCode_);
    reader.text("gender", delegate->gender_);
    reader.date("dateOfBirth", delegate->dateOfBirth_);
    reader.flag("mayAskForLocation", delegate->mayAskForLocation_);
    reader.place("location", delegate->location_);
    reader.text("adserverEndpoint", delegate->adserverEndpoint_);
    reader.color("adBackgroundColor", delegate->background_);
    reader.color("primaryTextColor", delegate->primaryText_);
    reader.color("secondaryTextColor", delegate->secondaryText_);
    reader.flag("useGraySpinner", delegate->graySpinner_);
    if (reader.error())
        return *reader.error();
    return delegate;
}

} // namespace tool
