#pragma once

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"
#include "json/DataScanner.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace json {

// The lenient JSON grammar over a DataScanner. Every scan returns whether it succeeded; `out`
// and `error` may be null. On failure the cursor goes back to where the scan started, no
// partial value escapes, and a dictionary or array replaces its element's error with its own
// (-2, -4, -8) so callers see the outermost message.
//
// Leniency: trailing commas are accepted; a bare word other than true, false and null (a run of
// letters, digits and '_') is consumed and yields no value, so a dictionary drops that key (and
// any earlier entry of it) and an array skips that element; any other unexpected character
// yields no value and consumes nothing, leaving the enclosing structure to fail. Strings must be
// double-quoted.
//
// Bounds, decided here:
//  - No read goes past the end. A dictionary whose data ends before its '}' fails with -6, an
//    array before its ']' with -10, a string before its closing quote with -15.
//  - Nesting deeper than kMaxDepth fails with -16, which outer scanners pass on unchanged so
//    the cause stays visible.
//  - Raw bytes in a string must be well-formed UTF-8, else -12. A \u escape of an unpaired
//    surrogate becomes U+FFFD; a pair written as two escapes becomes one character.
//  - JSON null is the null Value, kept like any other value in dictionaries and arrays.
//  - Numbers are doubles; out-of-range exponents give infinity or zero.
class JSONScanner : public DataScanner {
public:
    static constexpr const char* kErrorDomain = "JSONScannerErrorDomain";
    static constexpr int kMaxDepth = 512;
    enum ErrorCode : long {
        DictionaryNotStarted = -1,
        DictionaryKeyMissing = -2,
        DictionaryColonMissing = -3,
        DictionaryValueMissing = -4,
        DictionaryCommaMissing = -5,
        DictionaryNotTerminated = -6,
        ArrayNotStarted = -7,
        ArrayValueMissing = -8,
        ArrayCommaMissing = -9,
        ArrayNotTerminated = -10,
        StringNotStarted = -11,
        StringUndecodable = -12,
        StringUnknownEscape = -13,
        NumberMissing = -14,
        StringNotTerminated = -15,
        NestingTooDeep = -16,
    };
    static foundation::Error error(ErrorCode code);

    JSONScanner();
    explicit JSONScanner(Bytes data);

    // UTF-16 and UTF-32 documents are transcoded to UTF-8 once, here.
    void setData(Bytes data) override;

    bool scanJSONObject(foundation::Value* out, foundation::Error* error);
    bool scanJSONDictionary(foundation::Value* out, foundation::Error* error);
    bool scanJSONArray(foundation::Value* out, foundation::Error* error);
    bool scanJSONStringConstant(foundation::Value* out, foundation::Error* error);
    bool scanJSONNumberConstant(foundation::Value* out, foundation::Error* error);

private:
    template <typename Scan>
    bool scanInto(foundation::Value* out, Scan scan);
    enum class Outcome { Failed, Absent, Found };

    Outcome scanValue(foundation::Value& out, foundation::Error* error);
    Outcome scanWord(foundation::Value& out);
    bool scanDictionary(foundation::Value& out, foundation::Error* error);
    std::optional<ErrorCode> scanEntries(foundation::Error* error);
    bool scanArray(foundation::Value& out, foundation::Error* error);
    std::optional<ErrorCode> scanElements(foundation::Error* error);
    // The text of a string constant: a view of the input when it has no escapes, else of
    // decoded_, valid until the next call.
    bool scanText(std::string_view& out, foundation::Error* error);
    const std::uint8_t* findClosingQuote(const std::uint8_t* p, bool& escaped,
                                         ErrorCode& code) const;
    const std::uint8_t* decodeEscape(const std::uint8_t* p, std::string& out) const;
    bool scanNumberConstant(foundation::Value& out, foundation::Error* error);

    bool enter(const std::uint8_t* mark, foundation::Error* error);
    bool fail(const std::uint8_t* mark, ErrorCode code, foundation::Error* error);

    std::string transcoded_;
    // Elements and entries of the containers being scanned, shared by all levels so each
    // container is allocated once at its final size.
    std::vector<foundation::Value> elements_;
    // A key with no value was given an unrecognised word, which removes it.
    std::vector<std::pair<std::string, std::optional<foundation::Value>>> entries_;
    std::string decoded_;
    int depth_ = 0;
    bool tooDeep_ = false;
};

} // namespace json
