#include "driver/json_value.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxDepth = 200;  // nesting deeper than this is refused, not recursed into

class JsonParser {
  public:
    explicit JsonParser(const std::string& text) : text_(text) {}

    bool parse(JsonValue& value, std::string& error) {
        if (!parse_value(value, 0) || (skip_space(), pos_ != text_.size())) {
            if (error_.empty()) error_ = "unexpected text";
            error = error_ + " at byte " + std::to_string(pos_);
            return false;
        }
        return true;
    }

  private:
    bool fail(const std::string& message) {
        if (error_.empty()) error_ = message;
        return false;
    }

    void skip_space() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }

    bool literal(const char* word) {
        const size_t n = std::strlen(word);
        if (text_.compare(pos_, n, word) != 0) return fail("unknown literal");
        pos_ += n;
        return true;
    }

    bool parse_value(JsonValue& v, int depth) {
        if (depth > kMaxDepth) return fail("nesting too deep");
        skip_space();
        if (pos_ >= text_.size()) return fail("unexpected end");
        const char c = text_[pos_];
        if (c == '{') return parse_object(v, depth);
        if (c == '[') return parse_array(v, depth);
        if (c == '"') {
            v.kind = JsonValue::Kind::String;
            return parse_string(v.string);
        }
        if (c == 't' || c == 'f') {
            v.kind = JsonValue::Kind::Boolean;
            v.boolean = c == 't';
            return literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') {
            v.kind = JsonValue::Kind::Null;
            return literal("null");
        }
        return parse_number(v);
    }

    bool parse_object(JsonValue& v, int depth) {
        v.kind = JsonValue::Kind::Object;
        ++pos_;
        skip_space();
        if (pos_ < text_.size() && text_[pos_] == '}') return ++pos_, true;
        for (;;) {
            skip_space();
            std::string key;
            if (pos_ >= text_.size() || text_[pos_] != '"') return fail("expected a member name");
            if (!parse_string(key)) return false;
            skip_space();
            if (pos_ >= text_.size() || text_[pos_] != ':') return fail("expected \":\"");
            ++pos_;
            JsonValue member;
            if (!parse_value(member, depth + 1)) return false;
            if (!v.object.emplace(key, std::move(member)).second)
                return fail("member \"" + key + "\" given twice");
            skip_space();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '}') return ++pos_, true;
            return fail("expected \",\" or \"}\"");
        }
    }

    bool parse_array(JsonValue& v, int depth) {
        v.kind = JsonValue::Kind::Array;
        ++pos_;
        skip_space();
        if (pos_ < text_.size() && text_[pos_] == ']') return ++pos_, true;
        for (;;) {
            JsonValue element;
            if (!parse_value(element, depth + 1)) return false;
            v.array.push_back(std::move(element));
            skip_space();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == ']') return ++pos_, true;
            return fail("expected \",\" or \"]\"");
        }
    }

    static void append_utf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool parse_string(std::string& out) {
        ++pos_;  // the opening quote
        for (;;) {
            if (pos_ >= text_.size()) return fail("unterminated string");
            const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '"') return true;
            if (c < 0x20) return fail("control character in a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (pos_ >= text_.size()) return fail("unterminated string");
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) return fail("short \\u escape");
                    unsigned code = 0;
                    for (int i = 0; i < 4; ++i) {
                        const char h = text_[pos_++];
                        code <<= 4;
                        if (h >= '0' && h <= '9')
                            code |= h - '0';
                        else if (h >= 'a' && h <= 'f')
                            code |= h - 'a' + 10;
                        else if (h >= 'A' && h <= 'F')
                            code |= h - 'A' + 10;
                        else
                            return fail("bad \\u escape");
                    }
                    append_utf8(out, code);
                    break;
                }
                default:
                    return fail("unknown escape");
            }
        }
    }

    bool digits() {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        return pos_ > start;
    }

    // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
    bool parse_number(JsonValue& v) {
        const size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '0') {
            ++pos_;
        } else if (!digits()) {
            return fail("expected a value");
        }
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            if (!digits()) return fail("digits expected after \".\"");
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
            if (!digits()) return fail("digits expected in the exponent");
        }
        v.kind = JsonValue::Kind::Number;
        v.number = std::strtod(text_.substr(start, pos_ - start).c_str(), nullptr);
        return true;
    }

    const std::string& text_;
    size_t pos_ = 0;
    std::string error_;
};

}  // namespace

const JsonValue* JsonValue::find(const std::string& key) const {
    if (kind != Kind::Object) return nullptr;
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &it->second;
}

double JsonValue::number_at(const std::vector<std::string>& path, double fallback) const {
    const JsonValue* v = this;
    for (const std::string& key : path) {
        v = v->find(key);
        if (v == nullptr) return fallback;
    }
    return v->kind == Kind::Number ? v->number : fallback;
}

bool parse_json(const std::string& text, JsonValue& value, std::string& error) {
    value = JsonValue();
    return JsonParser(text).parse(value, error);
}
