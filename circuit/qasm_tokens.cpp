#include "circuit/qasm_tokens.h"

#include <algorithm>
#include <cctype>

#include "circuit/fatal.h"

namespace qasm {

namespace {
bool is_identifier_start(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool is_identifier_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool is_digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Ends the token list at text that begins no token.
void end_with_invalid(std::vector<Token>& tokens, int line, const std::string& problem) {
    tokens.push_back({TokenKind::Invalid, problem, line});
    tokens.push_back({TokenKind::End, "", line});
}

// Symbols of the language; two-character ones first so that "->" is not read as "-" and ">".
constexpr const char* kSymbols[] = {"->", "==", ";", ",", "(", ")", "[", "]",
                                    "{",  "}",  "+", "-", "*", "/", "^"};
}  // namespace

void error(int line, const std::string& problem) {
    fatal_error("QASM line " + std::to_string(line) + ": " + problem);
}

std::string describe(const Token& token) {
    if (token.kind == TokenKind::End) return "the end of the text";
    return "\"" + token.text + "\"";
}

std::vector<Token> tokenize(const std::string& text) {
    std::vector<Token> tokens;
    int line = 1;
    // Editors on some systems begin UTF-8 files with a byte-order mark.
    size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const size_t end = text.find("*/", i + 2);
            if (end == std::string::npos) {
                end_with_invalid(tokens, line, "unterminated comment");
                return tokens;
            }
            line += static_cast<int>(std::count(text.begin() + i, text.begin() + end, '\n'));
            i = end + 2;
        } else if (is_identifier_start(c)) {
            size_t end = i + 1;
            while (end < n && is_identifier_char(text[end])) ++end;
            tokens.push_back({TokenKind::Identifier, text.substr(i, end - i), line});
            i = end;
        } else if (is_digit(c) || (c == '.' && i + 1 < n && is_digit(text[i + 1]))) {
            // Integer: digits. Real: digits with a point and/or an exponent.
            size_t end = i;
            while (end < n && is_digit(text[end])) ++end;
            bool real = false;
            if (end < n && text[end] == '.') {
                real = true;
                ++end;
                while (end < n && is_digit(text[end])) ++end;
            }
            if (end < n && (text[end] == 'e' || text[end] == 'E')) {
                size_t exponent = end + 1;
                if (exponent < n && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
                if (exponent < n && is_digit(text[exponent])) {
                    real = true;
                    end = exponent;
                    while (end < n && is_digit(text[end])) ++end;
                }
            }
            tokens.push_back(
                {real ? TokenKind::Real : TokenKind::Integer, text.substr(i, end - i), line});
            i = end;
        } else if (c == '"') {
            const size_t end = text.find_first_of("\"\n", i + 1);
            if (end == std::string::npos || text[end] != '"') {
                end_with_invalid(tokens, line, "unterminated string");
                return tokens;
            }
            tokens.push_back({TokenKind::String, text.substr(i + 1, end - i - 1), line});
            i = end + 1;
        } else {
            bool found = false;
            for (const char* symbol : kSymbols) {
                const std::string s(symbol);
                if (text.compare(i, s.size(), s) == 0) {
                    tokens.push_back({TokenKind::Symbol, s, line});
                    i += s.size();
                    found = true;
                    break;
                }
            }
            if (!found) {
                const unsigned char u = static_cast<unsigned char>(c);
                const std::string shown = u >= 0x20 && u < 0x7f ? std::string("\"") + c + "\""
                                                                : "a byte " + std::to_string(u);
                end_with_invalid(tokens, line, "unexpected character " + shown);
                return tokens;
            }
        }
    }
    tokens.push_back({TokenKind::End, "", line});
    return tokens;
}

}  // namespace qasm

namespace qasm {

const Token& TokenCursor::peek() const {
    const Token& token = tokens_[pos_];
    if (token.kind == TokenKind::Invalid) error(token.line, token.text);
    return token;
}

const Token& TokenCursor::next() {
    const Token& token = peek();
    if (token.kind != TokenKind::End) ++pos_;
    return token;
}

bool TokenCursor::accept(const std::string& text) {
    const Token& token = peek();
    if (token.kind != TokenKind::Symbol && token.kind != TokenKind::Identifier) return false;
    if (token.text != text) return false;
    next();
    return true;
}

void TokenCursor::expect(const std::string& text, const std::string& what) {
    if (!accept(text)) error(peek().line, "expected " + what + ", found " + describe(peek()));
}

const std::string& TokenCursor::expect_identifier(const std::string& what) {
    if (peek().kind != TokenKind::Identifier)
        error(peek().line, "expected " + what + ", found " + describe(peek()));
    return next().text;
}

}  // namespace qasm
