#pragma once
// A small JSON reader (RFC 8259: objects, arrays, strings with escapes, numbers, true, false,
// null), enough for the program to read back the reports it writes and for checking them.

#include <map>
#include <memory>
#include <string>
#include <vector>

class JsonValue {
  public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string string;
    std::vector<JsonValue> array;
    std::map<std::string, JsonValue> object;

    /// \brief The member `key` of an object, or nullptr (also when this is no object).
    const JsonValue* find(const std::string& key) const;
    /// \brief The number at the path of member names, or `fallback` when a member is missing
    /// or is no number (a null figure).
    double number_at(const std::vector<std::string>& path, double fallback) const;
};

/// \brief Parses a whole JSON text into `value`. On malformed text returns false and describes
/// the first problem, with its byte offset, in `error`.
bool parse_json(const std::string& text, JsonValue& value, std::string& error);
